// The 16-bit pixel arithmetic of the text overlay: every text position and pen step is
// truncated toward zero and kept as a signed 16-bit integer, written once here.
#pragma once

#include <cstdint>

// value truncated toward zero and stored as a signed 16-bit integer, wrapping modulo 2^16
// the way a 16-bit store does. A value that is not finite gives 0.
int16_t ToPixel16(double value);

// The pen after one character: pen + advance, added in float, then ToPixel16.
int16_t AdvancePen(int16_t pen, float advance);
