// The demo's own GLUT window, opened through the shell as the demo opens it, for the tools and
// the tests: on the display named by DISPLAY or on a private Xvfb, resized and read back.
// GLUT has one window per process here, so the functions below act on that window.
#pragma once

#include <string>
#include <vector>

#include "driver/Picture.h"
#include "xvfb/VirtualDisplay.h"

class DemoWindow {
public:
    ~DemoWindow() { Close(); }

    // Starts a private Xvfb with a screen of width x height and points DISPLAY (and Mesa, to
    // its software renderer) at it. Call before Open.
    bool StartVirtualDisplay(int width, int height, std::string* error);
    // The shell's window (CreateMainWindow: display mode, 640 x 480, title) with only the
    // shell's reshape callback, which keeps WindowSize; nothing draws unless asked. Closing
    // the window does not end the process.
    bool Open(const char* programName, std::string* error);
    // Closes the window and the X connection while the private display, if any, still runs.
    void Close();

private:
    VirtualDisplay display;  // not started unless asked
    bool open = false;
};

// Destroys the window, with its OpenGL context and every object in it, and opens a new one as
// Open does, of WindowSize: OpenGL's whole state as a new context starts, whatever the last
// user of the window left. False when no window is open.
bool RenewWindow();
// Handles the window's queued events (reshape, expose) without drawing.
void PumpEvents();
// Settles pending window work (a full-screen request, say, which would otherwise be applied
// after the reshape and undo it), reshapes the window and handles events until GLUT and
// WindowSize both report width x height; false (with the reason in *error) if the size does
// not fit on the screen or the window does not take it.
bool ResizeWindow(int width, int height, std::string* error = nullptr);
// Pixels of the back buffer (where a frame is drawn before its swap), rows from the bottom,
// as OpenGL numbers them.
std::vector<Rgb> ReadPixels(int x, int y, int width, int height);
// The whole back buffer as a picture, rows from the top.
Picture ReadFrame();
