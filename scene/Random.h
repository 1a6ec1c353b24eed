// The demo's own random source: a 15-bit linear congruential generator, kept apart from the
// C library's rand and srand so that every random decision follows from the demo's seeds.
#pragma once

#include <cstdint>

namespace Random {
// The generator state before the first seeding.
constexpr uint32_t kStartState = 1;
// Sets the generator state.
void srand(uint32_t seed);
// state = state * 214013 + 2531011 (mod 2^32); returns (state >> 16) & 32767.
int rand();
// The current state, for tests and tools that need to save and compare it.
uint32_t State();
}  // namespace Random

// One draw scaled into [0, max): rand() / 32768.0 * max. The only consumer of Random::rand.
double RandomRange(double max);
