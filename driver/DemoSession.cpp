// The session: the program-start state, the demo's own hooks, and the process end recorded.
#include "driver/DemoSession.h"

#include <GL/freeglut.h>
#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include "driver/DemoWindow.h"
#include "shell/AppHooks.h"
#include "shell/Clock.h"
#include "shell/Keyboard.h"
#include "shell/ProgramState.h"
#include "shell/Settings.h"
#include "shell/Shell.h"
#include "shell/WindowSize.h"

namespace {
// The recorder's record: the process end is a plain function, so this is global too.
int ends = 0;
int lastEndStatus = 0;
bool runOn = false;

void RecordEnd(int status) {
    ++ends;
    lastEndStatus = status;
    if (runOn) {
        fadeLevel = 1.0f;
    }
}

// AppInit with the working directory a fresh one that holds fontPath as font.bmp (a link),
// or nothing; the directory is removed again.
bool InitBesideFont(const std::string& fontPath, std::string* error) {
    char directory[] = "/tmp/tavik-font-XXXXXX";
    if (mkdtemp(directory) == nullptr) {
        *error = "cannot make a temporary directory for the font";
        return false;
    }
    const std::string link = std::string(directory) + "/font.bmp";
    char absolute[PATH_MAX];
    const bool linked = fontPath.empty() || (realpath(fontPath.c_str(), absolute) != nullptr &&
                                             symlink(absolute, link.c_str()) == 0);
    const int previous = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool entered = linked && previous >= 0 && chdir(directory) == 0;
    const bool initialised = entered && AppInit();
    const bool returned = previous >= 0 && fchdir(previous) == 0;
    if (previous >= 0) {
        close(previous);
    }
    unlink(link.c_str());
    rmdir(directory);
    if (initialised && returned) {
        return true;
    }
    *error = !linked     ? fontPath + ": cannot link the font into a temporary directory"
             : !entered  ? std::string("cannot enter ") + directory
             : !returned ? "cannot return to the working directory"
                         : "AppInit failed";
    return false;
}
}  // namespace

DemoSession::~DemoSession() {
    End();
}

bool DemoSession::Start(const std::string& font, AfterEnd after, std::string* error) {
    End();
    fontPath = font;
    afterEnd = after;
    RestoreProgramStartState();
    if (!PreInit()) {
        *error = "PreInit failed";
        return false;
    }
    endProcess = RecordEnd;
    ends = 0;
    lastEndStatus = 0;
    runOn = after == AfterEnd::RunOn;
    running = InitBesideFont(fontPath, error);
    return running;
}

void DemoSession::End() {
    if (!running) {
        return;
    }
    if (ends == 0) {
        AppShutdown();
    }
    RestoreProgramStartState();
    running = false;
}

bool DemoSession::Reset(std::string* error) {
    const int width = static_cast<int>(WindowSize.width);
    const int height = static_cast<int>(WindowSize.height);
    return Start(fontPath, afterEnd, error) && ResizeWindow(width, height, error);
}

void DemoSession::SetClock(uint32_t elapsedMs) {
    ElapsedMs = elapsedMs;
}

bool DemoSession::Frame() {
    if (ends > 0 && afterEnd == AfterEnd::Stop) {
        return false;
    }
    AppFrame();
    return ends == 0;
}

void DemoSession::Swap() {
    glutSwapBuffers();
}

void DemoSession::FrameAt(uint32_t elapsedMs) {
    glutMainLoopEvent();
    SetClock(elapsedMs);
    Frame();
    Swap();
}

void DemoSession::Type(const KeyStroke& key) {
    if (key.special) {
        OnDemoSpecialKey(key.code, 0, 0);
    } else {
        OnDemoKey(static_cast<unsigned char>(key.code), 0, 0);
    }
    PumpEvents();
}

int DemoSession::Ends() const {
    return ends;
}

int DemoSession::LastEndStatus() const {
    return lastEndStatus;
}
