// A session of the demo in the page: from the shell's start-up to the end of the fade-out, when
// there is no process to end, and the next one started from the program-start state.
#pragma once

// Whether a session runs: between the start of the main loop and the end of the fade-out.
bool SessionRunning();
// The window status callback that GLUT would call (glutWindowStatusFunc).
void SetWindowStatusCallback(void (*callback)(int state));

extern "C" {
// Called by the page when the tab is hidden (0) or shown (1).
void tavik_window_status(int visible);
// Called by the page at a key or a click after the end: the demo starts again as a fresh
// process starts it.
void tavik_restart();
}
