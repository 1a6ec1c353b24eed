// The window's client size in pixels, which the reshape callback keeps and the camera, the
// overlay and the pointer handlers read.
#pragma once

#include <cstdint>

struct WindowExtent {
    uint32_t width;
    uint32_t height;
};

// The size the window is created with.
constexpr WindowExtent kStartWindowSize = {640, 480};
// Current client size in pixels, kStartWindowSize until the first reshape.
extern WindowExtent WindowSize;
