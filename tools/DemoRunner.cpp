// The demo driven frame by frame: the shell's window and the library's hooks, with the
// clock, the keys and the end of the program in the tool's hands.
#include "tools/DemoRunner.h"

#include <GL/freeglut.h>
#include <X11/Xlib.h>  // only to say clearly when the display cannot be opened
#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "shell/AppHooks.h"
#include "shell/Clock.h"
#include "shell/Keyboard.h"
#include "shell/ProgramState.h"
#include "shell/Settings.h"
#include "shell/Shell.h"
#include "shell/WindowSize.h"
#include "xvfb/VirtualDisplay.h"

namespace {
// Set by the fade-out instead of ending the process.
bool endRequested = false;

void RecordEnd(int) {
    endRequested = true;
}

void DrawNothing() {}

// A temporary directory in which the demo finds fontPath under the name font.bmp (or finds
// no font at all), removed again by the destructor.
class FontDirectory {
public:
    bool Make(const std::string& fontPath, std::string* error) {
        char pattern[] = "/tmp/tavik-font-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            *error = "cannot make a temporary directory for the font";
            return false;
        }
        directory = pattern;
        if (fontPath.empty()) {
            return true;
        }
        char absolute[PATH_MAX];
        if (realpath(fontPath.c_str(), absolute) == nullptr) {
            *error = fontPath + ": cannot resolve the font's path";
            return false;
        }
        link = directory + "/font.bmp";
        if (symlink(absolute, link.c_str()) != 0) {
            link.clear();
            *error = "cannot link the font into " + directory;
            return false;
        }
        return true;
    }
    ~FontDirectory() {
        if (!link.empty()) {
            unlink(link.c_str());
        }
        if (!directory.empty()) {
            rmdir(directory.c_str());
        }
    }
    const std::string& Path() const { return directory; }

private:
    std::string directory;
    std::string link;
};
}  // namespace

DemoRunner::DemoRunner() = default;

DemoRunner::~DemoRunner() {
    Close();
}

void DemoRunner::Close() {
    if (!open) {
        return;
    }
    if (sessionRunning && !endRequested) {
        AppShutdown();
    }
    sessionRunning = false;
    RestoreProgramStartState();
    // Closes the window and the X connection while the display, if it is ours, still runs.
    glutExit();
    open = false;
}

bool DemoRunner::UseVirtualDisplay(int width, int height, std::string* error) {
    display = std::make_unique<VirtualDisplay>();
    if (!display->Start(width, height)) {
        *error = "cannot start Xvfb (is the xvfb package installed?)";
        return false;
    }
    setenv("DISPLAY", display->Name().c_str(), 1);
    return true;
}

bool DemoRunner::Open(const char* programName, const std::string& font, std::string* error) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || name[0] == '\0') {
        *error = "DISPLAY is not set: run on an X server, under xvfb-run, or with --xvfb";
        return false;
    }
    Display* probe = XOpenDisplay(nullptr);
    if (probe == nullptr) {
        *error = std::string("cannot open the X display ") + name;
        return false;
    }
    XCloseDisplay(probe);

    fontPath = font;
    int argc = 1;
    char* argv[] = {const_cast<char*>(programName), nullptr};
    CreateMainWindow(&argc, argv);
    // The shell's reshape callback keeps WindowSize; the tool draws only when it says so.
    glutReshapeFunc(OnReshape);
    glutDisplayFunc(DrawNothing);
    open = true;
    return StartSession(error);
}

bool DemoRunner::StartSession(std::string* error) {
    RestoreProgramStartState();
    PreInit();  // seeds the random source with the clock, 0, as the shell does
    endProcess = RecordEnd;
    endRequested = false;
    return InitInFontDirectory(error);
}

bool DemoRunner::InitInFontDirectory(std::string* error) {
    FontDirectory directory;
    if (!directory.Make(fontPath, error)) {
        return false;
    }
    const int previous = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (previous < 0 || chdir(directory.Path().c_str()) != 0) {
        if (previous >= 0) {
            close(previous);
        }
        *error = "cannot enter " + directory.Path();
        return false;
    }
    const bool initialised = AppInit();
    const bool returned = fchdir(previous) == 0;
    close(previous);
    if (!returned) {
        *error = "cannot return to the working directory";
        return false;
    }
    if (!initialised) {
        *error = "AppInit failed";
        return false;
    }
    sessionRunning = true;
    return true;
}

bool DemoRunner::ResetSession(std::string* error) {
    const int width = Width();
    const int height = Height();
    if (sessionRunning && !endRequested) {
        AppShutdown();
    }
    sessionRunning = false;
    return StartSession(error) && Resize(width, height, error);
}

void DemoRunner::PumpEvents() {
    for (int i = 0; i < 4; ++i) {
        glutMainLoopEvent();
    }
}

bool DemoRunner::Resize(int width, int height, std::string* error) {
    if (width > ScreenWidth() || height > ScreenHeight()) {
        *error = "a " + std::to_string(width) + "x" + std::to_string(height) +
                 " window does not fit on the " + std::to_string(ScreenWidth()) + "x" +
                 std::to_string(ScreenHeight()) + " screen";
        return false;
    }
    // Pending window work (AppInit's full-screen request) is settled first: freeglut would
    // otherwise apply it after the reshape and undo it.
    PumpEvents();
    for (int attempt = 0; attempt < 400; ++attempt) {
        const bool glutAgrees =
            glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height;
        if (glutAgrees && Width() == width && Height() == height) {
            return true;
        }
        if (!glutAgrees && attempt % 50 == 0) {
            glutReshapeWindow(width, height);
        }
        glutMainLoopEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    *error = "the window did not take " + std::to_string(width) + "x" + std::to_string(height);
    return false;
}

void DemoRunner::SetClock(uint32_t elapsedMs) {
    ElapsedMs = elapsedMs;
}

void DemoRunner::Type(const KeyStroke& key) {
    if (key.special) {
        OnDemoSpecialKey(key.code, 0, 0);
    } else {
        OnDemoKey(static_cast<unsigned char>(key.code), 0, 0);
    }
    PumpEvents();
}

void DemoRunner::HoldHyperspace() {
    settings.clearEachFrame = 0;
}

bool DemoRunner::Frame() {
    if (endRequested) {
        return false;
    }
    AppFrame();
    return !endRequested;
}

void DemoRunner::Swap() {
    glutSwapBuffers();
}

void DemoRunner::ReadFrame(RgbPicture* picture) const {
    const int width = Width();
    const int height = Height();
    std::vector<uint8_t> rows(static_cast<size_t>(width) * static_cast<size_t>(height) * 3u);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    // OpenGL's rows run from the bottom up; a picture's from the top down.
    picture->Resize(width, height);
    const size_t stride = static_cast<size_t>(width) * 3u;
    for (int y = 0; y < height; ++y) {
        std::memcpy(picture->At(0, y), &rows[static_cast<size_t>(height - 1 - y) * stride], stride);
    }
}

bool DemoRunner::Ended() const {
    return endRequested;
}

int DemoRunner::Width() const {
    return static_cast<int>(WindowSize.width);
}

int DemoRunner::Height() const {
    return static_cast<int>(WindowSize.height);
}

int DemoRunner::ScreenWidth() const {
    return glutGet(GLUT_SCREEN_WIDTH);
}

int DemoRunner::ScreenHeight() const {
    return glutGet(GLUT_SCREEN_HEIGHT);
}
