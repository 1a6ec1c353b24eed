// Forty random-walk animation channels. Each channel's phase advances at a velocity that
// either relaxes toward a random target or coasts toward rest; the scene reads the phases
// directly as angles or through ChannelWave.
#pragma once

#include <cstdint>

class Settings;

constexpr int kChannelCount = 40;

struct ChannelBank {
    double phase[kChannelCount];      // never wrapped
    double velocity[kChannelCount];   // phase change per second before the group's speed
    double target[kChannelCount];     // velocity approached while steering
    int32_t steering[kChannelCount];  // non-zero: relax toward target; zero: decay toward 0
};

// The one bank, zero at program start.
extern ChannelBank channelBank;

// Seeds channels 1 to count - 1; channel 0 is never touched.
void RandomizeChannels(int count);
// Advances channels 0 to count - 1 by one frame of dt seconds.
void AdvanceChannels(int count, float dt, const Settings& settings);
// (sin(frequency * phase[index]) * 0.5 + 0.5) * amplitude + offset.
double ChannelWave(int index, double frequency, double amplitude, double offset);
// phase[index] * degreesPerPhase as an angle for OpenGL, reduced to (-360, 360): the same
// turn, in a size that OpenGL's float angles still hold after a speed key has made the
// phase run far (beyond the float range, an angle would turn into infinity and the matrix
// into NaN).
double PhaseAngle(int index, double degreesPerPhase);
