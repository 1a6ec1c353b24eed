// The clock's counter on POSIX systems: CLOCK_MONOTONIC in microseconds.
#include <ctime>

#include "shell/Clock.h"

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
