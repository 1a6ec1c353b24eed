// The demo's global objects, constructed before the entry point in the order textOverlay,
// settings, starField and destroyed in the reverse order at exit.
#pragma once

#include "overlay/TextOverlay.h"
#include "scene/StarField.h"
#include "shell/Settings.h"

extern TextOverlay textOverlay;
extern StarField starField;
