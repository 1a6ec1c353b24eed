// The 15-bit linear congruential generator and RandomRange.
#include "scene/Random.h"

namespace {
uint32_t state = Random::kStartState;
}

namespace Random {
void srand(uint32_t seed) {
    state = seed;
}

int rand() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 32767u);
}

uint32_t State() {
    return state;
}
}  // namespace Random

double RandomRange(double max) {
    return static_cast<double>(Random::rand()) / 32768.0 * max;
}
