// Defaults of the settings and what ResetSettings keeps.
#include <gtest/gtest.h>

#include "scene/Random.h"
#include "shell/Clock.h"
#include "shell/Settings.h"

TEST(SettingsTest, DemoGlobalsStartWithTheirProgramStartValues) {
    // Static storage: these hold before anything has run.
    EXPECT_EQ(paused, 0);
    EXPECT_FLOAT_EQ(fadeLevel, 1.0f);
    EXPECT_EQ(helpVisible, 0);
    EXPECT_EQ(fullScreen, 1);
    EXPECT_EQ(frameCount, 0);
    EXPECT_EQ(framesPerSecond, 30);
    EXPECT_DOUBLE_EQ(nextFpsSecond, 1.0);
    EXPECT_EQ(settings.letterbox, 0);
    EXPECT_EQ(settings.fieldOfView, 0) << "the constructor sets no field";
}

TEST(SettingsTest, ResetStoresEveryDefault) {
    settings.fieldOfView = 12;
    settings.rotateSpeed = 9.0f;
    settings.movementSpeed = 0.0f;
    settings.mainSpeed = 3.0f;
    settings.cameraZ = -4.0f;
    settings.objectSize = 0.1f;
    settings.lightRotateSpeed = 7.0f;
    settings.tessellation = 50;
    settings.clearEachFrame = 0;
    settings.showFrameRate = 1;
    settings.nestedRings = 1;
    settings.spotlights = 0;
    settings.textures = 0;
    settings.polygonMode = 2;
    settings.showUniverse = 0;
    fadeLevel = 0.3f;
    paused = 1;

    ResetSettings();

    EXPECT_EQ(settings.fieldOfView, 110);
    EXPECT_FLOAT_EQ(settings.rotateSpeed, 0.4f);
    EXPECT_FLOAT_EQ(settings.movementSpeed, 5.0f);
    EXPECT_FLOAT_EQ(settings.mainSpeed, 1.25f);
    EXPECT_FLOAT_EQ(settings.cameraZ, 0.0f);
    EXPECT_FLOAT_EQ(settings.objectSize, 1.0f);
    EXPECT_FLOAT_EQ(settings.lightRotateSpeed, 1.0f);
    EXPECT_EQ(settings.tessellation, 20);
    EXPECT_EQ(settings.clearEachFrame, 1);
    EXPECT_EQ(settings.showFrameRate, 0);
    EXPECT_EQ(settings.nestedRings, 0);
    EXPECT_EQ(settings.spotlights, 1);
    EXPECT_EQ(settings.textures, 1);
    EXPECT_EQ(settings.polygonMode, 0);
    EXPECT_EQ(settings.showUniverse, 1);
    EXPECT_FLOAT_EQ(fadeLevel, 1.0f) << "a reset ends the fade-out";
    EXPECT_EQ(paused, 0) << "a reset un-pauses";
}

TEST(SettingsTest, ResetKeepsLetterboxHelpFullScreenAndCounters) {
    settings.letterbox = -4;
    helpVisible = 1;
    fullScreen = 0;
    frameCount = 17;
    framesPerSecond = 55;
    nextFpsSecond = 12.0;
    ResetSettings();
    EXPECT_EQ(settings.letterbox, -4);
    EXPECT_EQ(helpVisible, 1);
    EXPECT_EQ(fullScreen, 0);
    EXPECT_EQ(frameCount, 17);
    EXPECT_EQ(framesPerSecond, 55);
    EXPECT_DOUBLE_EQ(nextFpsSecond, 12.0);
    settings.letterbox = 0;
    helpVisible = 0;
    fullScreen = 1;
    frameCount = 0;
    framesPerSecond = 30;
    nextFpsSecond = 1.0;
}

TEST(SettingsTest, ResetSeedsTheRandomSourceWithTheClock) {
    const uint32_t saved = ElapsedMs;
    ElapsedMs = 4321;
    Random::srand(99);
    ResetSettings();
    EXPECT_EQ(Random::State(), 4321u);
    ElapsedMs = saved;
}
