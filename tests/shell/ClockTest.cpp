// The millisecond clock's integer arithmetic.
#include <gtest/gtest.h>

#include <cstdint>

#include "shell/Clock.h"

TEST(ClockTest, ElapsedMsTruncatesTowardZeroAndCountsFromTheStart) {
    const int64_t us = QueryPerfFrequency();
    ASSERT_EQ(us, 1000000);
    EXPECT_EQ(ElapsedMsFromCounts(999, 0, us), 0u) << "999 us is not yet a millisecond";
    EXPECT_EQ(ElapsedMsFromCounts(1999, 0, us), 1u);
    EXPECT_EQ(ElapsedMsFromCounts(5000000 + 123456, 123456, us), 5000u) << "counts from start";
    // Counters of other frequencies keep the same definition.
    EXPECT_EQ(ElapsedMsFromCounts(3, 0, 3), 1000u);
    EXPECT_EQ(ElapsedMsFromCounts(2, 0, 3), 666u);
    EXPECT_EQ(ElapsedMsFromCounts(5, 0, 0), 0u) << "no frequency yet";
    const int64_t a = QueryPerfCounter();
    EXPECT_LE(a, QueryPerfCounter()) << "monotonic";
    EXPECT_GT(a, 0);
}

TEST(ClockTest, ElapsedMsIsTheLow32BitsAndDoesNotOverflowInCenturies) {
    const int64_t us = 1000000;
    const int64_t wrapMs = int64_t{1} << 32;
    EXPECT_EQ(ElapsedMsFromCounts((wrapMs - 1) * 1000, 0, us), 0xffffffffu);
    EXPECT_EQ(ElapsedMsFromCounts(wrapMs * 1000, 0, us), 0u);
    EXPECT_EQ(ElapsedMsFromCounts((wrapMs + 1234) * 1000, 0, us), 1234u);
    // 250 years of microseconds times 1000 still fits a signed 64-bit integer.
    const int64_t centuries = int64_t{250} * 365 * 24 * 3600 * us;
    EXPECT_EQ(ElapsedMsFromCounts(centuries, 0, us),
              static_cast<uint32_t>(static_cast<uint64_t>(centuries / 1000) & 0xffffffffu));
    // Windows' 10 MHz counter after 300 years, where count * 1000 no longer fits, and the
    // largest frequency: the seconds and the rest are converted apart.
    const int64_t tenMHz = 10000000;
    const int64_t years300Ms = int64_t{300} * 365 * 24 * 3600 * 1000 + 7;
    EXPECT_EQ(ElapsedMsFromCounts(years300Ms * (tenMHz / 1000) + 9999, 0, tenMHz),
              static_cast<uint32_t>(static_cast<uint64_t>(years300Ms) & 0xffffffffu));
    EXPECT_EQ(ElapsedMsFromCounts(INT64_MAX - 1, 0, INT64_MAX), 999u);
    EXPECT_EQ(ElapsedMsFromCounts(0, 1500, 1000), static_cast<uint32_t>(-1500)) << "toward zero";
}
