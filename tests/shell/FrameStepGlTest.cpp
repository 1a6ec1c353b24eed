// The frame step in the whole demo on a controlled clock: the time rules reach the globals,
// pausing, the random hyperspace rule's draw, the fade-out's end through the orderly exit,
// the clock's wrap, and what start-up shows. That start-up is the same on every run is
// pinned by the golden pictures (each a fresh process) and, for a session restored in the
// same process, by ProgramStateGlTest.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "image/Texture.h"
#include "scene/ChannelBank.h"
#include "scene/Random.h"
#include "shell/Clock.h"
#include "shell/FrameStep.h"
#include "shell/Keyboard.h"
#include "shell/SceneGlobals.h"
#include "shell/SceneSetup.h"
#include "shell/Settings.h"
#include "tests/support/DemoSession.h"
#include "tests/support/ReferenceRandom.h"

namespace {
// Most tests here read the globals and OpenGL's state, not pixels: a small window keeps
// their hundreds of frames short.
class FrameStepGlTest : public DemoSessionGlTest {
protected:
    void UseSmallWindow() { ASSERT_TRUE(ResizeWindow(64, 48)); }
};

}  // namespace

TEST_F(FrameStepGlTest, PausedFramesFreezeChannelsAndLightsButTheCameraStillWanders) {
    UseSmallWindow();
    FrameAt(16);
    paused = 1;
    const ChannelBank frozen = channelBank;
    GLfloat lightBefore[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, lightBefore);
    for (uint32_t ms = 32; ms < 2000; ms += 16) {
        FrameAt(ms);
    }
    EXPECT_EQ(0, std::memcmp(&frozen, &channelBank, sizeof frozen)) << "bit-identical channels";
    GLfloat lightAfter[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, lightAfter);
    EXPECT_EQ(0, std::memcmp(lightBefore, lightAfter, sizeof lightAfter));
    // The wander translation is applied on top of the camera every frame.
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[12], -ChannelWave(4, 1.0, 1.0, -0.5), 1e-5);
    EXPECT_NEAR(m[13], -ChannelWave(5, 1.0, 1.0, -0.5), 1e-5);
    EXPECT_NEAR(m[14], -ChannelWave(6, 1.0, 2.0, 0.0), 1e-5);
    EXPECT_GT(framesPerSecond, 30) << "frames are still counted";
}

// Paused, a frame makes only its own draws: the reseed test, then (when a check is due) the
// hyperspace test. The second draw after a known seed decides the check.
TEST_F(FrameStepGlTest, HyperspaceChecksEveryThreeSecondsStartsAfterTenAndUsesTheSecondDraw) {
    UseSmallWindow();
    paused = 1;
    uint32_t ms = 0;
    while (ms < 3000) {
        FrameAt(ms += 50);
    }
    EXPECT_EQ(lastHyperspaceCheck, 0.0) << "no check up to 3.0 s";
    FrameAt(ms += 50);
    EXPECT_EQ(lastHyperspaceCheck, static_cast<double>(3.05f));
    // With 50 ms frames 40 x frameDelta is 2: every check says "on", but not before 10 s.
    while (ms < 10000) {
        FrameAt(ms += 50);
        ASSERT_EQ(settings.clearEachFrame, 1) << "random hyperspace before 10 s at " << ms;
    }
    while (ms < 13500) {
        FrameAt(ms += 50);
    }
    EXPECT_EQ(settings.clearEachFrame, 0) << "the first check after 10 s switches it on";

    for (int below = 0; below < 2; ++below) {
        ReferenceRandom reference(4242);
        reference.Next();
        const double r = reference.Range(1.0);  // 0.68: no reseed before it, no edge case
        // A frame time that puts 40 x frameDelta just above or just below r.
        const uint32_t step = static_cast<uint32_t>(std::floor(r / 40.0 * 1000.0)) + below;
        settings.clearEachFrame = 0;
        lastHyperspaceCheck = 0.0;
        previousElapsedMs = 30000;
        previousSeconds = 30.0;
        Random::srand(4242);
        FrameAt(30000 + step);
        ASSERT_EQ(r < 40.0 * frameDelta, below == 1) << "r " << r << " delta " << frameDelta;
        EXPECT_EQ(settings.clearEachFrame, below ? 0 : 1) << "r " << r << " step " << step;
    }
}

