// The frame step's time, clamp, clock-wrap rebase, frame-rate count, random hyperspace rule
// and fade-out step.
#include "shell/FrameTiming.h"

namespace {
constexpr double kLongestFrame = 0.1;   // frames longer than this ...
constexpr float kClampedFrame = 0.05f;  // ... count as this long
constexpr double kHyperspaceCheckInterval = 3.0;
constexpr double kHyperspaceMinimumGap = 10.0;
constexpr double kHyperspaceRate = 40.0;
constexpr double kFadePerSecond = 0.35;
constexpr float kFadeEnd = 0.05f;
}  // namespace

FrameTime AdvanceFrameTime(uint32_t elapsedMs, double previousSeconds) {
    FrameTime time;
    time.seconds = static_cast<double>(static_cast<uint64_t>(elapsedMs)) * 0.001;
    time.now = static_cast<float>(time.seconds);
    // The delta comes from the exact times, not from the float now: after some weeks a float
    // second has steps of a quarter or half second, and deltas taken from it would swing
    // negative and clamp (the animation would run backwards and a fade-out might never end).
    time.delta = static_cast<float>(time.seconds - previousSeconds);
    if (static_cast<double>(time.delta) > kLongestFrame) {
        time.delta = kClampedFrame;
    }
    return time;
}

bool ClockWrapped(uint32_t elapsedMs, uint32_t previousElapsedMs) {
    return elapsedMs < previousElapsedMs;
}

double RebasedTime(double seconds) {
    return seconds - kClockWrapSeconds;
}

double RebasedExpiry(double expiry) {
    if (expiry == 0.0) {
        return 0.0;
    }
    const double rebased = RebasedTime(expiry);
    return rebased == 0.0 ? -1.0 : rebased;
}

void CountFrame(float now, int32_t& frameCount, int32_t& framesPerSecond, double& nextFpsSecond) {
    frameCount += 1;
    if (now >= nextFpsSecond) {
        nextFpsSecond += 1.0;
        framesPerSecond = frameCount;
        frameCount = 0;
    }
}

bool HyperspaceCheckDue(float now, double lastCheck) {
    return now > lastCheck + kHyperspaceCheckInterval;
}

Hyperspace CheckHyperspace(const Hyperspace& state, double r, float now, float frameDelta) {
    Hyperspace next = state;
    if (r < kHyperspaceRate * frameDelta) {
        if (state.clearEachFrame == 1 && now > state.start + kHyperspaceMinimumGap) {
            next.start = now;
            next.clearEachFrame = 0;
        }
    } else if (state.clearEachFrame == 0) {
        next.clearEachFrame = 1;
    }
    next.lastCheck = now;
    return next;
}

float FadeStep(float fadeLevel, float frameDelta) {
    if (!(fadeLevel < 1.0f)) {
        return fadeLevel;
    }
    return static_cast<float>(fadeLevel - frameDelta * kFadePerSecond);
}

bool FadeEnded(float fadeLevel) {
    return fadeLevel < kFadeEnd;
}
