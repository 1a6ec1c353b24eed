// The GLUT window calls that a page answers otherwise than a desktop, and the freeglut extras
// that the shell calls. The canvas is the window; a program cannot take the browser's full
// screen before the user does something, so full screen at start-up fills the page, and the
// full-screen key asks the browser for its own. These definitions take the place of
// Emscripten's GLUT's; the rest of its GLUT (callbacks, timers, redisplay) serves as it is.
#include <GL/freeglut.h>
#include <emscripten/emscripten.h>

#include "web/PageHost.h"
#include "web/PageSession.h"

namespace {
int window = 0;
}  // namespace

extern "C" {

void glutInitWindowSize(int width, int height) {
    tavik_page_set_window_size(width, height);
}

int glutCreateWindow(const char* title) {
    window = tavik_page_create_window(title);
    if (window == 0) {
        // No WebGL: the page says so, and the program goes no further, as a desktop GLUT ends
        // a program without an OpenGL context.
        emscripten_exit_with_live_runtime();
    }
    return window;
}

int glutGetWindow() {
    return window;
}

void glutFullScreen() {
    // Start-up fills the page; a running session's full-screen key takes the browser's.
    tavik_page_full_screen(SessionRunning() ? 1 : 0);
}

void glutLeaveFullScreen() {
    tavik_page_leave_full_screen();
}

void glutReshapeWindow(int width, int height) {
    tavik_page_reshape_window(width, height);
}

void glutSetCursor(int cursor) {
    tavik_page_set_cursor(cursor);
}

int glutGet(GLenum query) {
    return tavik_page_get(static_cast<int>(query));
}

void glutWindowStatusFunc(void (*callback)(int)) {
    SetWindowStatusCallback(callback);
}

void glutMainLoopEvent() {}

}  // extern "C"
