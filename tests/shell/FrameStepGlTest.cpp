// The frame step with a controlled clock: time arithmetic and clamping, the frame-rate
// counter, pausing, the random hyperspace rule, the fade-out and start-up determinism.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "image/Texture.h"
#include "scene/ChannelBank.h"
#include "scene/Random.h"
#include "shell/AppHooks.h"
#include "shell/Clock.h"
#include "shell/FrameStep.h"
#include "shell/Shell.h"
#include "shell/Keyboard.h"
#include "shell/SceneGlobals.h"
#include "shell/SceneSetup.h"
#include "shell/Settings.h"
#include "tests/support/GlTestSupport.h"

namespace {
int exitCalls = 0;
int exitStatus = -1;
void RecordExit(int status) {
    ++exitCalls;
    exitStatus = status;
}

// Starts the demo in the test window as the shell would, with the clock at 0.
class FrameStepGlTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ElapsedMs = 0;
        ResetFrameStepState();
        helpVisible = 0;
        settings.letterbox = 0;
        exitCalls = 0;
        exitStatus = -1;
        endProcess = RecordExit;
        Random::srand(0);
        std::memset(&channelBank, 0, sizeof channelBank);  // as at program start
        ASSERT_TRUE(AppInit());
        ASSERT_TRUE(ResizeWindow(640, 480));
    }
    void TearDown() override {
        AppShutdown();
        endProcess = std::exit;
        ElapsedMs = 0;
        ResetFrameStepState();
        GlTest::TearDown();
    }
    void FrameAt(uint32_t ms) {
        ElapsedMs = ms;
        AppFrame();
    }
};

// The draws a frame makes while paused: the reseed test, then (after 3 s) the hyperspace test.
double SecondDrawAfterSeed(uint32_t seed) {
    uint32_t state = seed;
    int value = 0;
    for (int i = 0; i < 2; ++i) {
        state = state * 214013u + 2531011u;
        value = static_cast<int>((state >> 16) & 32767u);
    }
    return value / 32768.0;
}
}  // namespace

TEST_F(FrameStepGlTest, FirstFrameAfterASlowStartIsClamped) {
    FrameAt(500);
    EXPECT_FLOAT_EQ(frameDelta, 0.05f);
    EXPECT_FLOAT_EQ(nowSeconds, 0.5f);
    EXPECT_DOUBLE_EQ(previousSeconds, static_cast<double>(0.5f));
    FrameAt(516);
    EXPECT_NEAR(frameDelta, 0.016, 1e-6);
    FrameAt(615);
    EXPECT_NEAR(frameDelta, 0.099, 1e-6) << "up to 0.1 s is not clamped";
    FrameAt(717);
    EXPECT_FLOAT_EQ(frameDelta, 0.05f) << "longer than 0.1 s counts as 0.05, not 0.1";
}

// The delta comes from the exact times, not from the float nowSeconds: after weeks of
// running a float second has steps of a quarter or half second, and deltas taken from it
// would swing between -0.25 and +0.25 s (clamped to 0.05 above 0.1), so that the animation
// ran backwards and a fade-out never ended.
TEST_F(FrameStepGlTest, FrameDeltaIsExactEvenAfterWeeksOfRunning) {
    FrameAt(1234567);
    FrameAt(1234567);
    EXPECT_EQ(frameDelta, 0.0f) << "the same millisecond";
    FrameAt(1234583);
    EXPECT_NEAR(frameDelta, 0.016, 1e-6);
    uint32_t ms = 4200000000u;  // 48.6 days: nowSeconds has steps of 0.5 s
    FrameAt(ms);
    for (int i = 0; i < 100; ++i) {
        FrameAt(ms += 16);
        ASSERT_NEAR(frameDelta, 0.016, 1e-6) << "at " << ms;
    }
    // Escape still ends the program in the usual 2.7 s.
    fadeLevel = 0.999f;
    int frames = 0;
    for (; frames < 1000 && exitCalls == 0; ++frames) {
        FrameAt(ms += 16);
    }
    EXPECT_EQ(exitCalls, 1);
    EXPECT_LE(frames, 171);
    fadeLevel = 1.0f;
}

