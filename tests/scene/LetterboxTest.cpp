// The letterbox bar arithmetic, without a window: the bottom and top rows of the scene's band
// for every step and the window heights the demo meets.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "scene/Camera.h"

TEST(LetterboxTest, BandsOf480And768RowWindowsForEveryStepAndItsMirror) {
    // 5 % of the height per step from each edge; step 6 keeps the middle 70 %. At 768 rows
    // 0.05 * 768 = 38.4 and 0.95 * 768 = 729.6 truncate toward zero: the top bar is a row
    // taller than the bottom. A negative step gives the bars of its absolute value.
    const struct {
        int height, step, bottom, top;
    } expected[] = {{480, 0, 0, 480},   {480, 1, 24, 456},  {480, 2, 48, 432},  {480, 3, 72, 408},
                    {480, 4, 96, 384},  {480, 5, 120, 360}, {480, 6, 144, 336}, {768, 0, 0, 768},
                    {768, 1, 38, 729},  {768, 2, 76, 691},  {768, 3, 115, 652}, {768, 4, 153, 614},
                    {768, 5, 192, 576}, {768, 6, 230, 537}};
    for (const auto& band : expected) {
        for (const int step : {band.step, -band.step}) {
            const LetterboxBars bars = ComputeLetterbox(step, band.height);
            EXPECT_EQ(bars.bottom, band.bottom) << band.height << " rows, step " << step;
            EXPECT_EQ(bars.top, band.top) << band.height << " rows, step " << step;
        }
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
