// The scene's start-up and frame for screensaver hosts, which own their window and context.
#include "shell/SaverScene.h"

#include <GL/freeglut.h>

#include "overlay/TextOverlay.h"
#include "shell/AppHooks.h"
#include "shell/Clock.h"
#include "shell/SceneSetup.h"
#include "shell/Settings.h"
#include "shell/Shell.h"
#include "shell/WindowSize.h"

namespace {
// The overlay lays its text out in the window that the host follows; there is no GLUT
// window to ask.
int HostWindowQuery(unsigned int what) {
    if (what == GLUT_WINDOW_WIDTH) {
        return static_cast<int>(WindowSize.width);
    }
    if (what == GLUT_WINDOW_HEIGHT) {
        return static_cast<int>(WindowSize.height);
    }
    return glutGet(what);
}
}  // namespace

void StartSaverScene(const char* programName, bool showFrameRate, const char* fontPath) {
    int glutArgc = 1;
    char* glutArgv[] = {const_cast<char*>(programName), nullptr};
    glutInit(&glutArgc, glutArgv);
    overlayWindowQuery = HostWindowQuery;
    PreInit();
    PerfFrequency = QueryPerfFrequency();
    PerfStart = QueryPerfCounter();
    ResetSettings();
    settings.showFrameRate = showFrameRate ? 1 : 0;
    StartScene(fontPath);
}

bool StepSaverFrame(uint32_t width, uint32_t height) {
    if (width != WindowSize.width || height != WindowSize.height) {
        OnReshape(static_cast<int>(width), static_cast<int>(height));
    }
    ElapsedMs = ElapsedMsFromCounts(QueryPerfCounter(), PerfStart, PerfFrequency);
    return AppFrame();
}
