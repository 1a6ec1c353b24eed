// The shell owns the process: it runs the application hooks in order, creates the window,
// registers the callbacks, keeps the millisecond clock and draws frames back to back.
#include "shell/Shell.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

#include "shell/AppHooks.h"
#include "shell/Clock.h"
#include "shell/WindowSize.h"

int ShellFullScreen = 0;
ProcessEnd endProcess = std::exit;

namespace {
constexpr unsigned char kEscapeKey = 27;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;
}  // namespace

void CreateMainWindow(int* argc, char** argv) {
    // freeglut ends the process through exit() itself, so the global destructors run.
    glutInit(argc, argv);
    OpenMainWindow();
}

void OpenMainWindow() {
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutInitWindowSize(static_cast<int>(WindowSize.width), static_cast<int>(WindowSize.height));
    glutCreateWindow(AppTitle());
}

void RegisterShellCallbacks() {
    glutReshapeFunc(OnReshape);
    glutDisplayFunc(OnDisplay);
    glutIdleFunc(OnIdle);
    glutMotionFunc(OnMotion);
    glutMouseFunc(OnMouse);
    glutKeyboardFunc(OnKey);
    glutSpecialFunc(OnSpecialKey);
    glutWindowStatusFunc(OnWindowStatus);
}

bool StartInMainWindow() {
    RegisterShellCallbacks();

    PerfFrequency = QueryPerfFrequency();
    PerfStart = QueryPerfCounter();

    return AppInit();
}

int AppMain(int argc, char** argv) {
    if (!PreInit()) {
        std::printf("App returned false on PreInit(), we shouldn't really continue.\n");
        std::exit(0);
    }
    CreateMainWindow(&argc, argv);
    if (!StartInMainWindow()) {
        std::printf("App failed to initialize.\n");
        std::exit(0);
    }
    glutMainLoop();
    Quit();
}

void EndProgram() {
    AppShutdown();
    endProcess(0);
}

void Quit() {
    EndProgram();
    std::exit(0);
}

void OnReshape(int width, int height) {
    WindowSize.width = static_cast<uint32_t>(width);
    WindowSize.height = static_cast<uint32_t>(height);
    glViewport(0, 0, width, height);
}

void OnDisplay() {
    const int64_t count = QueryPerfCounter();
    ElapsedMs = ElapsedMsFromCounts(count, PerfStart, PerfFrequency);
    if (!AppFrame()) {
        Quit();
    }
    glutSwapBuffers();
}

void OnIdle() {
    glutPostRedisplay();
}

void OnWindowStatus(int state) {
    // A window that nobody can see (iconified, unmapped or fully covered) is not redrawn:
    // without an idle callback the main loop sleeps until the next event. The clock runs on,
    // so the first frame after is one long frame, which the frame step clamps.
    const bool hidden = state == GLUT_HIDDEN || state == GLUT_FULLY_COVERED;
    glutIdleFunc(hidden ? nullptr : OnIdle);
}

void OnMotion(int, int) {}

void OnMouse(int, int, int, int) {}

void OnKey(unsigned char key, int, int) {
    if (key == kEscapeKey) {
        Quit();
    }
    if (key == 'F' || key == 'f') {
        ShellFullScreen = !ShellFullScreen;
        if (ShellFullScreen == 0) {
            glutReshapeWindow(kDefaultWidth, kDefaultHeight);
        } else {
            glutFullScreen();
        }
    }
}

void OnSpecialKey(int, int, int) {}
