// What Windows asks of a screensaver on its command line: run full screen, draw a preview
// into a window of the control panel's, or show the settings dialog.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class ScreensaverMode { kSettings, kPreview, kFullScreen };

struct ScreensaverRequest {
    ScreensaverMode mode = ScreensaverMode::kSettings;
    // The preview's parent window, or the settings dialog's owner (0: none), as Windows
    // passes a window handle: a decimal number.
    uintptr_t window = 0;
};

// Reads Windows' screensaver switches, in either case and with "/" or "-": "/s" full screen;
// "/p HWND" or "/p:HWND" preview; "/c", "/c:HWND" or no argument at all the settings.
// False for anything else, or a preview without a window.
bool ParseScreensaverArguments(const std::vector<std::string>& arguments,
                               ScreensaverRequest* request);
