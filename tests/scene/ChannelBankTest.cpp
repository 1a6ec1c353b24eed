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

TEST(RandomDeathTest, StateIsOneBeforeTheFirstSeeding) {
    // A fresh process, in which nothing has seeded or drawn yet.
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(std::exit(Random::State() == 1u && Random::rand() == 41 ? 0 : 1),
                ::testing::ExitedWithCode(0), "");
}

TEST(RandomTest, KnownSequencesAndRandomRange) {
    Random::srand(0);
    const int expected[] = {38, 7719, 21238, 2437, 8855};
    for (int value : expected) {
        EXPECT_EQ(Random::rand(), value);
    }
    Random::srand(0);
    EXPECT_DOUBLE_EQ(RandomRange(3.0), 38 / 32768.0 * 3.0);
    // The largest of many draws comes close to max but stays below it.
    double largest = 0.0;
    for (int i = 0; i < 200000; ++i) {
        largest = std::max(largest, RandomRange(2.0));
    }
    EXPECT_LT(largest, 2.0);
    EXPECT_GT(largest, 1.999);
}

TEST(RandomTest, LeavesTheCLibraryGeneratorAlone) {
    std::srand(7);
    const int first = std::rand();
    std::srand(7);
    Random::srand(0);
    Random::rand();
    EXPECT_EQ(std::rand(), first);
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
    ChannelBank model = channelBank;

    // A model of the frames written from the rules. A time step of 5 s gives each event a
    // chance of one half, so flags flip and new targets are drawn on many channels.
    const float dt = 5.0f;
    const uint32_t seed = 777;
    Random::srand(seed);
    ReferenceRandom ref{seed};
    auto draw = [&](double max) { return ref.Next() / 32768.0 * max; };
    const double speed[] = {0, 2.0, 3.0, 5.0, 7.0};
    int flips = 0, targets = 0, signsNearTheThreshold = 0;
    for (int frame = 0; frame < 2; ++frame) {
        AdvanceChannels(40, dt, s);
        for (int i = 0; i < 40; ++i) {
            if (draw(1.0) < dt * 0.1) {
                model.steering[i] = model.steering[i] ? 0 : 1;
                ++flips;
            }
            if (draw(1.0) < dt * 0.1) {
                const double m = draw(0.02) + 0.02;
                const double sign = draw(1.0);
                model.target[i] = sign < 0.45 ? m : -m;
                ++targets;
                signsNearTheThreshold += sign >= 0.45 && sign < 0.55;
            }
            double& v = model.velocity[i];
            v = model.steering[i] ? v + (model.target[i] - v) * 0.001 : v * 0.999;
            const int group = i == 0 ? 0 : i <= 3 ? 1 : i <= 6 ? 2 : i <= 19 ? 3 : 4;
            if (group == 0) {
                model.phase[i] += double(dt) * 0.001;
            } else {
                model.phase[i] += speed[group] * v * double(dt) * (group == 1 ? 57.3 : 1.0);
            }
            EXPECT_EQ(channelBank.steering[i], model.steering[i]) << "channel " << i;
            EXPECT_DOUBLE_EQ(channelBank.target[i], model.target[i]) << "channel " << i;
            EXPECT_DOUBLE_EQ(channelBank.velocity[i], model.velocity[i]) << "channel " << i;
            EXPECT_DOUBLE_EQ(channelBank.phase[i], model.phase[i]) << "channel " << i;
        }
    }
    EXPECT_EQ(Random::State(), ref.State()) << "the same number of draws";
    EXPECT_GT(flips, 10);
    EXPECT_GT(targets, 10);
    EXPECT_GT(signsNearTheThreshold, 0) << "no sign draw between 0.45 and 0.55";
}

TEST(ChannelBankTest, ZeroTimeStepsMoveNoPhaseButStillStepVelocities) {
    // With dt 0 no flag flips and no target is drawn, yet each call steps every velocity once:
    // after 1000 calls a coasting one keeps 0.999^1000 of itself, a steering one closes all
    // but that share of its gap to the target.
    Settings& s = DefaultSettings();
    Random::srand(0);
    RandomizeChannels(40);
    channelBank.steering[5] = 0;
    channelBank.velocity[6] = 0.0;
    const ChannelBank before = channelBank;
    Random::srand(3);
    for (int frame = 0; frame < 1000; ++frame) {
        AdvanceChannels(40, 0.0f, s);
    }
    const uint32_t after = Random::State();
    Random::srand(3);
    for (int i = 0; i < 80 * 1000; ++i) {
        Random::rand();
    }
    EXPECT_EQ(after, Random::State()) << "two draws per channel and call";
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(channelBank.phase[i], before.phase[i]) << "channel " << i;
        EXPECT_EQ(channelBank.steering[i], before.steering[i]) << "channel " << i;
        EXPECT_EQ(channelBank.target[i], before.target[i]) << "channel " << i;
    }
    const double kept = std::pow(0.999, 1000);
    EXPECT_NEAR(channelBank.velocity[5], before.velocity[5] * kept, 1e-12);
    EXPECT_NEAR(before.target[6] - channelBank.velocity[6], before.target[6] * kept, 1e-12);
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
