// Helpers of the layer's tests: drawing once through Mesa's fixed function and once through
// the layer in the same context, and reading what each left.
#pragma once

#include <GL/gl.h>

#include <functional>
#include <string>
#include <vector>

#include "driver/Picture.h"

// Runs draw through the layer: the layer starts from OpenGL's initial state (draw sets up
// what it needs with the layer's calls), and Mesa's fixed function is back afterwards.
void WithLayer(const std::function<void()>& draw);

// Clears to black, runs draw and returns the whole 640 by 480 back buffer.
std::vector<Rgb> DrawAndRead(const std::function<void()>& draw);

struct PixelDifference {
    int largest = 0;    // in levels, over every channel of every pixel
    int differing = 0;  // pixels with any channel off by more than the allowance
};
PixelDifference Compare(const std::vector<Rgb>& a, const std::vector<Rgb>& b, int allowance);

// Writes both pictures beside the build as <name>-mesa.png and <name>-layer.png, for a look
// after a failure.
void KeepPictures(const std::string& name, const std::vector<Rgb>& mesa,
                  const std::vector<Rgb>& layer);
