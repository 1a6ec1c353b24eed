// Win32 and WGL for the Windows screensaver: its window class, the pixel format, the
// messages that end a full-screen saver and the preview's life under its parent window.
#include "winsaver/WglHost.h"

#include <cstdlib>

namespace {
const wchar_t kClassName[] = L"TavikScreensaver";
// A full-screen saver ignores the mouse moving by this many pixels or fewer, as a desk
// that is knocked moves it a little.
constexpr LONG kPointerSlack = 4;

// The window's client area, empty if it has none.
RECT ClientArea(HWND window) {
    RECT area = {0, 0, 0, 0};
    GetClientRect(window, &area);
    return area;
}
}  // namespace

bool WglHost::OpenFullScreen(HINSTANCE instance) {
    const RECT screen = {
        GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
        GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
        GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    fullScreen = true;
    if (!Open(instance, nullptr, WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST, screen)) {
        return false;
    }
    ShowCursor(FALSE);
    cursorHidden = true;
    SetForegroundWindow(window);
    return true;
}

bool WglHost::OpenPreview(HINSTANCE instance, HWND previewParent) {
    if (!IsWindow(previewParent)) {
        return false;
    }
    parent = previewParent;
    return Open(instance, parent, WS_CHILD | WS_VISIBLE, 0, ClientArea(parent));
}

bool WglHost::Open(HINSTANCE instance, HWND owner, DWORD style, DWORD extendedStyle, RECT area) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);  // fails harmlessly when already registered

    width = static_cast<uint32_t>(area.right - area.left);
    height = static_cast<uint32_t>(area.bottom - area.top);
    window = CreateWindowExW(extendedStyle, kClassName, L"Tavik",
                             style | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, area.left, area.top,
                             static_cast<int>(width), static_cast<int>(height), owner, nullptr,
                             instance, this);
    return window != nullptr && MakeContext();
}

// An RGBA, double-buffered pixel format with a depth buffer, as the demo's GLUT window has;
// leaves the new context current for the caller.
bool WglHost::MakeContext() {
    deviceContext = GetDC(window);
    PIXELFORMATDESCRIPTOR wanted = {};
    wanted.nSize = sizeof wanted;
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 24;
    wanted.cDepthBits = 24;
    wanted.iLayerType = PFD_MAIN_PLANE;
    const int format = deviceContext ? ChoosePixelFormat(deviceContext, &wanted) : 0;
    if (format == 0 || !SetPixelFormat(deviceContext, format, &wanted)) {
        return false;
    }
    context = wglCreateContext(deviceContext);
    return context != nullptr && wglMakeCurrent(deviceContext, context);
}

bool WglHost::HandleMessages(uint32_t waitMs) {
    if (!ending && waitMs > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMs, QS_ALLINPUT);
    }
    MSG message;
    while (!ending && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ending = true;
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // A preview follows its parent's size, and ends with it.
    if (parent != nullptr && !ending) {
        if (!IsWindow(parent)) {
            ending = true;
        } else {
            const RECT area = ClientArea(parent);
            if (static_cast<uint32_t>(area.right) != width ||
                static_cast<uint32_t>(area.bottom) != height) {
                MoveWindow(window, 0, 0, area.right, area.bottom, FALSE);
            }
        }
    }
    return !ending;
}

void WglHost::ShowFrame() {
    SwapBuffers(deviceContext);
}

void WglHost::Close() {
    if (context != nullptr) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context);
        context = nullptr;
    }
    if (window != nullptr && IsWindow(window)) {
        ReleaseDC(window, deviceContext);
        DestroyWindow(window);
    }
    window = nullptr;
    deviceContext = nullptr;
    if (cursorHidden) {
        ShowCursor(TRUE);
        cursorHidden = false;
    }
}

LRESULT CALLBACK WglHost::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* host = reinterpret_cast<WglHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (host == nullptr || host->window == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return host->Handle(message, wParam, lParam);
}

LRESULT WglHost::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            width = LOWORD(lParam);
            height = HIWORD(lParam);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the scene paints every pixel
        case WM_DESTROY:
            ending = true;
            PostQuitMessage(0);
            return 0;
        case WM_CLOSE:
            ending = true;
            return 0;
        default:
            break;
    }
    if (!fullScreen) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
            ending = true;
            return 0;
        case WM_ACTIVATEAPP:
            if (wParam == FALSE) {
                ending = true;
            }
            return 0;
        case WM_MOUSEMOVE: {
            // Windows sends one movement as the window appears: it only sets the origin.
            const POINT at = {static_cast<short>(LOWORD(lParam)),
                              static_cast<short>(HIWORD(lParam))};
            if (!pointerSeen) {
                pointerSeen = true;
                firstPointer = at;
            } else if (std::labs(at.x - firstPointer.x) > kPointerSlack ||
                       std::labs(at.y - firstPointer.y) > kPointerSlack) {
                ending = true;
            }
            return 0;
        }
        case WM_SETCURSOR:
            SetCursor(nullptr);
            return TRUE;
        case WM_SYSCOMMAND:
            // No second saver, and no task switch menu, while this one runs.
            if ((wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_CLOSE) {
                return 0;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
