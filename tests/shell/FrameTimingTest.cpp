// The frame step's arithmetic without drawing: frame time and clamp, the clock's 32-bit
// wrap, the frame-rate count, the random hyperspace rule and the fade-out step.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "shell/FrameStep.h"
#include "shell/FrameTiming.h"
#include "shell/ProgramState.h"
#include "shell/SceneGlobals.h"
#include "shell/Settings.h"

TEST(FrameTimingTest, DeltaIsClampedAboveATenthOfASecondComparedAsDouble) {
    FrameTime t = AdvanceFrameTime(500, 0.0);
    EXPECT_EQ(t.delta, 0.05f) << "a slow start counts as 0.05 s, not 0.1";
    EXPECT_EQ(t.now, 0.5f);
    EXPECT_EQ(t.seconds, 0.5);
    EXPECT_NEAR(AdvanceFrameTime(516, 0.5).delta, 0.016, 1e-6);
    EXPECT_NEAR(AdvanceFrameTime(615, 0.516).delta, 0.099, 1e-6) << "below 0.1 s: kept";
    // A frame of exactly 100 ms: its delta stored as float is 0.100000001, which is above
    // the double 0.1 (and not above the float 0.1f): clamped.
    EXPECT_EQ(AdvanceFrameTime(100, 0.0).delta, 0.05f);
    EXPECT_EQ(AdvanceFrameTime(1000, 1.5).delta, -0.5f) << "no lower bound";
    EXPECT_EQ(AdvanceFrameTime(1234567, 1234.567).delta, 0.0f) << "the same millisecond";
}

// After weeks a float second has steps of half a second; the delta still comes from the
// exact times, so the animation never runs backwards and a fade-out still ends.
TEST(FrameTimingTest, DeltaIsExactWeeksIntoARun) {
    uint32_t ms = 4200000000u;
    double previous = AdvanceFrameTime(ms, 0.0).seconds;
    for (int i = 0; i < 100; ++i) {
        const FrameTime t = AdvanceFrameTime(ms += 16, previous);
        ASSERT_NEAR(t.delta, 0.016, 1e-6) << "at " << ms;
        EXPECT_EQ(std::fmod(static_cast<double>(t.now), 0.5), 0.0) << "float seconds in halves";
        previous = t.seconds;
    }
}

TEST(FrameTimingTest, ClockWrapMovesEveryTimerBackOneCycle) {
    EXPECT_TRUE(ClockWrapped(5, 0xfffffff0u));
    EXPECT_FALSE(ClockWrapped(5, 5));
    EXPECT_FALSE(ClockWrapped(6, 5));
    EXPECT_EQ(RebasedExpiry(0.0), 0.0) << "no message stays no message";
    EXPECT_EQ(RebasedExpiry(kClockWrapSeconds), -1.0) << "due at the wrap: still pending";
    EXPECT_NEAR(RebasedExpiry(kClockWrapSeconds + 2.0), 2.0, 1e-6);

    // The frame step's globals, 16 ms before and after the wrap.
    RestoreProgramStartState();
    const double before = (0xffffffffu - 7u) * 0.001;
    previousSeconds = before;
    lastHyperspaceCheck = before - 1.0;
    hyperspaceStart = before - 20.0;
    nextFpsSecond = std::floor(before) + 1.0;
    textOverlay.messageExpiry = before + 2.0;
    RebaseTimersAfterClockWrap();
    EXPECT_NEAR(AdvanceFrameTime(8, previousSeconds).delta, 0.016, 1e-6);
    EXPECT_NEAR(lastHyperspaceCheck, -0.008 - 1.0, 1e-6);
    EXPECT_NEAR(hyperspaceStart, -0.008 - 20.0, 1e-6);
    EXPECT_NEAR(nextFpsSecond, std::floor(before) + 1.0 - kClockWrapSeconds, 1e-9);
    EXPECT_NEAR(textOverlay.messageExpiry, 2.0 - 0.008, 1e-6);
    RestoreProgramStartState();
}

