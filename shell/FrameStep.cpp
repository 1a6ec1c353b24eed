// The demo's frame step: advances time and animation, switches hyperspace at random, draws
// the stars, the rings and the overlay, and runs the fade-out that ends the program.
#include "shell/FrameStep.h"

#include <GL/gl.h>

#include "overlay/HelpScreen.h"
#include "scene/Camera.h"
#include "scene/ChannelBank.h"
#include "scene/Random.h"
#include "scene/Rings.h"
#include "scene/Spotlights.h"
#include "shell/AppHooks.h"
#include "shell/Clock.h"
#include "shell/SceneGlobals.h"
#include "shell/Shell.h"
#include "shell/Settings.h"

float nowSeconds = 0.0f;
double previousSeconds = 0.0;
float frameDelta = 0.0f;
double lastHyperspaceCheck = 0.0;
double hyperspaceStart = 0.0;
uint32_t previousElapsedMs = 0;

namespace {
constexpr double kReseedChance = 0.0001;
constexpr float kLongestFrame = 0.1f;   // frames longer than this ...
constexpr float kClampedFrame = 0.05f;  // ... count as this long
constexpr double kHyperspaceCheckInterval = 3.0;
constexpr double kHyperspaceMinimumGap = 10.0;
constexpr double kHyperspaceRate = 40.0;
constexpr double kFadePerSecond = 0.35;
constexpr float kFadeEnd = 0.05f;
constexpr int kLights = 2;

void AdvanceTime() {
    if (ElapsedMs < previousElapsedMs) {
        RebaseTimersAfterClockWrap();
    }
    previousElapsedMs = ElapsedMs;
    const double seconds = static_cast<double>(static_cast<uint64_t>(ElapsedMs)) * 0.001;
    nowSeconds = static_cast<float>(seconds);
    frameDelta = static_cast<float>(seconds - previousSeconds);
    if (frameDelta > kLongestFrame) {
        frameDelta = kClampedFrame;
    }
    // The exact time, not the float nowSeconds: after some weeks a float second has steps
    // of a quarter or half second, and deltas taken from it would swing negative and clamp
    // (the animation would run backwards and a fade-out after Escape might never end).
    previousSeconds = seconds;
}

void CountFrame() {
    frameCount += 1;
    if (nowSeconds >= nextFpsSecond) {
        nextFpsSecond += 1.0;
        framesPerSecond = frameCount;
        frameCount = 0;
    }
}

void RandomHyperspace() {
    if (!(nowSeconds > lastHyperspaceCheck + kHyperspaceCheckInterval)) {
        return;
    }
    const double r = RandomRange(1.0);
    if (r < kHyperspaceRate * frameDelta) {
        if (settings.clearEachFrame == 1 && nowSeconds > hyperspaceStart + kHyperspaceMinimumGap) {
            hyperspaceStart = nowSeconds;
            settings.clearEachFrame = 0;
        }
    } else if (settings.clearEachFrame == 0) {
        settings.clearEachFrame = 1;
    }
    lastHyperspaceCheck = nowSeconds;
}

void DrawScene() {
    SetupView();
    const double x = ChannelWave(4, 1.0, 1.0, -0.5);
    const double y = ChannelWave(5, 1.0, 1.0, -0.5);
    const double z = ChannelWave(6, 1.0, 2.0, 0.0);
    const double a1 = PhaseAngle(1, 10.0);
    const double a2 = PhaseAngle(2, 10.0);
    const double a3 = PhaseAngle(3, 10.0);
    glTranslatef(static_cast<float>(-x), static_cast<float>(-y), static_cast<float>(-z));

    if (settings.clearEachFrame == 1) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    if (settings.spotlights == 1) {
        glEnable(GL_LIGHTING);
    }
    if (settings.showUniverse == 1) {
        glPushMatrix();
        {
            glRotatef(static_cast<float>(a1), 1.0f, 0.0f, 0.0f);
            glRotatef(static_cast<float>(a2), 0.0f, 1.0f, 0.0f);
            glRotatef(static_cast<float>(a3), 0.0f, 0.0f, 1.0f);
            starField.Draw();
        }
        glPopMatrix();
    }
    DrawRings();
    if (settings.spotlights == 1) {
        glDisable(GL_LIGHTING);
    }
}

void DrawOverlay() {
    if (textOverlay.messageExpiry != 0.0) {
        textOverlay.DrawMessage();
    }
    if (settings.showFrameRate == 1) {
        textOverlay.DrawFrameRate(framesPerSecond);
    }
    if (helpVisible == 1) {
        DrawHelpScreen();
    }
}

// Lowers the light level after Escape; below the end level the program ends.
void FadeOut() {
    if (!(fadeLevel < 1.0f)) {
        return;
    }
    fadeLevel = static_cast<float>(fadeLevel - frameDelta * kFadePerSecond);
    if (fadeLevel < kFadeEnd) {
        EndProgram();
    }
}
}  // namespace

void ResetFrameStepState() {
    nowSeconds = 0.0f;
    previousSeconds = 0.0;
    frameDelta = 0.0f;
    lastHyperspaceCheck = 0.0;
    hyperspaceStart = 0.0;
    previousElapsedMs = 0;
    frameCount = 0;
    framesPerSecond = 30;
    nextFpsSecond = 1.0;
}

void RebaseTimersAfterClockWrap() {
    previousSeconds -= kClockWrapSeconds;
    lastHyperspaceCheck -= kClockWrapSeconds;
    hyperspaceStart -= kClockWrapSeconds;
    nextFpsSecond -= kClockWrapSeconds;
    if (textOverlay.messageExpiry != 0.0) {
        textOverlay.messageExpiry -= kClockWrapSeconds;
        if (textOverlay.messageExpiry == 0.0) {
            textOverlay.messageExpiry = -1.0;  // still pending: it expires on the next frame
        }
    }
}

bool AppFrame() {
    if (RandomRange(1.0) < kReseedChance) {
        Random::srand(ElapsedMs);
    }
    AdvanceTime();
    if (paused == 0) {
        AdvanceChannels(kChannelCount, frameDelta, settings);
        UpdateSpotlights(kLights, 0.5f, 0.75f, 0.9f, fadeLevel, 9.8f);
    }
    CountFrame();
    RandomHyperspace();
    DrawScene();
    DrawOverlay();
    FadeOut();
    textOverlay.CheckGlError();
    return true;
}
