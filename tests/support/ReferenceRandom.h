// The demo's random source written out again from its definition, so that tests can predict
// the draws of the code under test: state = state x 214013 + 2531011 (mod 2^32), each draw
// (state >> 16) AND 32767, and a range draw / 32768 x max.
#pragma once

#include <cstdint>

class ReferenceRandom {
public:
    explicit ReferenceRandom(uint32_t seed) : state(seed) {}
    // The next 15-bit draw, 0 to 32767.
    int Next();
    // The next draw scaled into [0, max).
    double Range(double max);
    // The state after the draws so far, to compare with the demo's.
    uint32_t State() const { return state; }

private:
    uint32_t state;
};
