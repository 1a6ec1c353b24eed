// The geometry helpers, drawn in the real context and captured in feedback mode.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "scene/Geometry.h"
#include "tests/support/GlTestSupport.h"

namespace {
// Maps object coordinates in [-4, 4] linearly onto the 640 x 480 window, so feedback
// coordinates can be turned back into object coordinates.
void UseFlatProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4, 4, -4, 4, -4, 4);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
double ObjectX(float windowX) {
    return windowX / 640.0 * 8.0 - 4.0;
}
double ObjectY(float windowY) {
    return windowY / 480.0 * 8.0 - 4.0;
}

// Vertices in emission order, recovered from triangle-strip feedback: for a strip with
// vertices v0 v1 v2 ..., OpenGL emits triangles (v0 v1 v2), (v2 v1 v3), (v2 v3 v4) ...
int CountTriangles(const std::vector<FeedbackPrimitive>& all) {
    int n = 0;
    for (const auto& p : all) {
        if (p.token == GL_POLYGON_TOKEN) {
            EXPECT_EQ(p.vertices.size(), 3u);
            ++n;
        }
    }
    return n;
}
}  // namespace

class GeometryGlTest : public GlTest {};

TEST_F(GeometryGlTest, NormalizeVector) {
    float x, y, z;
    NormalizeVector(3, 0, 4, &x, &y, &z);
    EXPECT_FLOAT_EQ(x, 0.6f);
    EXPECT_FLOAT_EQ(y, 0.0f);
    EXPECT_FLOAT_EQ(z, 0.8f);
    NormalizeVector(-2, 2, 1, &x, &y, &z);
    EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), 1.0, 1e-6);
    EXPECT_FLOAT_EQ(x, -2.0f / 3.0f);
}

TEST_F(GeometryGlTest, SphereBandsAndSeamTextureCoordinates) {
    UseFlatProjection();
    // slices 4, stacks 3: two bands of 10 vertices each, so 8 triangles per band.
    const auto all = CaptureFeedback([] { DrawTexturedSphere(2.0, 4, 3, 1.0, 1.0, 0.0, 0.0); });
    EXPECT_EQ(CountTriangles(all), 16);
    // The first triangle of band 0: vertices j = 3 (phi1, then phi0) and j = 2 (phi1).
    ASSERT_FALSE(all.empty());
    const auto& first = all.front().vertices;
    // j = 3: s = 3/4; phi1 = pi/2 band index 1 -> t = 1/3; phi0 = 0 (+y pole) -> t = 0.
    EXPECT_NEAR(first[0].s, 0.75, 1e-6);
    EXPECT_NEAR(first[0].t, 1.0 / 3.0, 1e-6);
    EXPECT_NEAR(first[1].t, 0.0, 1e-6);
    EXPECT_NEAR(ObjectY(first[1].y), 2.0, 0.02) << "phi 0 is the +y pole";
    // theta index 3 = 3/2 pi points to -x at the equator.
    EXPECT_NEAR(ObjectX(first[0].x), -2.0, 0.02);
    // The closing column reuses theta index 3 but with s from j = -1.
    const auto& lastOfBand = all[7].vertices;
    bool sawClosing = false;
    for (const auto& v : lastOfBand) {
        if (std::fabs(v.s + 0.25) < 1e-6 && std::fabs(v.t - 1.0 / 3.0) < 1e-6) {
            sawClosing = true;
            EXPECT_NEAR(ObjectX(v.x), ObjectX(first[0].x), 0.02) << "same position as column 3";
        }
    }
    EXPECT_TRUE(sawClosing) << "the seam column carries s = -1/4";
}

TEST_F(GeometryGlTest, SphereTextureRunsToTheLastBandAndFewStacksDrawOneBandOrNone) {
    UseFlatProjection();
    // t at the -y pole is (stacks - 1) / stacks * tScale + tOffset.
    const auto all = CaptureFeedback([] { DrawTexturedSphere(1, 8, 5, 2.0, 3.0, 0.5, 0.25); });
    float maxT = -1e9f, minT = 1e9f;
    for (const auto& p : all) {
        for (const auto& v : p.vertices) {
            maxT = std::max(maxT, v.t);
            minT = std::min(minT, v.t);
        }
    }
    EXPECT_NEAR(maxT, 4.0 / 5.0 * 3.0 + 0.25, 1e-5);
    EXPECT_NEAR(minT, 0.25, 1e-5);
    // Two stacks draw one band, one stack none.
    EXPECT_EQ(CountTriangles(CaptureFeedback([] { DrawTexturedSphere(1, 6, 2, 1, 1, 0, 0); })), 12);
    EXPECT_TRUE(CaptureFeedback([] { DrawTexturedSphere(1, 6, 1, 1, 1, 0, 0); }).empty());
}

TEST_F(GeometryGlTest, TorusStripsCountsAndCoordinates) {
    UseFlatProjection();
    // sides 3: three quad strips of 14 vertices, 6 quads each, 2 triangles per quad.
    const auto all = CaptureFeedback([] { DrawTorusStrips(3, 2.0, 0.5); });
    EXPECT_EQ(CountTriangles(all), 3 * 6 * 2);
    float maxS = 0, maxT = 0, minT = 10;
    double maxRadius = 0, minRadius = 100;
    for (const auto& p : all) {
        for (const auto& v : p.vertices) {
            maxS = std::max(maxS, v.s);
            maxT = std::max(maxT, v.t);
            minT = std::min(minT, v.t);
            const double r = std::hypot(ObjectX(v.x), ObjectY(v.y));
            maxRadius = std::max(maxRadius, r);
            minRadius = std::min(minRadius, r);
        }
    }
    EXPECT_NEAR(maxS, 8.0, 1e-5) << "s runs from 0 to 8 along the strip";
    EXPECT_NEAR(minT, 0.0, 1e-5);
    EXPECT_NEAR(maxT, 2.0 / 3.0 + 1.0, 1e-5) << "t = i/sides + k";
    // Tube angles are offset by half a step, so cos a is at most cos(pi/3).
    EXPECT_LE(maxRadius, 2.0 + 0.5 * std::cos(3.141592654 / 3) + 0.03);
    EXPECT_GE(minRadius, 2.0 - 0.5 - 0.03);
}
