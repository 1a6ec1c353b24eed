// The viewport with its letterbox bars, the perspective projection and the camera.
#pragma once

// Applies the polygon mode, the letterbox viewport, the projection and the camera.
// Leaves the matrix mode at GL_MODELVIEW holding the camera transform alone.
void SetupView();