TEST_F(FrameStepGlTest, FrameRateCounterAndStall) {
    EXPECT_EQ(framesPerSecond, 30) << "30 until the clock passes 1 s";
    uint32_t ms = 0;
    for (int i = 0; i < 50; ++i) {
        FrameAt(ms += 20);  // 50 frames per second
    }
    EXPECT_EQ(framesPerSecond, 50);
    // A stall of 4 seconds: the readout updates on consecutive frames until it catches up.
    FrameAt(ms += 4000);
    EXPECT_EQ(framesPerSecond, 1);
    EXPECT_DOUBLE_EQ(nextFpsSecond, 3.0);
    FrameAt(ms += 20);
    EXPECT_EQ(framesPerSecond, 1);
    EXPECT_DOUBLE_EQ(nextFpsSecond, 4.0);
    FrameAt(ms += 20);
    FrameAt(ms += 20);
    EXPECT_DOUBLE_EQ(nextFpsSecond, 6.0) << "one second per update, not now + 1";
    FrameAt(ms += 20);
    EXPECT_DOUBLE_EQ(nextFpsSecond, 6.0) << "caught up";
}

TEST_F(FrameStepGlTest, PausedFramesFreezeChannelsButTheCameraStillWanders) {
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
    paused = 0;
}

TEST_F(FrameStepGlTest, HyperspaceChecksEveryThreeSecondsAndStartsAfterTen) {
    paused = 1;  // only the frame step's own draws remain
    uint32_t ms = 0;
    while (ms < 3000) {
        FrameAt(ms += 50);
    }
    EXPECT_EQ(lastHyperspaceCheck, 0.0) << "no check up to 3.0 s";
    FrameAt(ms += 50);
    EXPECT_FLOAT_EQ(static_cast<float>(lastHyperspaceCheck), 3.05f);
    // With 50 ms frames 40 * frameDelta = 2: every check says "on", but not before 10 s.
    EXPECT_EQ(settings.clearEachFrame, 1);
    while (ms < 10000) {
        FrameAt(ms += 50);
        ASSERT_EQ(settings.clearEachFrame, 1) << "random hyperspace before 10 s at " << ms;
    }
    while (ms < 13500) {
        FrameAt(ms += 50);
    }
    EXPECT_EQ(settings.clearEachFrame, 0) << "the first check after 10 s switches it on";
    EXPECT_GT(hyperspaceStart, 10.0);
    paused = 0;
}

TEST_F(FrameStepGlTest, HyperspaceProbabilityBoundaryIs40TimesFrameDelta) {
    paused = 1;
    // Bring the clock past 20 s with hyperspace on, then test one check with a known draw.
    for (uint32_t ms = 50; ms <= 20000; ms += 50) {
        FrameAt(ms);
    }
    for (int below = 0; below < 2; ++below) {
        settings.clearEachFrame = 0;
        lastHyperspaceCheck = 0.0;
        // A seed whose hyperspace draw lies well inside (0, 1) and whose reseed draw
        // does not reseed.
        uint32_t seed = 4242u + static_cast<uint32_t>(below) * 1000u;
        while (SecondDrawAfterSeed(seed) < 0.05 || SecondDrawAfterSeed(seed) > 0.95) {
            ++seed;
        }
        const double r = SecondDrawAfterSeed(seed);
        // Choose the frame time so that 40 * frameDelta lies just above or just below r.
        const uint32_t step =
            static_cast<uint32_t>(std::floor(r / 40.0 * 1000.0)) + (below ? 1 : 0);
        previousElapsedMs = 30000;
        previousSeconds = 30.0;
        Random::srand(seed);
        FrameAt(30000 + step);
        const bool drawBelowRate = r < 40.0 * frameDelta;
        ASSERT_EQ(drawBelowRate, below == 1) << "r " << r << " delta " << frameDelta;
        // Below the rate: "on" wins but it is already on; otherwise hyperspace switches off.
        EXPECT_EQ(settings.clearEachFrame, below ? 0 : 1) << "r " << r << " step " << step;
    }
    settings.clearEachFrame = 1;
    paused = 0;
}

