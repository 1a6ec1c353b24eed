// The random source and the animation channels, without a window.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "scene/ChannelBank.h"
#include "scene/Random.h"
#include "shell/Settings.h"
#include "tests/support/ReferenceRandom.h"

namespace {
Settings& DefaultSettings() {
    ResetSettings();
    return settings;
}

void ClearBank() {
    std::memset(&channelBank, 0, sizeof channelBank);
}
}  // namespace

TEST(RandomTest, KnownSequencesAndRange) {
    // Before any seeding the state is 1 (this must be the first draw in this program).
    Random::srand(0);
    const int expected[] = {38, 7719, 21238, 2437, 8855};
    for (int value : expected) {
        EXPECT_EQ(Random::rand(), value);
    }
    Random::srand(12345);
    ReferenceRandom reference{12345};
    for (int i = 0; i < 100000; ++i) {
        const int value = Random::rand();
        ASSERT_EQ(value, reference.Next()) << "draw " << i;
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
    }
}

TEST(RandomTest, LeavesTheCLibraryGeneratorAlone) {
    std::srand(7);
    const int first = std::rand();
    std::srand(7);
    Random::srand(0);
    Random::rand();
    EXPECT_EQ(std::rand(), first);
}

TEST(RandomTest, RandomRangeScalesOneDraw) {
    Random::srand(0);
    EXPECT_DOUBLE_EQ(RandomRange(1.0), 38 / 32768.0);
    EXPECT_DOUBLE_EQ(RandomRange(3.0), 7719 / 32768.0 * 3.0);
    // The largest draw stays below max.
    Random::srand(0);
    double largest = 0.0;
    for (int i = 0; i < 200000; ++i) {
        largest = std::max(largest, RandomRange(2.0));
    }
    EXPECT_LT(largest, 2.0);
    EXPECT_GT(largest, 1.999);
}

TEST(ChannelBankTest, RandomizeSeedsChannelsOneOnwardInDrawOrder) {
    ClearBank();
    channelBank.phase[0] = 0.5;
    Random::srand(0);
    RandomizeChannels(40);
    EXPECT_EQ(channelBank.phase[0], 0.5) << "channel 0 is never seeded";
    EXPECT_EQ(channelBank.steering[0], 0);
    ReferenceRandom reference{0};
    for (int i = 1; i < 40; ++i) {
        const double phase = reference.Next() / 32768.0 * 3.141592654;
        const double target = reference.Next() / 32768.0 * 0.02 + 0.02;
        EXPECT_DOUBLE_EQ(channelBank.phase[i], phase) << "channel " << i;
        EXPECT_DOUBLE_EQ(channelBank.target[i], target) << "channel " << i;
        EXPECT_EQ(channelBank.velocity[i], channelBank.target[i]);
        EXPECT_EQ(channelBank.steering[i], 1);
        EXPECT_GE(channelBank.phase[i], 0.0);
        EXPECT_LT(channelBank.phase[i], 3.141592654);
        EXPECT_GE(channelBank.target[i], 0.02);
        EXPECT_LT(channelBank.target[i], 0.04);
    }
}

TEST(ChannelBankTest, RandomizeWithCountOneChangesNothing) {
    ClearBank();
    Random::srand(5);
    RandomizeChannels(1);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(channelBank.phase[i], 0.0);
        EXPECT_EQ(channelBank.steering[i], 0);
    }
    EXPECT_EQ(Random::State(), 5u) << "no draw was made";
}

TEST(ChannelBankTest, AdvanceFollowsTheDrawOrderAndGroupSpeeds) {
    Settings& s = DefaultSettings();
    s.rotateSpeed = 2.0f;
    s.movementSpeed = 3.0f;
    s.mainSpeed = 5.0f;
    s.lightRotateSpeed = 7.0f;
    Random::srand(0);
    RandomizeChannels(40);
    ChannelBank before = channelBank;

    // A model of one frame written from the rules, with large dt so events happen.
    const float dt = 0.05f;
    const uint32_t seed = 777;
    Random::srand(seed);
    AdvanceChannels(40, dt, s);

    ReferenceRandom ref{seed};
    auto draw = [&](double max) { return ref.Next() / 32768.0 * max; };
    const double speed[] = {0, 2.0, 3.0, 5.0, 7.0};
    for (int i = 0; i < 40; ++i) {
        if (draw(1.0) < dt * 0.1) before.steering[i] = before.steering[i] ? 0 : 1;
        if (draw(1.0) < dt * 0.1) {
            const double m = draw(0.02) + 0.02;
            before.target[i] = draw(1.0) < 0.45 ? m : -m;
        }
        double& v = before.velocity[i];
        v = before.steering[i] ? v + (before.target[i] - v) * 0.001 : v * 0.999;
        const int group = i == 0 ? 0 : i <= 3 ? 1 : i <= 6 ? 2 : i <= 19 ? 3 : 4;
        double increment;
        if (group == 0) {
            increment = double(dt) * 0.001;
        } else if (group == 1) {
            increment = speed[1] * v * double(dt) * 57.3;
        } else {
            increment = speed[group] * v * double(dt);
        }
        before.phase[i] += increment;
        EXPECT_EQ(channelBank.steering[i], before.steering[i]) << "channel " << i;
        EXPECT_DOUBLE_EQ(channelBank.target[i], before.target[i]) << "channel " << i;
        EXPECT_DOUBLE_EQ(channelBank.velocity[i], before.velocity[i]) << "channel " << i;
        EXPECT_DOUBLE_EQ(channelBank.phase[i], before.phase[i]) << "channel " << i;
    }
    EXPECT_EQ(Random::State(), ref.State()) << "the same number of draws";
}

