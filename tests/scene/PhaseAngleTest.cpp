// PhaseAngle: a channel's phase turned into an angle for OpenGL, reduced to one turn so that
// a phase driven far by a saturated speed still gives a finite float angle.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/ChannelBank.h"

TEST(PhaseAngleTest, SameTurnAsTheUnreducedAngleAndAlwaysWithinOneTurn) {
    const double phases[] = {0.0, 0.3, 3.1, -2.5, 47.9, 1234.5, -98765.4, 1e12, 1e38, -1e300};
    for (const double phase : phases) {
        SCOPED_TRACE(phase);
        channelBank.phase[13] = phase;
        const double angle = PhaseAngle(13, 720.0);
        EXPECT_GT(angle, -360.0);
        EXPECT_LT(angle, 360.0);
        EXPECT_TRUE(std::isfinite(static_cast<float>(angle)));
        if (std::fabs(phase) < 1e6) {
            const double unreduced = phase * 720.0 * M_PI / 180.0;
            const double reduced = angle * M_PI / 180.0;
            EXPECT_NEAR(std::cos(reduced), std::cos(unreduced), 1e-9);
            EXPECT_NEAR(std::sin(reduced), std::sin(unreduced), 1e-9);
        }
    }
    channelBank.phase[1] = 20.0;
    EXPECT_DOUBLE_EQ(PhaseAngle(1, 10.0), 200.0) << "angles within a turn are kept as they are";
    channelBank.phase[13] = 0.0;
    channelBank.phase[1] = 0.0;
}
