// The reference generator of the tests.
#include "tests/support/ReferenceRandom.h"

int ReferenceRandom::Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 32767u);
}

double ReferenceRandom::Range(double max) {
    return Next() / 32768.0 * max;
}
