// The millisecond clock's integer arithmetic.
#include <gtest/gtest.h>

#include <cstdint>

#include "shell/Clock.h"

TEST(ClockTest, ElapsedMsTruncatesTowardZero) {
    const int64_t us = 1000000;
    EXPECT_EQ(ElapsedMsFromCounts(0, 0, us), 0u);
    EXPECT_EQ(ElapsedMsFromCounts(999, 0, us), 0u) << "999 us is not yet a millisecond";
    EXPECT_EQ(ElapsedMsFromCounts(1999, 0, us), 1u);
    EXPECT_EQ(ElapsedMsFromCounts(5000000 + 123456, 123456, us), 5000u) << "counts from start";
    // Counters of other frequencies keep the same definition.
    EXPECT_EQ(ElapsedMsFromCounts(3, 0, 3), 1000u);
    EXPECT_EQ(ElapsedMsFromCounts(2, 0, 3), 666u);
}

TEST(ClockTest, ElapsedMsIsTheLow32BitsAfterAbout49Days) {
    const int64_t us = 1000000;
    const int64_t wrapMs = int64_t{1} << 32;
    EXPECT_EQ(ElapsedMsFromCounts((wrapMs - 1) * 1000, 0, us), 0xffffffffu);
    EXPECT_EQ(ElapsedMsFromCounts(wrapMs * 1000, 0, us), 0u);
    EXPECT_EQ(ElapsedMsFromCounts((wrapMs + 1234) * 1000, 0, us), 1234u);
}

TEST(ClockTest, MicrosecondCounterDoesNotOverflowInCenturies) {
    // 250 years of microseconds times 1000 still fits a signed 64-bit integer.
    const int64_t us = QueryPerfFrequency();
    ASSERT_EQ(us, 1000000);
    const int64_t centuries = int64_t{250} * 365 * 24 * 3600 * us;
    const uint64_t expectedMs = static_cast<uint64_t>(centuries / 1000);
    EXPECT_EQ(ElapsedMsFromCounts(centuries, 0, us),
              static_cast<uint32_t>(expectedMs & 0xffffffffu));
}

TEST(ClockTest, CounterIsMonotonic) {
    const int64_t a = QueryPerfCounter();
    const int64_t b = QueryPerfCounter();
    EXPECT_LE(a, b);
    EXPECT_GT(a, 0);
}

TEST(ClockTest, StartsAtZeroAnd640By480) {
    EXPECT_EQ(ElapsedMs, 0u);
    EXPECT_EQ(WindowSize.width, 640u);
    EXPECT_EQ(WindowSize.height, 480u);
    EXPECT_DOUBLE_EQ(ElapsedSeconds(), 0.0);
}
