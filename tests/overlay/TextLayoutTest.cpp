// The 16-bit pixel arithmetic of text positions: truncation toward zero, the 16-bit wrap,
// and the pen's per-character truncation.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "overlay/TextLayout.h"

TEST(TextLayoutTest, ToPixel16TruncatesTowardZero) {
    EXPECT_EQ(ToPixel16(7.2), 7);
    EXPECT_EQ(ToPixel16(7.99), 7);
    EXPECT_EQ(ToPixel16(-12.8), -12) << "toward zero, not down";
    EXPECT_EQ(ToPixel16(-0.5), 0);
    EXPECT_EQ(ToPixel16(43.2), 43) << "480 x 0.09";
    EXPECT_EQ(ToPixel16(32767.9), 32767);
    EXPECT_EQ(ToPixel16(-32768.9), -32768);
}

TEST(TextLayoutTest, ToPixel16WrapsLikeASixteenBitStore) {
    EXPECT_EQ(ToPixel16(32768.0), -32768);
    EXPECT_EQ(ToPixel16(65536.0 + 5.7), 5);
    EXPECT_EQ(ToPixel16(-32769.0), 32767);
    // Beyond the 32-bit range too: 10^12 is 0xE8D4A51000, whose low 16 bits are 0x1000.
    EXPECT_EQ(ToPixel16(1e12), 0x1000);
    EXPECT_EQ(ToPixel16(-1e12), -0x1000);
    EXPECT_EQ(ToPixel16(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(ToPixel16(std::numeric_limits<double>::infinity()), 0);
}

TEST(TextLayoutTest, PenTruncatesAfterEveryCharacter) {
    // Size 18: an advance of 7.2 moves the pen 7 each time, never catching up the fractions.
    int16_t pen = 30;
    for (int i = 1; i <= 10; ++i) {
        pen = AdvancePen(pen, 18 * 0.4f);
        EXPECT_EQ(pen, 30 + 7 * i) << "after " << i << " characters";
    }
    // From -20 the first step goes to -12 (toward zero), the next to -4, then 3 and 10.
    const int16_t expected[] = {-12, -4, 3, 10};
    pen = -20;
    for (int16_t want : expected) {
        pen = AdvancePen(pen, 18 * 0.4f);
        EXPECT_EQ(pen, want);
    }
    EXPECT_EQ(AdvancePen(0, 20 * 0.4f), 8);
    EXPECT_EQ(AdvancePen(0, 30 * 0.4f), 12);
    EXPECT_EQ(AdvancePen(32767, 8.0f), -32761) << "the pen wraps as a 16-bit integer";
}
