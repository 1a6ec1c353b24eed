// The Windows screensaver's window and OpenGL context through Win32 and WGL, without GLUT:
// a topmost window over the whole virtual screen (every monitor), or a child window over a
// preview window's client area; the end of the saver as Windows expects it; the buffer swap.
#pragma once

#include <windows.h>

#include <cstdint>

class WglHost {
public:
    WglHost() = default;
    ~WglHost() { Close(); }
    WglHost(const WglHost&) = delete;
    WglHost& operator=(const WglHost&) = delete;

    // A window over the whole virtual screen, the cursor hidden. It ends on a key, a mouse
    // button, a mouse movement of more than a few pixels, losing activation, or WM_CLOSE.
    bool OpenFullScreen(HINSTANCE instance);
    // A child window covering parent's client area; it ends when parent goes.
    bool OpenPreview(HINSTANCE instance, HWND parent);
    // Handles the pending messages, waiting up to waitMs for one; false once the saver is to
    // end (its window is gone, or the user has come back).
    bool HandleMessages(uint32_t waitMs);
    // The client area's size as the last messages left it.
    uint32_t Width() const { return width; }
    uint32_t Height() const { return height; }
    // Swaps the buffers of the frame just drawn.
    void ShowFrame();
    // Releases the context and destroys the window. The OpenGL objects of the scene must be
    // released before, while the context is current.
    void Close();

private:
    bool Open(HINSTANCE instance, HWND parent, DWORD style, DWORD extendedStyle, RECT area);
    bool MakeContext();
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window = nullptr;
    HWND parent = nullptr;
    HDC deviceContext = nullptr;
    HGLRC context = nullptr;
    bool fullScreen = false;
    bool ending = false;
    bool cursorHidden = false;
    bool pointerSeen = false;
    POINT firstPointer = {0, 0};
    uint32_t width = 0;
    uint32_t height = 0;
};
