// The three solid tori of the gyroscope.
#pragma once

// Draws the ring assembly with the current model-view matrix, which it leaves unchanged.
// Leaves GL_NORMALIZE enabled and the current colour at the rings' colour.
void DrawRings();
