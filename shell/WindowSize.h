// The window's client size in pixels, which the reshape callback keeps and the camera, the
// overlay and the pointer handlers read.
#pragma once

#include <cstdint>

struct WindowExtent {
    uint32_t width;
    uint32_t height;
};

// Current client size in pixels, 640 x 480 until the first reshape.
extern WindowExtent WindowSize;
