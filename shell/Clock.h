// The millisecond clock that the whole demo reads. ElapsedMs counts from the moment just
// before AppInit.
#pragma once

#include <cstdint>

// Milliseconds since the clock start, low 32 bits; 0 until the first frame.
extern uint32_t ElapsedMs;
// Counter value taken just before AppInit, and counts per second.
extern int64_t PerfStart;
extern int64_t PerfFrequency;

// A monotonic counter in microseconds and its frequency. Microseconds keep
// (count - start) * 1000 inside a signed 64-bit integer for about 292 years of running.
int64_t QueryPerfCounter();
int64_t QueryPerfFrequency();

// The low 32 bits of ((count - start) * 1000) / frequency, in signed 64-bit integer
// arithmetic with truncation toward zero.
uint32_t ElapsedMsFromCounts(int64_t count, int64_t start, int64_t frequency);

// ElapsedMs converted without sign and scaled to seconds.
inline double ElapsedSeconds() {
    return static_cast<double>(ElapsedMs) * 0.001;
}
