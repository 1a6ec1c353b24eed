// The screensaver's window and OpenGL context through Xlib and GLX, without GLUT: a window
// it is given (with that window's own visual) or one of its own, its size as it changes,
// its disappearance, and the buffer swap.
#pragma once

#include <X11/Xlib.h>
#include <GL/glx.h>

#include <cstdint>
#include <string>

#include "saver/SaverOptions.h"

class GlxHost {
public:
    GlxHost() = default;
    ~GlxHost() { Close(); }
    GlxHost(const GlxHost&) = delete;
    GlxHost& operator=(const GlxHost&) = delete;

    // Connects to $DISPLAY, takes or creates the window the options name and makes an
    // OpenGL context current on it. Leaves that context current for the caller. On failure
    // *error holds a one-line reason.
    bool Open(const SaverOptions& options, std::string* error);
    // Reads the pending X events; false once the window has been destroyed or, for an own
    // window, closed by the window manager.
    bool HandleEvents();
    // The window's size as the last events left it.
    uint32_t Width() const { return width; }
    uint32_t Height() const { return height; }
    // Shows the frame: a buffer swap, or a flush on a single-buffered visual.
    void ShowFrame();
    // Releases the context, destroys an own window and closes the connection.
    void Close();

private:
    bool TakeWindow(Window given, std::string* error);
    bool CreateOwnWindow(std::string* error);

    Display* display = nullptr;
    Window window = 0;
    bool ownWindow = false;
    bool doubleBuffered = true;
    GLXContext context = nullptr;
    Atom deleteWindow = 0;
    uint32_t width = 0;
    uint32_t height = 0;
};
