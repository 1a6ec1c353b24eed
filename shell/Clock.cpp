// The shell's clock: the platform's monotonic counter (PerfCounter*.cpp) turned into
// ElapsedMs.
#include "shell/Clock.h"

uint32_t ElapsedMs = 0;
int64_t PerfStart = 0;
int64_t PerfFrequency = 0;

namespace {
constexpr int kMillisecondDigits = 3;  // 1000 = 10^3
constexpr uint64_t kDecimalBase = 10;

// floor(remainder * 1000 / frequency) for remainder < frequency, without forming the
// product: three steps of decimal long division, each multiplying the running remainder by
// ten through additions reduced modulo frequency. Every sum stays below 2 * frequency, so
// no frequency that a signed 64-bit count can hold overflows it.
uint64_t SubSecondMs(uint64_t remainder, uint64_t frequency) {
    uint64_t milliseconds = 0;
    for (int digit = 0; digit < kMillisecondDigits; ++digit) {
        uint64_t next = 0;
        uint64_t quotient = 0;
        for (uint64_t step = 0; step < kDecimalBase; ++step) {
            next += remainder;
            if (next >= frequency) {
                next -= frequency;
                ++quotient;
            }
        }
        milliseconds = milliseconds * kDecimalBase + quotient;
        remainder = next;
    }
    return milliseconds;
}
}  // namespace

uint32_t ElapsedMsFromCounts(int64_t count, int64_t start, int64_t frequency) {
    if (frequency <= 0) {
        return 0;
    }
    // Whole seconds and the rest apart, so that no product of the count and 1000 is formed.
    // The magnitude is divided and the sign put back, which truncates toward zero.
    const int64_t counts = count - start;
    const uint64_t magnitude =
        counts < 0 ? 0 - static_cast<uint64_t>(counts) : static_cast<uint64_t>(counts);
    const uint64_t hertz = static_cast<uint64_t>(frequency);
    const uint64_t milliseconds =
        (magnitude / hertz) * 1000 + SubSecondMs(magnitude % hertz, hertz);
    const uint64_t signedMs = counts < 0 ? 0 - milliseconds : milliseconds;
    return static_cast<uint32_t>(signedMs & 0xffffffffu);
}
