// The window size, written only by the shell's reshape callback.
#include "shell/WindowSize.h"

WindowExtent WindowSize = {640, 480};
