// The screensaver's command line and the window it is told to draw into, decided apart
// from X so that the rules can be checked without a display.
#pragma once

#include <cstdint>
#include <string>

// Where the screensaver draws.
enum class SaverTarget {
    OwnWindow,    // a 640 x 480 window of its own, titled "Tavik"
    GivenWindow,  // an existing window: -window-id, or XSCREENSAVER_WINDOW
    RootWindow,   // the root window of the default screen
};

struct SaverOptions {
    SaverTarget target = SaverTarget::OwnWindow;
    unsigned long windowId = 0;  // the window for SaverTarget::GivenWindow
    uint32_t delayMicroseconds = 20000;
    bool showFrameRate = false;
    bool help = false;
};

// Reads a window id as X tools print it: decimal, or hexadecimal after "0x" or "0X".
// Rejects an empty text, 0, trailing characters and values beyond 32 bits.
bool ParseWindowId(const char* text, unsigned long* id);

// Reads the arguments after the program name. -window-id ID wins over everything;
// otherwise -window asks for an own window, and the window named by xscreensaverWindow (the
// XSCREENSAVER_WINDOW variable, may be null) wins over -root, which is how xscreensaver
// hands a hack the window that stands for the root. Options may start with one dash or
// two. On failure *error holds a one-line reason.
bool ParseSaverOptions(int argc, const char* const* argv, const char* xscreensaverWindow,
                       SaverOptions* options, std::string* error);

// The usage text for --help and after an unknown option.
const char* SaverUsage();
