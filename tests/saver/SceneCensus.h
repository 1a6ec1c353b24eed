// End-to-end support for tavik-saver: pictures of windows judged for the scene's rings and
// stars, and waiting for a condition while the software renderer warms up.
#pragma once

#include <functional>

#include "tests/support/DemoProcess.h"

// What a frame of the scene holds: pixels inside solid shapes (lit ring surface: the pixel
// and its neighbours four pixels away on every side are bright) and isolated specks (stars:
// bright, with dark pixels four away on both sides along a row or a column).
struct SceneCensus {
    int ringPixels = 0;
    int starPixels = 0;
};
SceneCensus CountScene(const Picture& shot);
// Rings cover at least a hundredth of the picture and there are at least 20 star pixels.
bool ShowsRingsAndStars(const Picture& shot);

// Polls condition every 50 ms until it holds (true) or the time is up (false).
bool WaitFor(const std::function<bool()>& condition, double seconds);
