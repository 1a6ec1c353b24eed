// The viewport with its letterbox bars, the perspective projection and the camera.
#pragma once

#include <cstdint>

// The rows where the letterbox bars end: the scene's band runs from bottom up to, but not
// including, top.
struct LetterboxBars {
    int16_t bottom;
    int16_t top;
};

// Bars for the letterbox setting (its absolute value is the step) and a window height:
// bottom = step * 0.05 * height and top = (1 - step * 0.05) * height in double precision,
// truncated toward zero. Uses no OpenGL.
LetterboxBars ComputeLetterbox(int32_t letterbox, uint32_t height);

// Applies the polygon mode, the letterbox viewport, the projection and the camera.
// Leaves the matrix mode at GL_MODELVIEW holding the camera transform alone.
void SetupView();
