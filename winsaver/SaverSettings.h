// The screensaver's two settings, kept per user in the registry under
// HKEY_CURRENT_USER\Software\Tavik.
#pragma once

#include <cstdint>

struct SaverSettings {
    bool showFrameRate = false;
    // The pause between frames, as tavik-saver's -delay; the animation runs on the clock.
    uint32_t frameDelayMs = 20;
};

// The longest pause the dialog takes, one second.
constexpr uint32_t kLongestFrameDelayMs = 1000;

// The stored settings; a missing key or value keeps its default, and a stored pause beyond
// the longest is held there.
SaverSettings LoadSaverSettings();
// Stores both values; false if the key cannot be created or written, with the registry's
// error left for GetLastError.
bool SaveSaverSettings(const SaverSettings& settings);
