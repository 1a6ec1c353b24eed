// Scene start-up and shut-down: AppInit builds the scene's starting state once the window
// exists; AppShutdown releases the OpenGL objects just before an orderly exit.
#include "shell/SceneSetup.h"

#include <GL/freeglut.h>

#include "image/BmpLoader.h"
#include "image/Texture.h"
#include "scene/Camera.h"
#include "scene/ChannelBank.h"
#include "scene/Spotlights.h"
#include "shell/AppHooks.h"
#include "shell/Keyboard.h"
#include "shell/SceneGlobals.h"
#include "shell/Settings.h"

namespace {
const Texture* loadedFontInstance = nullptr;

void SetFixedGlState() {
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, 30);
    glShadeModel(GL_SMOOTH);
    // Blending itself stays off; the parts that blend enable it around their drawing.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_DEPTH_TEST);
}
}  // namespace

const Texture* LoadedFont() {
    return loadedFontInstance;
}

bool AppInit() {
    // Constructed on the first call only; its destructor then runs at exit, before those
    // of the global objects constructed earlier.
    static Texture loadedFont;
    loadedFontInstance = &loadedFont;

    ResetSettings();
    glutKeyboardFunc(OnDemoKey);
    glutSpecialFunc(OnDemoSpecialKey);
    glutMouseFunc(nullptr);
    glutMotionFunc(nullptr);
    glutFullScreen();
    SetupView();
    SetFixedGlState();
    RandomizeChannels(kChannelCount);
    SetupSpotlights(2, 0.5f, 0.6f);
    starField.Build(1650, 5.0f, 1.5f, kStarCubeShell);
    // A missing or broken font leaves the texture empty; text then draws as white blocks.
    loadedFont.Load("font.bmp", LoadBmp);
    textOverlay.fontTexture.handle = loadedFont.handle;
    textOverlay.ShowMessage("Press ? key for Help Screen");
    glutSetCursor(GLUT_CURSOR_NONE);
    return true;
}

void AppShutdown() {
    textOverlay.fontTexture.Release();
    starField.Release();
}
