// The shared fixture of every test that needs OpenGL: one real GLUT window on a private Xvfb
// server (Mesa's software renderer, opened by GlTestMain through the driver), pixel checks,
// feedback-mode capture of emitted vertices, and a check that no OpenGL error is pending.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "driver/DemoWindow.h"  // PumpEvents, ResizeWindow, ReadPixels
#include "driver/Picture.h"

std::ostream& operator<<(std::ostream& out, const Rgb& c);

// The name of an OpenGL error code, for readable failure messages.
std::string GlErrorName(GLenum error);

// Expects that no OpenGL error is pending, and names it if one is.
#define EXPECT_NO_GL_ERROR()                                              \
    do {                                                                  \
        const GLenum tavikPendingError = glGetError();                    \
        EXPECT_EQ(tavikPendingError, static_cast<GLenum>(GL_NO_ERROR))    \
            << "pending OpenGL error " << GlErrorName(tavikPendingError); \
    } while (0)

// Puts the usual OpenGL state back: full-window viewport, identity matrices, no lighting,
// blending, texturing or depth test, white colour, filled polygons, point size 1, black clear.
void ResetGlState();

// A pixel of the back buffer (where the tests draw without swapping), y from the bottom.
Rgb ReadPixel(int x, int y);
// Number of pixels in the rectangle that differ from background by more than tolerance
// in any channel.
int CountPixelsNot(int x, int y, int width, int height, Rgb background, int tolerance = 8);

// One vertex as feedback mode reports it (GL_3D_COLOR_TEXTURE): window coordinates,
// RGBA colour and the texture coordinate.
struct FeedbackVertex {
    float x, y, z;
    float r, g, b, a;
    float s, t, p, q;
};

// One primitive: GL_POINT_TOKEN, GL_LINE_TOKEN, GL_LINE_RESET_TOKEN, GL_POLYGON_TOKEN,
// GL_BITMAP_TOKEN, GL_DRAW_PIXEL_TOKEN, GL_COPY_PIXEL_TOKEN or GL_PASS_THROUGH_TOKEN
// (whose value is kept in passThrough).
struct FeedbackPrimitive {
    GLenum token;
    std::vector<FeedbackVertex> vertices;
    float passThrough = 0.0f;
};

// Runs draw in feedback mode and returns what OpenGL emitted. Fails the test if the buffer
// overflowed.
std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw,
                                               size_t capacityFloats = 4u << 20);
// Only the primitives with the given token.
std::vector<FeedbackPrimitive> OfToken(const std::vector<FeedbackPrimitive>& all, GLenum token);

// Fixture: resets the window to 640 x 480 and the OpenGL state before each test and
// checks that each test leaves no OpenGL error pending.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
