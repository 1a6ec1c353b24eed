// The screensaver's settings dialog: the frame-rate readout on or off and the pause between
// frames, saved for the user when OK is pressed.
#pragma once

#include <windows.h>

// Shows the dialog owned by owner (may be null) until it is closed; true once the settings
// are saved, false on Cancel or a failure.
bool RunSettingsDialog(HINSTANCE instance, HWND owner);
