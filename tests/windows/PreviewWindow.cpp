// A stand-in for the screensaver dialog's preview pane, for the Wine tests: a borderless
// 320 x 240 window at (100, 100) whose handle it prints in decimal on standard output. Half
// way through the seconds given (10 by default) it prints the client size of each child
// window that it holds ("child 320x240"); at their end it destroys the window, and it ends
// 3 s later.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
// Handles messages until the tick count passes end.
void HandleMessagesUntil(ULONGLONG end) {
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    RECT area = {0, 0, 0, 0};
    GetClientRect(child, &area);
    std::printf("child %ldx%ld\n", area.right, area.bottom);
    return TRUE;
}
}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = L"TavikPreviewPane";
    RegisterClassW(&windowClass);
    const HWND window =
        CreateWindowExW(0, windowClass.lpszClassName, L"Preview", WS_POPUP | WS_VISIBLE, 100, 100,
                        320, 240, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    std::fflush(stdout);
    const ULONGLONG half = 500ull * static_cast<unsigned>(seconds);
    HandleMessagesUntil(GetTickCount64() + half);
    EnumChildWindows(window, PrintChild, 0);
    std::fflush(stdout);
    HandleMessagesUntil(GetTickCount64() + half);
    DestroyWindow(window);
    HandleMessagesUntil(GetTickCount64() + 3000);
    return 0;
}
