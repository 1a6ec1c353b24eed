// Truncation toward zero and the 16-bit wrap of text positions and pen steps.
#include "overlay/TextLayout.h"

#include <cmath>

int16_t ToPixel16(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    // fmod keeps the truncated value's low 16 bits (with its sign) inside the int32 range.
    const double wrapped = std::fmod(std::trunc(value), 65536.0);
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<int32_t>(wrapped)));
}

int16_t AdvancePen(int16_t pen, float advance) {
    return ToPixel16(pen + advance);
}
