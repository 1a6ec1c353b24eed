// Small immediate-mode geometry helpers: vector normalisation, a textured sphere of
// triangle strips and a torus of quad strips.
#pragma once

#include <cstdint>

void NormalizeVector(float x, float y, float z, float* outX, float* outY, float* outZ);
// Leaves the current normal and texture coordinate at the last values emitted.
void DrawTexturedSphere(double radius, int32_t slices, int32_t stacks, double sScale, double tScale,
                        double sOffset, double tOffset);
// Leaves the current texture coordinate at the last value emitted.
void DrawTorusStrips(int32_t sides, double majorRadius, double minorRadius);
