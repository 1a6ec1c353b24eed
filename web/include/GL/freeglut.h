// GL/freeglut.h for the browser build: Emscripten's GLUT (its GL/freeglut_std.h) and the few
// freeglut extensions that Tavik calls, defined for the page in web/GlutWindow.cpp.
#pragma once

#include <GL/freeglut_std.h>

#ifdef __cplusplus
extern "C" {
#endif

// glutGet queries of freeglut's own.
#define GLUT_INIT_STATE 0x007C
#define GLUT_FULL_SCREEN 0x01FF

// Handles the events that are due and returns. In the browser the events come from the
// browser's own loop, between the program's callbacks, so there is nothing to wait for here.
void glutMainLoopEvent(void);
// Leaves full screen for the window size the window had before.
void glutLeaveFullScreen(void);

#ifdef __cplusplus
}
#endif
