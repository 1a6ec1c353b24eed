// The session: the program-start state, the demo's own hooks, and the process end recorded.
#include "driver/DemoSession.h"

#include <GL/freeglut.h>
#include <stdlib.h>  // mkdtemp

#include <filesystem>

#include "driver/DemoWindow.h"
#include "shell/AppHooks.h"
#include "shell/Clock.h"
#include "shell/Keyboard.h"
#include "shell/ProgramState.h"
#include "shell/Settings.h"
#include "shell/Shell.h"
#include "shell/WindowSize.h"

int DemoSession::ends = 0;
int DemoSession::lastEndStatus = 0;
bool DemoSession::runOn = false;

namespace {
// AppInit with the working directory a fresh one that holds fontPath as font.bmp (a link),
// or nothing; the directory is removed again.
bool InitBesideFont(const std::string& fontPath, std::string* error) {
    namespace fs = std::filesystem;
    char directory[] = "/tmp/tavik-font-XXXXXX";
    if (mkdtemp(directory) == nullptr) {
        *error = "cannot make a temporary directory for the font";
        return false;
    }
    std::error_code failed;
    const fs::path previous = fs::current_path(failed);
    const fs::path font = fontPath.empty() || failed ? fs::path() : fs::absolute(fontPath, failed);
    if (!font.empty() && !failed) {
        fs::create_symlink(font, fs::path(directory) / "font.bmp", failed);
    }
    if (!failed) {
        fs::current_path(directory, failed);
    }
    const bool entered = !failed;
    const bool initialised = entered && AppInit();
    std::error_code back;
    if (entered) {
        fs::current_path(previous, back);
    }
    fs::remove_all(directory, failed);
    if (initialised && !back) {
        return true;
    }
    *error = back ? "cannot return to the working directory"
                  : "AppInit failed beside the font \"" + fontPath + "\"";
    return false;
}
}  // namespace

void DemoSession::RecordEnd(int status) {
    ++ends;
    lastEndStatus = status;
    if (runOn) {
        fadeLevel = 1.0f;
    }
}

bool DemoSession::Start(const std::string& font, AfterEnd afterEnd, std::string* error) {
    End();
    fontPath = font;
    runOn = afterEnd == AfterEnd::RunOn;
    ends = 0;
    lastEndStatus = 0;
    RestoreProgramStartState();
    if (!PreInit()) {
        *error = "PreInit failed";
        return false;
    }
    endProcess = RecordEnd;
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
    return Start(fontPath, runOn ? AfterEnd::RunOn : AfterEnd::Stop, error) &&
           ResizeWindow(width, height, error);
}

void DemoSession::SetClock(uint32_t elapsedMs) {
    ElapsedMs = elapsedMs;
}

bool DemoSession::Frame() {
    if (ends > 0 && !runOn) {
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