TEST_F(FrameStepGlTest, FadeOutEndsTheProgramAfterAbout2Point7Seconds) {
    FrameAt(16);
    fadeLevel = 0.999f;
    int frames = 0;
    uint32_t ms = 16;
    while (exitCalls == 0 && frames < 1000) {
        FrameAt(ms += 16);
        ++frames;
    }
    EXPECT_EQ(exitCalls, 1);
    EXPECT_EQ(exitStatus, 0);
    // (0.999 - 0.05) / (0.016 * 0.35) = 169.5 frames of 16 ms.
    EXPECT_GE(frames, 169);
    EXPECT_LE(frames, 171);
    EXPECT_EQ(starField.ListId(), -1) << "AppShutdown ran before the exit";
    EXPECT_EQ(textOverlay.fontTexture.handle, 0u);
    fadeLevel = 1.0f;
}

TEST_F(FrameStepGlTest, LightsDimWithTheFadeButPauseStopsOnlyTheDimming) {
    FrameAt(16);
    GLfloat bright[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, bright);
    fadeLevel = 0.5f;
    FrameAt(32);
    GLfloat dim[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, dim);
    EXPECT_LT(dim[0], bright[0] * 0.6f);
    paused = 1;
    const float before = fadeLevel;
    FrameAt(48);
    EXPECT_LT(fadeLevel, before) << "pausing does not stop the fade";
    paused = 0;
    fadeLevel = 1.0f;
}

namespace {
// Every star of the current list, through a projection that keeps all of them.
std::vector<FeedbackPrimitive> CaptureStars() {
    ResetGlState();
    glMatrixMode(GL_PROJECTION);
    glOrtho(-6, 6, -6, 6, -6, 6);
    glMatrixMode(GL_MODELVIEW);
    return CaptureFeedback([] { glCallList(static_cast<GLuint>(starField.ListId())); });
}
}  // namespace

TEST_F(FrameStepGlTest, StartUpIsTheSameOnEveryRun) {
    const ChannelBank first = channelBank;
    const auto firstStars = CaptureStars();
    EXPECT_EQ(firstStars.size(), 1650u);
    AppShutdown();
    // A second start-up in the same state as the first: seed 0, clock 0.
    ElapsedMs = 0;
    Random::srand(12345);
    std::memset(&channelBank, 0, sizeof channelBank);
    ASSERT_TRUE(AppInit());
    ASSERT_TRUE(ResizeWindow(640, 480));
    EXPECT_EQ(0, std::memcmp(&first, &channelBank, sizeof first));
    const auto secondStars = CaptureStars();
    ASSERT_EQ(firstStars.size(), secondStars.size());
    for (size_t i = 0; i < firstStars.size(); ++i) {
        ASSERT_EQ(firstStars[i].vertices.size(), secondStars[i].vertices.size());
        for (size_t v = 0; v < firstStars[i].vertices.size(); ++v) {
            ASSERT_EQ(firstStars[i].vertices[v].x, secondStars[i].vertices[v].x);
            ASSERT_EQ(firstStars[i].vertices[v].r, secondStars[i].vertices[v].r);
        }
    }
}

TEST_F(FrameStepGlTest, StartUpStateAndFirstMessage) {
    EXPECT_EQ(std::string(textOverlay.messageText), "Press ? key for Help Screen");
    EXPECT_DOUBLE_EQ(textOverlay.messageExpiry, 3.0);
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_POINT_SMOOTH));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint value = 0;
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE_MINUS_SRC_ALPHA);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    glGetIntegerv(GL_LIGHT_MODEL_LOCAL_VIEWER, &value);
    EXPECT_EQ(value, 1);
    GLfloat shininess = 0, specular[4];
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_FLOAT_EQ(shininess, 30.0f);
    glGetMaterialfv(GL_BACK, GL_SPECULAR, specular);
    EXPECT_FLOAT_EQ(specular[0], 0.6f);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    ASSERT_NE(LoadedFont(), nullptr);
    EXPECT_NE(LoadedFont()->handle, 0u) << "font.bmp loads from the working directory";
    EXPECT_EQ(textOverlay.fontTexture.handle, LoadedFont()->handle) << "one shared texture";
    EXPECT_EQ(glutGet(GLUT_WINDOW_CURSOR), GLUT_CURSOR_NONE);
    // The message is drawn up to 3.0 s and gone in the frame at 3.0 s.
    FrameAt(2999);
    EXPECT_GT(CountPixelsNot(10, 460, 220, 20, Rgb{0, 0, 0}, 120), 150)
        << "message in the top rows";
    FrameAt(3000);
    EXPECT_EQ(textOverlay.messageExpiry, 0.0);
    EXPECT_LT(CountPixelsNot(10, 460, 220, 20, Rgb{0, 0, 0}, 120), 40) << "message gone at 3 s";
}

