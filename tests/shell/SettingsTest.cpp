// What ResetSettings keeps and how it seeds, and the program-start state that
// RestoreProgramStartState puts back. Each default is checked by the keyboard's decision
// table (KeyboardTest.cpp), whose cases start from the defaults.
#include <gtest/gtest.h>

#include <cstring>

#include "scene/ChannelBank.h"
#include "scene/Random.h"
#include "shell/Clock.h"
#include "shell/FrameStep.h"
#include "shell/Keyboard.h"
#include "shell/ProgramState.h"
#include "shell/SceneGlobals.h"
#include "shell/Settings.h"
#include "shell/Shell.h"

namespace {
void EndNowhere(int) {}
}  // namespace

TEST(SettingsTest, ResetSeedsWithTheClockAndKeepsLetterboxHelpFullScreenAndCounters) {
    RestoreProgramStartState();
    settings.letterbox = -4;
    helpVisible = 1;
    fullScreen = 0;
    frameCount = 17;
    framesPerSecond = 55;
    nextFpsSecond = 12.0;
    paused = 1;
    fadeLevel = 0.3f;
    ElapsedMs = 4321;
    ResetSettings();
    EXPECT_EQ(Random::State(), 4321u);
    EXPECT_EQ(settings.letterbox, -4);
    EXPECT_EQ(helpVisible, 1);
    EXPECT_EQ(fullScreen, 0);
    EXPECT_EQ(frameCount, 17);
    EXPECT_EQ(framesPerSecond, 55);
    EXPECT_EQ(nextFpsSecond, 12.0);
    EXPECT_EQ(paused, 0) << "a reset un-pauses";
    EXPECT_EQ(fadeLevel, 1.0f) << "a reset ends the fade-out";
    RestoreProgramStartState();
}

// Every global a session changes, changed, then put back: as static storage starts.
TEST(SettingsTest, RestoreProgramStartStatePutsEveryGlobalBack) {
    ElapsedMs = 5;
    PerfStart = 6;
    PerfFrequency = 7;
    nowSeconds = 1.0f;
    previousSeconds = 2.0;
    frameDelta = 3.0f;
    lastHyperspaceCheck = 4.0;
    hyperspaceStart = 5.0;
    previousElapsedMs = 6;
    ResetSettings();
    settings.letterbox = 3;
    paused = 1;
    fadeLevel = 0.5f;
    helpVisible = 1;
    fullScreen = 0;
    frameCount = 3;
    framesPerSecond = 9;
    nextFpsSecond = 7.0;
    ShellFullScreen = 1;
    channelBank.phase[3] = 1.0;
    Random::srand(77);
    textOverlay.messageX = 3;
    textOverlay.messageY = 4;
    textOverlay.recording = 0;
    textOverlay.messageExpiry = 2.0;
    std::strcpy(textOverlay.messageText, "Pause Action");
    pointerX = 4;
    pointerY = 5;
    endProcess = EndNowhere;

    RestoreProgramStartState();

    EXPECT_EQ(ElapsedMs, 0u);
    EXPECT_EQ(PerfStart, 0);
    EXPECT_EQ(PerfFrequency, 0);
    EXPECT_EQ(nowSeconds, 0.0f);
    EXPECT_EQ(previousSeconds, 0.0);
    EXPECT_EQ(frameDelta, 0.0f);
    EXPECT_EQ(lastHyperspaceCheck, 0.0);
    EXPECT_EQ(hyperspaceStart, 0.0);
    EXPECT_EQ(previousElapsedMs, 0u);
    const Settings& s = settings;
    EXPECT_TRUE(s.fieldOfView == 0 && s.letterbox == 0 && s.tessellation == 0 &&
                s.showUniverse == 0 && s.clearEachFrame == 0 && s.spotlights == 0 &&
                s.textures == 0 && s.polygonMode == 0 && s.nestedRings == 0 &&
                s.showFrameRate == 0 && s.rotateSpeed == 0.0f && s.movementSpeed == 0.0f &&
                s.cameraZ == 0.0f && s.objectSize == 0.0f && s.mainSpeed == 0.0f &&
                s.lightRotateSpeed == 0.0f)
        << "every setting 0, as before the first ResetSettings";
    EXPECT_EQ(paused, 0);
    EXPECT_EQ(fadeLevel, 1.0f);
    EXPECT_EQ(helpVisible, 0);
    EXPECT_EQ(fullScreen, 1);
    EXPECT_EQ(frameCount, 0);
    EXPECT_EQ(framesPerSecond, 30);
    EXPECT_EQ(nextFpsSecond, 1.0);
    EXPECT_EQ(ShellFullScreen, 0);
    const ChannelBank zeroBank{};
    EXPECT_EQ(0, std::memcmp(&channelBank, &zeroBank, sizeof zeroBank));
    EXPECT_EQ(Random::State(), 1u) << "the generator's state before its first seeding";
    EXPECT_EQ(textOverlay.messageX, 0);
    EXPECT_EQ(textOverlay.messageY, 0);
    EXPECT_EQ(textOverlay.recording, 1);
    EXPECT_EQ(textOverlay.messageExpiry, 0.0);
    EXPECT_STREQ(textOverlay.messageText, "");
    EXPECT_EQ(pointerX, 0);
    EXPECT_EQ(pointerY, 0);
    EXPECT_EQ(endProcess, &std::exit);
}
