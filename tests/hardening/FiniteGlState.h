// Checks of the key-storm and window tests that no NaN or infinity has reached OpenGL: the
// numbers a frame leaves in OpenGL's state, and every vertex a frame emits.
#pragma once

#include <string>
#include <vector>

#include "tests/support/GlTestSupport.h"

// Both matrices, the two spotlights' placement and colours, the global ambient light, the
// material that colour tracking sets, the current colour and normal and the point size.
void ExpectFiniteGlState(const std::string& where);
// Window coordinates, colour and texture coordinate of every vertex. Returns the number of
// primitives.
size_t ExpectFiniteFeedback(const std::vector<FeedbackPrimitive>& primitives,
                            const std::string& where);
