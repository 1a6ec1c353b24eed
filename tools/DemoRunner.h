// The demo driven by tavik-snapshot and tavik-bench instead of GLUT's main loop: the shell's
// window, the library's AppInit and AppFrame, a deterministic clock, keys typed through the
// demo's own handlers, and pixels read back from the frame just drawn.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tools/CommandLine.h"
#include "tools/PngWriter.h"

class VirtualDisplay;

class DemoRunner {
public:
    DemoRunner();
    ~DemoRunner();
    DemoRunner(const DemoRunner&) = delete;
    DemoRunner& operator=(const DemoRunner&) = delete;

    // Starts a private Xvfb with a screen of width x height for the window, instead of the
    // display named by DISPLAY. Call before Open.
    bool UseVirtualDisplay(int width, int height, std::string* error);
    // Opens the demo's window through the shell and starts a session in it: the program's
    // start-up state, PreInit's seed and AppInit, with fontPath given to the demo as
    // font.bmp. The demo's end (the fade-out) is recorded instead of ending the process.
    bool Open(const char* programName, const std::string& fontPath, std::string* error);
    // Ends the running session (AppShutdown, unless the fade-out has already run it) and
    // starts a fresh one in the same window, as Open does: every demo global back to its
    // program-start value, then PreInit and AppInit, at the current window size.
    bool ResetSession(std::string* error);
    // Ends the running session, as the destructor does, and closes the window.
    void Close();
    // Reshapes the window and handles events until GLUT and WindowSize both report the size.
    bool Resize(int width, int height, std::string* error);
    // Handles queued window events (reshape, expose) without drawing.
    void PumpEvents();

    // Sets the clock that AppFrame reads.
    void SetClock(uint32_t elapsedMs);
    // Types one key through the demo's keyboard handlers, then handles the window events it
    // caused (the full-screen key resizes the window).
    void Type(const KeyStroke& key);
    // Keeps hyperspace (the screen not cleared) on for the next frame, whatever the demo's
    // rule for ending it at random decided in the last one.
    void HoldHyperspace();
    // Runs AppFrame; false once the fade-out has ended the demo (it then drew its last frame).
    bool Frame();
    // glutSwapBuffers, as the shell's display callback does after AppFrame.
    void Swap();
    // The back buffer (where the frame was just drawn) as a picture, rows from the top.
    void ReadFrame(RgbPicture* picture) const;
    bool Ended() const;

    int Width() const;
    int Height() const;
    int ScreenWidth() const;
    int ScreenHeight() const;

private:
    bool StartSession(std::string* error);
    bool InitInFontDirectory(std::string* error);

    std::unique_ptr<VirtualDisplay> display;
    std::string fontPath;
    bool open = false;
    bool sessionRunning = false;
};
