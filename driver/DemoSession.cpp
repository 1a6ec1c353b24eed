// The session: the program-start state, the demo's own hooks, and the process end recorded.
#include "driver/DemoSession.h"

#include <GL/freeglut.h>
#include <stdlib.h>  // mkdtemp
#include <unistd.h>  // chdir

#include <filesystem>

#include "driver/DemoWindow.h"
#include "shell/AppHooks.h"
#include "shell/Clock.h"
#include "shell/Keyboard.h"
#include "shell/ProgramState.h"
#include "shell/Settings.h"
#include "shell/Shell.h"

namespace {
// AppInit with the working directory a fresh one that holds fontPath as font.bmp (a link),
// or nothing; then the working directory is put back and the fresh one removed.
bool InitBesideFont(const std::string& fontPath, std::string* error) {
    namespace fs = std::filesystem;
    char directory[] = "/tmp/tavik-font-XXXXXX";
    std::error_code failed;
    const fs::path previous = fs::current_path(failed);
    if (failed || mkdtemp(directory) == nullptr) {
        *error = "cannot prepare a directory for the font";
        return false;
    }
    if (!fontPath.empty()) {
        // previous / fontPath is fontPath itself when that is absolute.
        fs::create_symlink(previous / fontPath, fs::path(directory) / "font.bmp", failed);
    }
    const bool initialised = !failed && chdir(directory) == 0 && AppInit();
    const bool back = chdir(previous.c_str()) == 0;
    fs::remove_all(directory, failed);
    if (!initialised || !back) {
        *error = back ? "cannot start the demo beside the font \"" + fontPath + "\""
                      : "cannot return to the working directory";
    }
    return initialised && back;
}
}  // namespace

void DemoSession::RecordEnd(int status) {
    ++ends;
    lastEndStatus = status;
    if (runOn) {
        fadeLevel = kFullLight;
    }
}

bool DemoSession::Start(const std::string& fontPath, AfterEnd afterEnd, std::string* error) {
    End();
    runOn = afterEnd == AfterEnd::RunOn;
    ends = 0;
    lastEndStatus = 0;
    // The program's globals go back to their start values, and OpenGL's state to a new
    // context's: the window is made anew, at the start size that the restore put back.
    RestoreProgramStartState();
    if (!RenewWindow()) {
        *error = "no window to start the demo in";
        return false;
    }
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

void DemoSession::FrameAt(uint32_t elapsedMs) {
    glutMainLoopEvent();
    SetClock(elapsedMs);
    Frame();
    glutSwapBuffers();
}

void DemoSession::Type(const KeyStroke& key) {
    if (key.special) {
        OnDemoSpecialKey(key.code, 0, 0);
    } else {
        OnDemoKey(static_cast<unsigned char>(key.code), 0, 0);
    }
    PumpEvents();
}
