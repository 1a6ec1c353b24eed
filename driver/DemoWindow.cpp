// The window through the shell and freeglut's event loop; read-back through glReadPixels.
#include "driver/DemoWindow.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "shell/Shell.h"
#include "shell/WindowSize.h"

namespace {
// The shell's reshape callback, which keeps WindowSize; nothing draws unless asked.
void RegisterWindowCallbacks() {
    glutReshapeFunc(OnReshape);
    glutDisplayFunc([] {});
}
}  // namespace

bool DemoWindow::StartVirtualDisplay(int width, int height, std::string* error) {
    if (!display.Start(width, height)) {
        *error = "cannot start Xvfb (is the xvfb package installed?)";
        return false;
    }
    setenv("DISPLAY", display.Name().c_str(), 1);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    return true;
}

bool DemoWindow::Open(const char* programName, std::string* error) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || name[0] == '\0') {
        *error = "DISPLAY is not set: run on an X server, under xvfb-run, or with --xvfb";
        return false;
    }
    int argc = 1;
    char* argv[] = {const_cast<char*>(programName), nullptr};
    CreateMainWindow(&argc, argv);
    RegisterWindowCallbacks();
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    open = true;
    PumpEvents();
    return true;
}

void DemoWindow::Close() {
    if (open) {
        glutExit();
    }
    open = false;
    display.Stop();
}

bool RenewWindow() {
    if (glutGet(GLUT_INIT_STATE) == 0 || glutGetWindow() == 0) {
        return false;
    }
    // freeglut gives every window a context of its own, shared with no other.
    glutDestroyWindow(glutGetWindow());
    OpenMainWindow();
    RegisterWindowCallbacks();
    PumpEvents();
    return glutGetWindow() != 0;
}

void PumpEvents() {
    for (int i = 0; i < 4; ++i) {
        glutMainLoopEvent();
    }
}

bool ResizeWindow(int width, int height, std::string* error) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const bool fits = width <= glutGet(GLUT_SCREEN_WIDTH) && height <= glutGet(GLUT_SCREEN_HEIGHT);
    PumpEvents();
    for (int attempt = 0; fits && attempt < 400; ++attempt) {
        const bool glutAgrees =
            glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height;
        if (glutAgrees && WindowSize.width == static_cast<uint32_t>(width) &&
            WindowSize.height == static_cast<uint32_t>(height)) {
            return true;
        }
        if (!glutAgrees && attempt % 50 == 0) {
            glutReshapeWindow(width, height);
        }
        glutMainLoopEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (error != nullptr) {
        *error = fits ? "the window did not take " + size
                      : "a " + size + " window does not fit on the screen";
    }
    return false;
}

std::vector<Rgb> ReadPixels(int x, int y, int width, int height) {
    std::vector<Rgb> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

Picture ReadFrame() {
    Picture picture(static_cast<int>(WindowSize.width), static_cast<int>(WindowSize.height));
    picture.pixels = ReadPixels(0, 0, picture.width, picture.height);
    // OpenGL's rows run from the bottom up, a picture's from the top down.
    for (int y = 0; y < picture.height / 2; ++y) {
        std::swap_ranges(&picture.At(0, y), &picture.At(0, y) + picture.width,
                         &picture.At(0, picture.height - 1 - y));
    }
    return picture;
}