TEST_F(FrameStepGlTest, FadeDimsTheLightsAndEndsThroughTheOrderlyExit) {
    UseSmallWindow();
    FrameAt(16);
    GLfloat bright[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, bright);
    OnDemoKey(27, 0, 0);
    FrameAt(32);
    fadeLevel = 0.5f;
    FrameAt(48);
    GLfloat dim[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, dim);
    EXPECT_LT(dim[0], bright[0] * 0.6f) << "the lights follow the fade";
    paused = 1;
    FrameAt(64);
    EXPECT_LT(fadeLevel, 0.5f) << "pausing does not stop the fade";
    paused = 0;

    OnDemoKey(27, 0, 0);
    int frames = 0;
    for (uint32_t ms = 64; ExitCalls() == 0 && frames < 1000; ++frames) {
        FrameAt(ms += 16);
    }
    EXPECT_EQ(ExitCalls(), 1);
    EXPECT_GE(frames, 169) << "(0.999 - 0.05) / (0.016 x 0.35) frames of 16 ms";
    EXPECT_LE(frames, 171);
    EXPECT_EQ(starField.ListId(), -1) << "AppShutdown ran before the exit";
    EXPECT_EQ(textOverlay.fontTexture.handle, 0u);
}

// Across the 32-bit millisecond wrap (after about 49.7 days) the frame step moves its
// timers: deltas stay small, a message shown before the wrap expires 3 s after it was
// shown, and the readout and the hyperspace checks go on.
TEST_F(FrameStepGlTest, SurvivesTheClockWrap) {
    UseSmallWindow();
    uint32_t ms = 0xffffffffu - 3000;
    previousElapsedMs = ms;
    previousSeconds = ms * 0.001;
    nextFpsSecond = std::floor(ms * 0.001) + 1.0;
    lastHyperspaceCheck = ms * 0.001;
    bool messageShown = false;
    for (int i = 0; i < 220; ++i) {
        FrameAt(ms += 25);  // wraps after about 3 s
        ASSERT_NEAR(frameDelta, 0.025, 1e-6) << "at " << ms;
        if (!messageShown && ms > 0xffffffffu - 1000) {
            textOverlay.ShowMessage("Pause Action");  // due to expire 2 s after the wrap
            messageShown = true;
        }
        if (ms < 1000) {
            EXPECT_GT(textOverlay.messageExpiry, 1.0) << "the expiry moved with the clock";
        }
    }
    ASSERT_LT(ms, 10000u) << "the clock wrapped";
    EXPECT_EQ(textOverlay.messageExpiry, 0.0) << "the message expired 3 s after it was shown";
    EXPECT_LT(nextFpsSecond, ms * 0.001 + 2.0) << "the readout keeps updating after the wrap";
    EXPECT_EQ(framesPerSecond, 40) << "25 ms frames";
    EXPECT_GT(lastHyperspaceCheck, ms * 0.001 - 3.1) << "hyperspace checks continue";
}

// The fixed OpenGL state start-up sets is pinned, call by call, by CallOrderE2eTest.
TEST_F(FrameStepGlTest, StartUpLoadsTheFontHidesTheCursorAndShowsTheFirstMessage) {
    EXPECT_EQ(std::string(textOverlay.messageText), "Press ? key for Help Screen");
    EXPECT_DOUBLE_EQ(textOverlay.messageExpiry, 3.0);
    ASSERT_NE(LoadedFont(), nullptr);
    EXPECT_NE(LoadedFont()->handle, 0u) << "font.bmp loads from the working directory";
    EXPECT_EQ(textOverlay.fontTexture.handle, LoadedFont()->handle) << "one shared texture";
    EXPECT_EQ(glutGet(GLUT_WINDOW_CURSOR), GLUT_CURSOR_NONE);
    // The frame step draws the message while it lasts.
    DrawnFrameAt(2999);
    EXPECT_GT(CountPixelsNot(10, 460, 220, 20, Rgb{0, 0, 0}, 120), 150)
        << "message in the top rows";
    DrawnFrameAt(3000);
    EXPECT_EQ(textOverlay.messageExpiry, 0.0) << "the message's end is StatusMessagesGlTest's";
    session.End();
    EXPECT_EQ(LoadedFont(), nullptr) << "an ended session leaves no font, as the program starts";
}
