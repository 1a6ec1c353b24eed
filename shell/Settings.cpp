// Defaults of the scene settings and the demo globals that live beside them.
#include "shell/Settings.h"

#include "scene/Random.h"
#include "shell/Clock.h"

int paused = 0;
float fadeLevel = kFullLight;
int helpVisible = 0;
int fullScreen = kStartFullScreen;
int32_t frameCount = 0;
int32_t framesPerSecond = kStartFramesPerSecond;
double nextFpsSecond = kFirstFpsSecond;

Settings::~Settings() {}

void ResetSettings() {
    Random::srand(ElapsedMs);
    settings.fieldOfView = 110;
    settings.rotateSpeed = 0.4f;
    settings.movementSpeed = 5.0f;
    settings.mainSpeed = 1.25f;
    settings.cameraZ = 0.0f;
    settings.objectSize = 1.0f;
    settings.lightRotateSpeed = 1.0f;
    settings.tessellation = 20;
    settings.clearEachFrame = 1;
    settings.showFrameRate = 0;
    settings.nestedRings = 0;
    settings.spotlights = 1;
    settings.textures = 1;
    settings.polygonMode = 0;
    settings.showUniverse = 1;
    fadeLevel = kFullLight;
    paused = 0;
}
