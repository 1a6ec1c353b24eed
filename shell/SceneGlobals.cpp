// The demo's global objects. They are defined together in this one file so that they are
// constructed in this order and destroyed in the reverse order at exit.
#include "overlay/TextOverlay.h"
#include "scene/StarField.h"
#include "shell/Settings.h"

TextOverlay textOverlay;
Settings settings;
StarField starField;
