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
constexpr int kLights = 2;
constexpr float kAmbientLevel = 0.5f;
constexpr int kStars = 1650;
constexpr float kStarOuterRadius = 5.0f;
constexpr float kStarInnerRadius = 1.5f;

Texture& FontTexture() {
    // Constructed on the first call only; its destructor then runs at exit, before those
    // of the global objects constructed earlier.
    static Texture loadedFont;
    loadedFontInstance = &loadedFont;
    return loadedFont;
}

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

bool LoadOverlayFont(const char* path) {
    Texture& font = FontTexture();
    const bool loaded = font.Load(path, LoadBmp);
    textOverlay.fontTexture.handle = font.handle;
    return loaded;
}
}  // namespace

void SetupScene(float specularLevel) {
    RandomizeChannels(kChannelCount);
    SetupSpotlights(kLights, kAmbientLevel, specularLevel);
    starField.Build(kStars, kStarOuterRadius, kStarInnerRadius, kStarCubeShell);
}

bool StartScene(const char* fontPath) {
    SetupView();
    SetFixedGlState();
    SetupScene(kStartSpecularLevel);
    return LoadOverlayFont(fontPath);
}

const Texture* LoadedFont() {
    return loadedFontInstance;
}

void ForgetLoadedFont() {
    if (loadedFontInstance != nullptr) {
        FontTexture().handle = 0;
        loadedFontInstance = nullptr;
    }
}

bool AppInit() {
    ResetSettings();
    glutKeyboardFunc(OnDemoKey);
    glutSpecialFunc(OnDemoSpecialKey);
    glutMouseFunc(nullptr);
    glutMotionFunc(nullptr);
    glutFullScreen();
    // Without the font the demo still runs; its text draws as white blocks.
    StartScene("font.bmp");
    textOverlay.ShowMessage("Press ? key for Help Screen");
    glutSetCursor(GLUT_CURSOR_NONE);
    return true;
}

void AppShutdown() {
    textOverlay.fontTexture.Release();
    starField.Release();
}
