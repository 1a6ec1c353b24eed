// The session's life in the page. glutMainLoop hands the program to the browser's event loop;
// the end of the fade-out, which ends the process on a desktop, leaves the page showing that
// Tavik has ended; a key or a click then starts the demo again from the program-start state,
// as the shell starts it, in the window that is already there.
#include "web/PageSession.h"

#include <GL/freeglut.h>
#include <emscripten/emscripten.h>

#include <cstdio>

#include "shell/AppHooks.h"
#include "shell/ProgramState.h"
#include "shell/Shell.h"
#include "web/PageHost.h"
#include "web/gl/GlLayer.h"

namespace {
bool running = false;
void (*windowStatus)(int) = nullptr;

// The display callback of an ended session, should a frame already be on its way.
void DrawNothing() {}

// The end of the fade-out (the shell's process end): AppShutdown has released the scene's
// OpenGL objects; the callbacks go quiet and the page shows the ended state.
void EndSession(int) {
    running = false;
    glutIdleFunc(nullptr);
    glutDisplayFunc(DrawNothing);
    glutKeyboardFunc(nullptr);
    glutSpecialFunc(nullptr);
    windowStatus = nullptr;
    tavik_page_end();
}

void RunSession() {
    endProcess = EndSession;
    running = true;
    tavik_page_run();
}
}  // namespace

bool SessionRunning() {
    return running;
}

void SetWindowStatusCallback(void (*callback)(int)) {
    windowStatus = callback;
}

extern "C" {

void glutMainLoop() {
    RunSession();
    // The browser's event loop runs the callbacks from here on; main does not return, as it
    // does not return from a desktop GLUT's loop.
    emscripten_exit_with_live_runtime();
}

EMSCRIPTEN_KEEPALIVE void tavik_window_status(int visible) {
    if (windowStatus != nullptr) {
        windowStatus(visible ? GLUT_FULLY_RETAINED : GLUT_HIDDEN);
    }
}

EMSCRIPTEN_KEEPALIVE void tavik_restart() {
    if (running) {
        return;
    }
    RestoreProgramStartState();
    ResetGlLayerState();
    // The shell's start-up (AppMain) without creating the window, which is there already.
    // A failure ends the session with the shell's message, as it ends the process.
    if (!PreInit()) {
        std::printf("App returned false on PreInit(), we shouldn't really continue.\n");
        EndSession(0);
        return;
    }
    if (!StartInMainWindow()) {
        std::printf("App failed to initialize.\n");
        EndSession(0);
        return;
    }
    RunSession();
}

}  // extern "C"