TEST_F(FrameStepGlTest, SurvivesTheClockWrap) {
    // Run up to just before the 32-bit millisecond wrap, then across it.
    uint32_t ms = 0xffffffffu - 5000;
    previousElapsedMs = ms;
    previousSeconds = ms * 0.001;
    nextFpsSecond = std::floor(ms * 0.001) + 1.0;
    lastHyperspaceCheck = ms * 0.001;
    hyperspaceStart = ms * 0.001 - 20.0;
    bool messageShown = false;
    for (int i = 0; i < 400; ++i) {
        FrameAt(ms += 16);  // wraps after about 5 s
        ASSERT_GE(frameDelta, -0.001f) << "at " << ms;
        ASSERT_LE(frameDelta, 0.1f) << "at " << ms;
        if (!messageShown && ms > 0xffffffffu - 1000) {
            ElapsedMs = ms;
            textOverlay.ShowMessage("Pause Action");  // due to expire 2 s after the wrap
            messageShown = true;
        }
    }
    ASSERT_LT(ms, 10000u) << "the clock wrapped";
    EXPECT_GT(textOverlay.messageExpiry, 1.0) << "the message's expiry moved with the clock";
    EXPECT_LT(textOverlay.messageExpiry, 3.0);
    const double nextBefore = nextFpsSecond;
    for (int i = 0; i < 200; ++i) {
        FrameAt(ms += 16);
    }
    EXPECT_EQ(textOverlay.messageExpiry, 0.0) << "the message expired 3 s after it was shown";
    EXPECT_GT(nextFpsSecond, nextBefore) << "the readout keeps updating after the wrap";
    EXPECT_LT(nextFpsSecond, ms * 0.001 + 2.0);
    EXPECT_GE(framesPerSecond, 62) << "16 ms frames are counted as 62 or 63 a second";
    EXPECT_LE(framesPerSecond, 63);
    EXPECT_LT(frameCount, 64) << "the frame counter is reset every second";
    EXPECT_LT(lastHyperspaceCheck, ms * 0.001 + 0.001) << "hyperspace checks continue";
    EXPECT_GT(lastHyperspaceCheck, ms * 0.001 - 3.1);

    // Random hyperspace still starts: with 50 ms frames every check says "on" once the
    // last start (before the wrap) lies 10 s back.
    settings.clearEachFrame = 1;
    int hyperspaceFrames = 0;
    for (int i = 0; i < 400; ++i) {
        FrameAt(ms += 50);
        hyperspaceFrames += settings.clearEachFrame == 0;
    }
    EXPECT_GT(hyperspaceFrames, 0) << "random hyperspace after the wrap";
    EXPECT_GT(hyperspaceStart, 0.0) << "started after the wrap";
    EXPECT_LT(hyperspaceStart, ms * 0.001);

    // Escape still ends the program, after the usual fade of about 2.7 s.
    OnDemoKey(27, 0, 0);
    int fadeFrames = 0;
    for (; fadeFrames < 400 && exitCalls == 0; ++fadeFrames) {
        FrameAt(ms += 16);
    }
    EXPECT_EQ(exitCalls, 1);
    EXPECT_EQ(exitStatus, 0);
    EXPECT_GE(fadeFrames, 169);
    EXPECT_LE(fadeFrames, 171);
    fadeLevel = 1.0f;
}
