// What ResetSettings seeds, ends and keeps. Each default it stores is checked by the
// keyboard's decision table (KeyboardTest.cpp), whose cases start from the defaults; the
// program-start state as a whole is checked by behaviour, a restored session against a
// fresh one (ProgramStateGlTest.cpp).
#include <gtest/gtest.h>

#include "scene/Random.h"
#include "shell/Clock.h"
#include "shell/ProgramState.h"
#include "shell/Settings.h"

TEST(SettingsTest, ResetSeedsWithTheClockEndsPauseAndFadeAndKeepsTheRest) {
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
    EXPECT_EQ(paused, 0) << "a reset un-pauses";
    EXPECT_EQ(fadeLevel, 1.0f) << "a reset ends the fade-out";
    EXPECT_TRUE(settings.letterbox == -4 && helpVisible == 1 && fullScreen == 0)
        << "letterbox, help page and full screen are kept";
    EXPECT_TRUE(frameCount == 17 && framesPerSecond == 55 && nextFpsSecond == 12.0)
        << "the frame-rate counters are kept";
    RestoreProgramStartState();
}