TEST(ChannelBankTest, ZeroTimeStepMovesNoPhaseButStillStepsVelocities) {
    Settings& s = DefaultSettings();
    Random::srand(0);
    RandomizeChannels(40);
    channelBank.steering[5] = 0;
    const ChannelBank before = channelBank;
    Random::srand(3);
    AdvanceChannels(40, 0.0f, s);
    ReferenceRandom ref{3};
    for (int i = 0; i < 80; ++i) ref.Next();
    EXPECT_EQ(Random::State(), ref.State()) << "two draws per channel";
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(channelBank.phase[i], before.phase[i]) << "channel " << i;
        EXPECT_EQ(channelBank.steering[i], before.steering[i]) << "channel " << i;
        EXPECT_EQ(channelBank.target[i], before.target[i]) << "channel " << i;
    }
    EXPECT_DOUBLE_EQ(channelBank.velocity[5], before.velocity[5] * 0.999);
}

TEST(ChannelBankTest, RelaxationAndDecayOverManyFrames) {
    Settings& s = DefaultSettings();
    ClearBank();
    channelBank.velocity[10] = 1.0;
    channelBank.steering[10] = 0;
    channelBank.velocity[11] = 0.0;
    channelBank.target[11] = 0.03;
    channelBank.steering[11] = 1;
    for (int frame = 0; frame < 1000; ++frame) {
        AdvanceChannels(40, 0.0f, s);  // dt 0: no random events, one step per call
    }
    EXPECT_NEAR(channelBank.velocity[10], std::pow(0.999, 1000), 1e-12);
    EXPECT_NEAR(0.03 - channelBank.velocity[11], 0.03 * std::pow(0.999, 1000), 1e-12);
}

TEST(ChannelBankTest, ChannelZeroCountsTimeOnly) {
    Settings& s = DefaultSettings();
    ClearBank();
    Random::srand(1);
    double total = 0.0;
    for (int frame = 0; frame < 600; ++frame) {
        AdvanceChannels(40, 1.0f / 60.0f, s);
        total += double(1.0f / 60.0f) * 0.001;
    }
    EXPECT_NEAR(channelBank.phase[0], total, 1e-12);
    EXPECT_NEAR(channelBank.phase[0], 0.01, 1e-6);
}

TEST(ChannelBankTest, NewTargetsHaveBothSignsAndTheirMagnitude) {
    Settings& s = DefaultSettings();
    Random::srand(0);
    RandomizeChannels(40);
    int positive = 0, negative = 0;
    for (int frame = 0; frame < 5000; ++frame) {
        AdvanceChannels(40, 0.05f, s);
        for (int i = 1; i < 40; ++i) {
            const double magnitude = std::fabs(channelBank.target[i]);
            ASSERT_GE(magnitude, 0.02);
            ASSERT_LT(magnitude, 0.04);
        }
    }
    for (int i = 1; i < 40; ++i) {
        (channelBank.target[i] > 0 ? positive : negative)++;
    }
    EXPECT_GT(negative, 5);
    EXPECT_GT(positive, 5);
}

TEST(ChannelBankTest, ChannelWaveValues) {
    ClearBank();
    EXPECT_DOUBLE_EQ(ChannelWave(3, 5.0, 2.0, -1.0), 0.0) << "phase 0 gives offset + amplitude/2";
    channelBank.phase[3] = 3.14159265358979 / (2 * 5.0);
    EXPECT_NEAR(ChannelWave(3, 5.0, 2.0, -1.0), 1.0, 1e-12) << "peak gives offset + amplitude";
    channelBank.phase[3] = -3.14159265358979 / (2 * 5.0);
    EXPECT_NEAR(ChannelWave(3, 5.0, 2.0, -1.0), -1.0, 1e-12) << "trough gives offset";
    channelBank.phase[4] = 0.3;
    EXPECT_DOUBLE_EQ(ChannelWave(4, 1.0, 1.0, -0.5), (std::sin(0.3) * 0.5 + 0.5) - 0.5);
}
