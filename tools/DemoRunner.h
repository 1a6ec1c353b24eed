// The demo driven by tavik-snapshot and tavik-bench instead of GLUT's main loop: the shell's
// window, the library's AppInit and AppFrame, a deterministic clock, keys typed through the
// demo's own handlers, and pixels read back from the frame just drawn.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/PngWriter.h"

class VirtualDisplay;

// One key press: a character for the keyboard handler or a GLUT_KEY_* code for the
// special-key handler.
struct KeyStroke {
    bool special = false;
    int code = 0;
};

// Parses a comma-separated list of key names into strokes. A name is a single character
// ("l", "?", "<"), one of space, escape, left, right, up, down, comma, or either followed by
// *COUNT to repeat it ("l*6"). False, with the reason in *error, for an unknown name.
bool ParseKeys(const std::string& text, std::vector<KeyStroke>* keys, std::string* error);
// Parses "WIDTHxHEIGHT" with both sides from 1 to 16384.
bool ParseSize(const std::string& text, int* width, int* height);
// Parses a whole non-negative decimal number that fits an int.
bool ParseCount(const std::string& text, int* value);

// The options every tool shares: --help/-h and --xvfb set their flags; each option named in
// valued takes the next argument, handed to apply, which returns false for a bad value (it may
// set *error itself). Anything else is an unknown option. False with a one-line *error.
bool WalkOptions(int argc, char** argv, const std::vector<std::string>& valued, bool* help,
                 bool* xvfb,
                 const std::function<bool(const std::string& option, const std::string& value,
                                          std::string* error)>& apply,
                 std::string* error);

// The font the tool gives the demo: requested when not empty (it must exist), else font.bmp
// in the working directory, else the copy beside the executable, else "" (text is then drawn
// as white blocks, as the demo draws it without a font).
bool FindFont(const std::string& requested, std::string* path, std::string* error);

class DemoRunner {
public:
    DemoRunner();
    ~DemoRunner();
    DemoRunner(const DemoRunner&) = delete;
    DemoRunner& operator=(const DemoRunner&) = delete;

    // Starts a private Xvfb with a screen of width x height for the window, instead of the
    // display named by DISPLAY. Call before Open.
    bool UseVirtualDisplay(int width, int height, std::string* error);
    // Seeds the random source as PreInit does, opens the demo's window through the shell
    // and runs AppInit with fontPath given to it as font.bmp. The demo's end (the fade-out)
    // is recorded instead of ending the process.
    bool Open(const char* programName, const std::string& fontPath, std::string* error);
    // Ends the running session (AppShutdown, unless the fade-out has already run it) and
    // starts a fresh one with every frame-step global, setting and channel as at program
    // start, at the current window size.
    bool Restart(std::string* error);
    // Reshapes the window and handles events until GLUT and WindowSize both report the size.
    bool Resize(int width, int height, std::string* error);
    // Handles queued window events (reshape, expose) without drawing.
    void PumpEvents();

    // Sets the clock that AppFrame reads.
    void SetClock(uint32_t elapsedMs);
    // Types one key through the demo's keyboard handlers, then handles the window events it
    // caused (the full-screen key resizes the window).
    void Type(const KeyStroke& key);
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
    bool InitInFontDirectory(std::string* error);

    std::unique_ptr<VirtualDisplay> display;
    std::string fontPath;
    bool open = false;
    bool sessionRunning = false;
};
