// End-to-end support for tavik-saver: the built binary started with arguments and an
// environment of the test's choosing, its outputs caught in files, and pictures of windows
// judged for the scene's rings and stars.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Before Xlib, whose macros (None, Bool) would break the gtest templates it brings.
#include "tests/support/DemoProcess.h"

#include <X11/Xlib.h>

class SaverProcess {
public:
    // DISPLAY is the given display's; LIBGL_ALWAYS_SOFTWARE=1 as in every test.
    SaverProcess(const VirtualDisplay& display, std::vector<std::string> arguments);
    ~SaverProcess();
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    bool Start();
    void Signal(int signal);
    bool Running();
    // The exit status, or 128 + the signal that ended it; false on timeout (then killed).
    bool WaitForExit(double timeoutSeconds, int* exitStatus, double* seconds);
    std::string StandardOutput() const;
    std::string StandardError() const;

private:
    const VirtualDisplay& display;
    std::vector<std::string> arguments;
    std::string directory;
    pid_t pid = -1;
};

// The window's contents now, rows from the top.
Screenshot GrabWindow(Display* x, Window window);

// What a frame of the scene holds: pixels inside solid shapes (lit ring surface: the pixel
// and its neighbours four pixels away on every side are bright) and isolated specks (stars:
// bright, with dark pixels four away on both sides along a row or a column).
struct SceneCensus {
    int ringPixels = 0;
    int starPixels = 0;
};
SceneCensus CountScene(const Screenshot& shot, int x, int y, int w, int h);
// Rings cover at least a hundredth of the area and there are at least 20 star pixels.
bool ShowsRingsAndStars(const Screenshot& shot);