TEST(FrameTimingTest, FrameRateCountsOneSecondPerUpdateAndCatchesUpAfterAStall) {
    int32_t count = 0, perSecond = 30;
    double next = 1.0;
    uint32_t ms = 0;
    auto frame = [&](uint32_t step) {
        CountFrame(AdvanceFrameTime(ms += step, 0.0).now, count, perSecond, next);
    };
    for (int i = 0; i < 49; ++i) {
        frame(20);
    }
    EXPECT_EQ(perSecond, 30) << "30 until the clock passes 1 s";
    frame(20);
    EXPECT_EQ(perSecond, 50);
    frame(4000);  // a stall of four seconds: updates on consecutive frames until caught up
    EXPECT_EQ(perSecond, 1);
    EXPECT_EQ(next, 3.0);
    frame(20);
    EXPECT_EQ(perSecond, 1);
    EXPECT_EQ(next, 4.0);
    frame(20);
    frame(20);
    EXPECT_EQ(next, 6.0) << "one second per update, not now + 1";
    frame(20);
    EXPECT_EQ(next, 6.0) << "caught up";
    EXPECT_EQ(count, 1);
}

TEST(FrameTimingTest, HyperspaceRule) {
    EXPECT_FALSE(HyperspaceCheckDue(3.0f, 0.0)) << "more than 3 s, strictly";
    EXPECT_TRUE(HyperspaceCheckDue(3.05f, 0.0));
    EXPECT_FALSE(HyperspaceCheckDue(20.0f, 17.5));

    const float delta = 0.01f;
    const double rate = 40.0 * delta;  // in double, from the float delta
    const Hyperspace off{1, 15.0, 0.0};
    // Below the rate and more than 10 s after the last start: on.
    Hyperspace next = CheckHyperspace(off, std::nextafter(rate, 0.0), 18.5f, delta);
    EXPECT_EQ(next.clearEachFrame, 0);
    EXPECT_EQ(next.start, 18.5);
    EXPECT_EQ(next.lastCheck, 18.5);
    // At the rate: off (it is off already), and only the check's time moves.
    next = CheckHyperspace(off, rate, 18.5f, delta);
    EXPECT_EQ(next.clearEachFrame, 1);
    EXPECT_EQ(next.start, 0.0);
    EXPECT_EQ(next.lastCheck, 18.5);
    // Below the rate but not more than 10 s after the last start: nothing changes.
    next = CheckHyperspace({1, 15.0, 8.5}, 0.0, 18.5f, delta);
    EXPECT_EQ(next.clearEachFrame, 1);
    EXPECT_EQ(next.start, 8.5);
    // In hyperspace: a draw at the rate or above ends it, one below keeps it and its start.
    next = CheckHyperspace({0, 15.0, 12.0}, 0.9, 18.5f, delta);
    EXPECT_EQ(next.clearEachFrame, 1);
    next = CheckHyperspace({0, 15.0, 5.0}, 0.1, 18.5f, delta);
    EXPECT_EQ(next.clearEachFrame, 0);
    EXPECT_EQ(next.start, 5.0);
    // A clamped frame (0.05 s) makes 40 x delta 2: every draw says on.
    EXPECT_EQ(CheckHyperspace(off, 0.99997, 18.5f, 0.05f).clearEachFrame, 0);
}

TEST(FrameTimingTest, FadeStepsInDoubleAndEndsAfterAbout2Point7Seconds) {
    EXPECT_EQ(FadeStep(1.0f, 0.016f), 1.0f) << "no fade at full light";
    EXPECT_EQ(FadeStep(0.501649261f, 0.029f), 0.491499275f) << "float arithmetic: 0.491499245";
    EXPECT_FALSE(FadeEnded(0.05f));
    EXPECT_TRUE(FadeEnded(0.0499999f));
    // Escape sets 0.999; (0.999 - 0.05) / (0.016 x 0.35) = 169.5 frames of 16 ms.
    float level = 0.999f;
    int frames = 0;
    for (; frames < 1000 && !FadeEnded(level); ++frames) {
        level = FadeStep(level, 0.016f);
    }
    EXPECT_GE(frames, 169);
    EXPECT_LE(frames, 171);
}
