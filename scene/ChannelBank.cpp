// Seeding, advancing and reading the animation channels.
#include "scene/ChannelBank.h"

#include <cmath>

#include "scene/Random.h"
#include "shell/Settings.h"

ChannelBank channelBank;

namespace {
constexpr double kPi = 3.141592654;
constexpr double kEventRate = 0.1;     // steering flips and new targets per second
constexpr double kRelaxation = 0.001;  // share of the gap to the target closed per frame
constexpr double kDecay = 0.999;       // velocity kept per frame while coasting
constexpr double kDegreesPerRadian = 57.3;

// The speed that scales a channel's phase advance, by channel group.
double GroupIncrement(int channel, double v, double dt, const Settings& s) {
    if (channel == 0) {
        return dt * 0.001;
    }
    if (channel <= 3) {
        return static_cast<double>(s.rotateSpeed) * v * dt * kDegreesPerRadian;
    }
    if (channel <= 6) {
        return static_cast<double>(s.movementSpeed) * v * dt;
    }
    if (channel <= 19) {
        return static_cast<double>(s.mainSpeed) * v * dt;
    }
    return static_cast<double>(s.lightRotateSpeed) * v * dt;
}

// Number of channels that exist within a requested count.
int ClampCount(int count) {
    return count > kChannelCount ? kChannelCount : count;
}
}  // namespace

void RandomizeChannels(int count) {
    count = ClampCount(count);
    for (int i = 1; i < count; ++i) {
        channelBank.phase[i] = RandomRange(kPi);
        channelBank.target[i] = RandomRange(0.02) + 0.02;
        channelBank.velocity[i] = channelBank.target[i];
        channelBank.steering[i] = 1;
    }
}

void AdvanceChannels(int count, float dt, const Settings& settings) {
    count = ClampCount(count);
    const double seconds = dt;
    for (int i = 0; i < count; ++i) {
        if (RandomRange(1.0) < seconds * kEventRate) {
            channelBank.steering[i] = channelBank.steering[i] ? 0 : 1;
        }
        if (RandomRange(1.0) < seconds * kEventRate) {
            const double magnitude = RandomRange(0.02) + 0.02;
            const double sign = RandomRange(1.0);
            channelBank.target[i] = sign < 0.45 ? magnitude : -magnitude;
        }
        double& velocity = channelBank.velocity[i];
        if (channelBank.steering[i]) {
            velocity = velocity + (channelBank.target[i] - velocity) * kRelaxation;
        } else {
            velocity = velocity * kDecay;
        }
        channelBank.phase[i] += GroupIncrement(i, velocity, seconds, settings);
    }
}

double ChannelWave(int index, double frequency, double amplitude, double offset) {
    return (std::sin(frequency * channelBank.phase[index]) * 0.5 + 0.5) * amplitude + offset;
}

double PhaseAngle(int index, double degreesPerPhase) {
    const double degrees = channelBank.phase[index] * degreesPerPhase;
    return std::isfinite(degrees) ? std::fmod(degrees, 360.0) : 0.0;
}
