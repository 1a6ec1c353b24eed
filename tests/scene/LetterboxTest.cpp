// The letterbox bar arithmetic, without a window: the bottom and top rows of the scene's band
// for every step and the window heights the demo meets.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "scene/Camera.h"

namespace {
struct Band {
    int step;
    int bottom;
    int top;
};
}  // namespace

TEST(LetterboxTest, BandsOfA480RowWindow) {
    // 5 % of the height per step from each edge; step 6 keeps the middle 70 %.
    const Band expected[] = {{0, 0, 480},  {1, 24, 456},  {2, 48, 432}, {3, 72, 408},
                             {4, 96, 384}, {5, 120, 360}, {6, 144, 336}};
    for (const Band& band : expected) {
        const LetterboxBars bars = ComputeLetterbox(band.step, 480);
        EXPECT_EQ(bars.bottom, band.bottom) << "step " << band.step;
        EXPECT_EQ(bars.top, band.top) << "step " << band.step;
    }
}

TEST(LetterboxTest, BandsOfA768RowWindowTruncateTowardZero) {
    // 0.05 * 768 = 38.4 and 0.95 * 768 = 729.6: the top bar is a row taller than the bottom.
    const Band expected[] = {{0, 0, 768},   {1, 38, 729},  {2, 76, 691}, {3, 115, 652},
                             {4, 153, 614}, {5, 192, 576}, {6, 230, 537}};
    for (const Band& band : expected) {
        const LetterboxBars bars = ComputeLetterbox(band.step, 768);
        EXPECT_EQ(bars.bottom, band.bottom) << "step " << band.step;
        EXPECT_EQ(bars.top, band.top) << "step " << band.step;
    }
}

TEST(LetterboxTest, NegativeStepsMirrorPositiveOnes) {
    for (int step = 1; step <= 6; ++step) {
        const LetterboxBars positive = ComputeLetterbox(step, 768);
        const LetterboxBars negative = ComputeLetterbox(-step, 768);
        EXPECT_EQ(negative.bottom, positive.bottom) << "step " << step;
        EXPECT_EQ(negative.top, positive.top) << "step " << step;
    }
}

TEST(LetterboxTest, DegenerateWindowsAndStepsStayInRange) {
    // A one-row window at step 6: 0.3 and 0.7 rows both truncate to 0, an empty band.
    LetterboxBars bars = ComputeLetterbox(6, 1);
    EXPECT_EQ(bars.bottom, 0);
    EXPECT_EQ(bars.top, 0);
    bars = ComputeLetterbox(3, 0);
    EXPECT_EQ(bars.bottom, 0);
    EXPECT_EQ(bars.top, 0);
    // Step 10 meets in the middle; beyond it the bars cross.
    bars = ComputeLetterbox(10, 480);
    EXPECT_EQ(bars.bottom, 240);
    EXPECT_EQ(bars.top, 240);
    bars = ComputeLetterbox(12, 480);
    EXPECT_GT(bars.bottom, bars.top);
    // The lowest int32 has no int32 absolute value, and heights beyond 16 bits do not wrap.
    bars = ComputeLetterbox(std::numeric_limits<int32_t>::min(), 480);
    EXPECT_EQ(bars.bottom, std::numeric_limits<int16_t>::max());
    EXPECT_EQ(bars.top, std::numeric_limits<int16_t>::min());
    bars = ComputeLetterbox(0, 100000);
    EXPECT_EQ(bars.bottom, 0);
    EXPECT_EQ(bars.top, std::numeric_limits<int16_t>::max());
}
