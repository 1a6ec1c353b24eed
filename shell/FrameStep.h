// The per-frame step: time, animation, random hyperspace, the scene, the overlay, the
// fade-out after Escape and the OpenGL error check. AppFrame (AppHooks.h) runs it.
#pragma once

#include <cstdint>

// Frame-step globals (all 0 at program start).
extern float nowSeconds;            // this frame's time in seconds, ElapsedMs * 0.001
extern double previousSeconds;      // the previous frame's ElapsedMs * 0.001, unrounded
extern float frameDelta;            // seconds since the previous frame, clamped
extern double lastHyperspaceCheck;  // nowSeconds at the last random hyperspace check
extern double hyperspaceStart;      // nowSeconds when random hyperspace last started

// The ElapsedMs value of the previous frame, to notice the clock's 32-bit wrap.
extern uint32_t previousElapsedMs;

// Puts the frame-step globals and the frame-rate counters back to their program-start
// values, for tools and tests that run several sessions in one process.
void ResetFrameStepState();

// Moves every absolute time the demo keeps back by one clock cycle, so that timers keep
// working after ElapsedMs wraps to 0 (after about 49.7 days).
void RebaseTimersAfterClockWrap();
