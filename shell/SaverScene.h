// The scene as a screensaver host runs it: without a GLUT window, in a window and an OpenGL
// context that the host owns, with no status message and no help page (keys do nothing).
// The X saver and the Windows saver share this start-up and this frame.
#pragma once

#include <cstdint>

// With the host's context current: initialises GLUT (its solid tori draw only once it is),
// which opens no window; has the overlay lay its text out in WindowSize; then the demo's
// seed, the clock start, the settings with the frame-rate readout as asked, and the shared
// scene start-up with the font at fontPath (without it, text draws as white blocks).
void StartSaverScene(const char* programName, bool showFrameRate, const char* fontPath);
// One frame as the demo's display callback draws it, short of the swap: the window's size
// through the reshape callback when it changed, the clock, the frame step. False once the
// demo has ended.
bool StepSaverFrame(uint32_t width, uint32_t height);
