// The millisecond clock that the whole demo reads. ElapsedMs counts from the moment just
// before AppInit.
#pragma once

#include <cstdint>

// Milliseconds since the clock start, low 32 bits; 0 until the first frame.
extern uint32_t ElapsedMs;
// Counter value taken just before AppInit, and counts per second.
extern int64_t PerfStart;
extern int64_t PerfFrequency;

// A monotonic counter and its counts per second, from the platform's file
// (PerfCounterPosix.cpp: microseconds; PerfCounterWindows.cpp: the performance counter).
int64_t QueryPerfCounter();
int64_t QueryPerfFrequency();

// The low 32 bits of ((count - start) * 1000) / frequency, truncated toward zero, computed
// without overflow at any frequency.
uint32_t ElapsedMsFromCounts(int64_t count, int64_t start, int64_t frequency);

// ElapsedMs converted without sign and scaled to seconds.
inline double ElapsedSeconds() {
    return static_cast<double>(ElapsedMs) * 0.001;
}
