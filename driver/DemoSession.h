// A session of the demo in the window of DemoWindow, for the tools and the tests: the start-up
// of the real program from its program-start state in a new OpenGL context, with the font of
// the caller's choice, frames on a clock the caller sets, keys through the demo's own
// handlers, and the demo's end recorded instead of ending the process. One session runs at a
// time: the demo's state is global.
#pragma once

#include <cstdint>
#include <string>

#include "driver/KeyStroke.h"

// What a session does once the demo ends itself (the fade-out after Escape): stop drawing, as
// the program would, or count the end and run on at full light, for tests that go on.
enum class AfterEnd { Stop, RunOn };

class DemoSession {
public:
    DemoSession() = default;
    ~DemoSession() { End(); }
    DemoSession(const DemoSession&) = delete;
    DemoSession& operator=(const DemoSession&) = delete;

    // RestoreProgramStartState, the window made anew with a new OpenGL context (RenewWindow),
    // PreInit (the seed: the clock, 0), the process end replaced by the recorder, and AppInit
    // in a fresh directory where the demo finds fontPath as font.bmp, or no font when
    // fontPath is empty. AppInit's full-screen request is left pending: ResizeWindow settles
    // it.
    bool Start(const std::string& fontPath, AfterEnd afterEnd, std::string* error);
    // AppShutdown (unless the demo's end has run it), then every global back to its
    // program-start value. Nothing when no session runs.
    void End();

    // Sets the clock that AppFrame reads.
    void SetClock(uint32_t elapsedMs);
    // AppFrame. False once the demo has ended (it then drew its last frame); a stopped
    // session draws nothing more. The shell's display callback swaps the buffers after it.
    bool Frame();
    // One turn of the main loop at the given clock: the window's events, the frame, the swap.
    void FrameAt(uint32_t elapsedMs);
    // Types one key through the demo's key handlers, then handles the window events it caused
    // (the full-screen key resizes the window).
    void Type(const KeyStroke& key);

    // How often the demo has ended itself since Start, and the status of the last end.
    int Ends() const { return ends; }
    int LastEndStatus() const { return lastEndStatus; }

private:
    // The process end while a session runs; it is a plain function, hence the static record.
    static void RecordEnd(int status);
    static inline int ends = 0;
    static inline int lastEndStatus = 0;
    static inline bool runOn = false;

    bool running = false;
};
