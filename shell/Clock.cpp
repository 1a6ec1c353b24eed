// The shell's clock: a monotonic microsecond counter turned into ElapsedMs.
#include "shell/Clock.h"

#include <ctime>

uint32_t ElapsedMs = 0;
int64_t PerfStart = 0;
int64_t PerfFrequency = 0;

namespace {
constexpr int64_t kMicrosecondsPerSecond = 1000000;
}

int64_t QueryPerfCounter() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * kMicrosecondsPerSecond + now.tv_nsec / 1000;
}

int64_t QueryPerfFrequency() {
    return kMicrosecondsPerSecond;
}

uint32_t ElapsedMsFromCounts(int64_t count, int64_t start, int64_t frequency) {
    if (frequency <= 0) {
        return 0;
    }
    const int64_t milliseconds = ((count - start) * 1000) / frequency;
    return static_cast<uint32_t>(static_cast<uint64_t>(milliseconds) & 0xffffffffu);
}
