// The frame step's arithmetic, kept apart from drawing: the frame's time and its clamp, the
// move of every timer when the millisecond clock wraps, the frame-rate count, the random
// hyperspace rule and the fade-out step. FrameStep.cpp applies them to the demo's globals.
#pragma once

#include <cstdint>

// The length of the 32-bit millisecond clock's cycle, in seconds.
constexpr double kClockWrapSeconds = 4294967.296;

// One frame's times.
struct FrameTime {
    double seconds;  // ElapsedMs * 0.001, unrounded
    float now;       // the same, stored as float
    float delta;     // seconds since the previous frame, clamped
};

// The times of the frame at elapsedMs after a frame at previousSeconds. The delta is stored
// as float and then compared, widened to double, with 0.1: a longer frame counts as 0.05 s.
// There is no lower bound.
FrameTime AdvanceFrameTime(uint32_t elapsedMs, double previousSeconds);

// True when the clock reads less than on the previous frame: it has wrapped to 0.
bool ClockWrapped(uint32_t elapsedMs, uint32_t previousElapsedMs);
// An absolute time moved back by one clock cycle.
double RebasedTime(double seconds);
// A message expiry moved back by one clock cycle. 0 (no message pending) stays 0; an expiry
// that would land on 0 becomes -1, so that the message still expires on the next frame.
double RebasedExpiry(double expiry);

// Counts one frame at now; once now reaches nextFpsSecond, the count becomes the readout's
// value and nextFpsSecond moves on by exactly one second (not to now + 1).
void CountFrame(float now, int32_t& frameCount, int32_t& framesPerSecond, double& nextFpsSecond);

// The random hyperspace rule's state: the flag it switches and its two times.
struct Hyperspace {
    int clearEachFrame;  // 0 while in hyperspace
    double lastCheck;
    double start;
};
// A check is due once now lies more than 3 s after the last one.
bool HyperspaceCheckDue(float now, double lastCheck);
// One check with the random draw r in [0, 1). r below 40 x frameDelta switches hyperspace
// on, but only from off and more than 10 s after its last start; otherwise hyperspace goes
// off. The check's time is kept in both cases.
Hyperspace CheckHyperspace(const Hyperspace& state, double r, float now, float frameDelta);

// The fade-out level after one frame: below 1 it falls by 0.35 per second of frameDelta,
// computed in double precision and stored as float; 1 and above (no fade) stay as they are.
float FadeStep(float fadeLevel, float frameDelta);
// True once the level has fallen below 0.05, where the fade-out ends the program.
bool FadeEnded(float fadeLevel);
