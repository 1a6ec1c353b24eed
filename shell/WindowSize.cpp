// The window size, written only by the shell's reshape callback (and put back to its start
// value by RestoreProgramStartState).
#include "shell/WindowSize.h"

WindowExtent WindowSize = kStartWindowSize;
