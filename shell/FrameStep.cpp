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
#include "shell/FrameTiming.h"
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
constexpr int kLights = 2;

void AdvanceTime() {
    if (ClockWrapped(ElapsedMs, previousElapsedMs)) {
        RebaseTimersAfterClockWrap();
    }
    previousElapsedMs = ElapsedMs;
    const FrameTime time = AdvanceFrameTime(ElapsedMs, previousSeconds);
    nowSeconds = time.now;
    frameDelta = time.delta;
    previousSeconds = time.seconds;
}

void RandomHyperspace() {
    if (!HyperspaceCheckDue(nowSeconds, lastHyperspaceCheck)) {
        return;
    }
    const Hyperspace next =
        CheckHyperspace({settings.clearEachFrame, lastHyperspaceCheck, hyperspaceStart},
                        RandomRange(1.0), nowSeconds, frameDelta);
    settings.clearEachFrame = next.clearEachFrame;
    lastHyperspaceCheck = next.lastCheck;
    hyperspaceStart = next.start;
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
    if (!(fadeLevel < kFullLight)) {
        return;
    }
    fadeLevel = FadeStep(fadeLevel, frameDelta);
    if (FadeEnded(fadeLevel)) {
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
    framesPerSecond = kStartFramesPerSecond;
    nextFpsSecond = kFirstFpsSecond;
}

void RebaseTimersAfterClockWrap() {
    previousSeconds = RebasedTime(previousSeconds);
    lastHyperspaceCheck = RebasedTime(lastHyperspaceCheck);
    hyperspaceStart = RebasedTime(hyperspaceStart);
    nextFpsSecond = RebasedTime(nextFpsSecond);
    textOverlay.messageExpiry = RebasedExpiry(textOverlay.messageExpiry);
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
    CountFrame(nowSeconds, frameCount, framesPerSecond, nextFpsSecond);
    RandomHyperspace();
    DrawScene();
    DrawOverlay();
    FadeOut();
    textOverlay.CheckGlError();
    return true;
}
