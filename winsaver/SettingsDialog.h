// The screensaver's settings dialog: the frame-rate readout on or off and the pause between
// frames, saved for the user when OK is pressed.
#pragma once

#include <windows.h>

// How the dialog ended: kNotSaved when the registry refused the settings (the user has been
// told in a message box) or the dialog could not be shown.
enum class SettingsOutcome { kSaved, kCancelled, kNotSaved };

// Shows the dialog owned by owner (may be null) until it is closed.
SettingsOutcome RunSettingsDialog(HINSTANCE instance, HWND owner);
