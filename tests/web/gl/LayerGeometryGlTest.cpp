// The layer's geometry against Mesa's and freeglut's: the torus's vertices, winding and
// primitives in every polygon mode (through feedback mode), how each kind of glBegin group
// becomes triangles, edges and points, and smooth points pixel for pixel.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <vector>

#include "tests/support/GlTestSupport.h"
#include "tests/web/gl/LayerTestSupport.h"
#include "web/gl/Core.h"
#include "web/gl/Primitives.h"
#include "web/gl/Torus.h"

namespace {
using tavikgl::Raster;

constexpr GLenum kPolygonModes[] = {GL_FILL, GL_LINE, GL_POINT};

struct Point3 {
    float x, y, z;
};

// Window coordinates of an object-space point under identity matrices in the 640 by 480
// viewport, as feedback mode reports them.
Point3 ToWindow(const float p[3]) {
    return {(p[0] + 1.0f) * 320.0f, (p[1] + 1.0f) * 240.0f, (p[2] + 1.0f) * 0.5f};
}

bool Near(const Point3& a, const FeedbackVertex& b) {
    return std::fabs(a.x - b.x) < 1e-3f && std::fabs(a.y - b.y) < 1e-3f &&
           std::fabs(a.z - b.z) < 1e-5f;
}

// The vertices of every primitive Mesa emitted, in order, one list per primitive.
std::vector<std::vector<FeedbackVertex>> Primitives(const std::vector<FeedbackPrimitive>& all) {
    std::vector<std::vector<FeedbackVertex>> out;
    for (const FeedbackPrimitive& p : all) {
        out.push_back(p.vertices);
    }
    return out;
}

// The layer's primitives as vertex lists: its indices grouped by the draw mode's size.
std::vector<std::vector<Point3>> Group(const std::vector<uint32_t>& indices,
                                       const std::vector<Point3>& vertices, size_t size) {
    std::vector<std::vector<Point3>> out;
    for (size_t i = 0; i + size <= indices.size(); i += size) {
        std::vector<Point3> primitive;
        for (size_t k = 0; k < size; ++k) {
            primitive.push_back(vertices[indices[i + k]]);
        }
        out.push_back(primitive);
    }
    return out;
}

// Index of the vertex at p's position, or -1.
int IndexOf(const std::vector<Point3>& vertices, const FeedbackVertex& p) {
    for (size_t i = 0; i < vertices.size(); ++i) {
        if (Near(vertices[i], p)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

size_t SizeOf(GLenum drawMode) {
    return drawMode == GL_TRIANGLES ? 3 : drawMode == GL_LINES ? 2 : 1;
}

class LayerGeometryTest : public GlTest {};

TEST_F(LayerGeometryTest, TorusIsFreeglutsInEveryPolygonMode) {
    const double inner = 0.15, outer = 0.55;
    for (const auto& [sides, rings] : {std::pair{5, 7}, std::pair{20, 80}, std::pair{3, 2}}) {
        tavikgl::TorusGeometry torus;
        ASSERT_TRUE(tavikgl::MakeTorus(sides, rings, &torus));
        std::vector<Point3> vertices;
        for (size_t i = 0; i < torus.angles.size(); i += 4) {
            float position[3], normal[3];
            tavikgl::TorusVertex(&torus.angles[i], static_cast<float>(inner),
                                 static_cast<float>(outer), position, normal);
            vertices.push_back(ToWindow(position));
        }
        for (GLenum mode : kPolygonModes) {
            SCOPED_TRACE(testing::Message()
                         << sides << " sides, " << rings << " rings, mode 0x" << std::hex << mode);
            glPolygonMode(GL_FRONT_AND_BACK, mode);
            const auto mesa =
                Primitives(CaptureFeedback([&] { glutSolidTorus(inner, outer, sides, rings); }));
            const Raster raster = tavikgl::RasterOf(mode);
            if (raster == tavikgl::kPoint) {
                // Mesa sends each triangle's corners; the layer sends each vertex once.
                std::set<int> seen;
                for (const auto& p : mesa) {
                    const int index = IndexOf(vertices, p[0]);
                    ASSERT_GE(index, 0) << "a point at no torus vertex";
                    seen.insert(index);
                }
                EXPECT_EQ(seen.size(), vertices.size());
                continue;
            }
            std::vector<uint32_t> indices;
            for (uint32_t s = 0; s < torus.stripCount; ++s) {
                tavikgl::AppendStripIndices(&torus.strips[s * torus.stripLength], torus.stripLength,
                                            raster, &indices);
            }
            const size_t size = raster == tavikgl::kFill ? 3 : 2;
            const auto layer = Group(indices, vertices, size);
            ASSERT_EQ(layer.size(), mesa.size());
            for (size_t i = 0; i < layer.size(); ++i) {
                ASSERT_EQ(mesa[i].size(), size) << "primitive " << i;
                for (size_t k = 0; k < size; ++k) {
                    ASSERT_TRUE(Near(layer[i][k], mesa[i][k]))
                        << "primitive " << i << " vertex " << k << ": layer (" << layer[i][k].x
                        << ", " << layer[i][k].y << "), freeglut (" << mesa[i][k].x << ", "
                        << mesa[i][k].y << ")";
                }
            }
        }
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

// Every kind of group, in every polygon mode: the layer's primitives are Mesa's, vertex for
// vertex (a quad strip's edges are its quads' sides, never their diagonals).
TEST_F(LayerGeometryTest, GroupsBecomeMesasTrianglesEdgesAndPoints) {
    constexpr GLenum kModes[] = {GL_POINTS,     GL_LINES,          GL_LINE_STRIP,   GL_LINE_LOOP,
                                 GL_TRIANGLES,  GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN, GL_QUADS,
                                 GL_QUAD_STRIP, GL_POLYGON};
    // Eight vertices on a convex ring, each at its own place.
    std::vector<Point3> vertices;
    std::vector<std::array<float, 3>> objects;
    for (int i = 0; i < 8; ++i) {
        const float angle = static_cast<float>(i) * 0.7f;
        objects.push_back({0.6f * std::cos(angle), 0.5f * std::sin(angle), 0.01f * i});
        vertices.push_back(ToWindow(objects.back().data()));
    }
    for (GLenum begin : kModes) {
        for (GLenum mode : kPolygonModes) {
            SCOPED_TRACE(testing::Message()
                         << "group 0x" << std::hex << begin << ", mode 0x" << mode);
            glPolygonMode(GL_FRONT_AND_BACK, mode);
            const auto mesa = Primitives(CaptureFeedback([&] {
                glBegin(begin);
                for (const auto& p : objects) {
                    glVertex3f(p[0], p[1], p[2]);
                }
                glEnd();
            }));
            const Raster raster = tavikgl::RasterOf(mode);
            std::vector<uint32_t> indices;
            tavikgl::AppendIndices(begin, 8, raster, &indices);
            const auto layer = Group(indices, vertices, SizeOf(tavikgl::DrawModeOf(begin, raster)));
            ASSERT_EQ(layer.size(), mesa.size());
            for (size_t i = 0; i < layer.size(); ++i) {
                ASSERT_EQ(layer[i].size(), mesa[i].size()) << "primitive " << i;
                for (size_t k = 0; k < layer[i].size(); ++k) {
                    EXPECT_TRUE(Near(layer[i][k], mesa[i][k]))
                        << "primitive " << i << " vertex " << k << " is layer vertex "
                        << IndexOf(vertices, mesa[i][k]) << " in Mesa";
                }
            }
        }
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

// Smooth points of the sizes the demo uses (and two more) at sub-pixel positions, opaque and
// blended, cover the same pixels in the same colours as Mesa's.
TEST_F(LayerGeometryTest, SmoothPointsAreMesas) {
    auto draw = [](bool layer, bool blend) {
        using namespace tavikgl;
        auto enable = layer ? Enable : glEnable;
        auto pointSize = layer ? PointSize : glPointSize;
        enable(GL_POINT_SMOOTH);
        if (blend) {
            enable(GL_BLEND);
            (layer ? BlendFunc : glBlendFunc)(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
        const float sizes[] = {1.0f, 2.0f, 3.0f, 4.5f, 7.0f};
        for (int s = 0; s < 5; ++s) {
            pointSize(sizes[s]);
            (layer ? Begin : glBegin)(GL_POINTS);
            for (int k = 0; k < 8; ++k) {
                const float x = -0.9f + 0.2f * k + 0.0131f * k;
                const float y = -0.8f + 0.35f * s + 0.0057f * k;
                if (layer) {
                    Color4f(0.3f + 0.08f * k, 0.9f, 0.2f, blend ? 0.6f : 1.0f);
                    Vertex3f(x, y, 0.0f);
                } else {
                    glColor4f(0.3f + 0.08f * k, 0.9f, 0.2f, blend ? 0.6f : 1.0f);
                    glVertex3f(x, y, 0.0f);
                }
            }
            (layer ? End : glEnd)();
        }
    };
    for (bool blend : {false, true}) {
        SCOPED_TRACE(blend ? "blended" : "opaque");
        const auto mesa = DrawAndRead([&] { draw(false, blend); });
        ResetGlState();
        const auto layer = DrawAndRead([&] { WithLayer([&] { draw(true, blend); }); });
        const PixelDifference difference = Compare(mesa, layer, 1);
        EXPECT_LE(difference.differing, 2) << "largest difference " << difference.largest;
        if (difference.differing > 2) {
            KeepPictures(blend ? "webgl-points-blended" : "webgl-points", mesa, layer);
        }
        EXPECT_GT(CountPixelsNot(0, 0, 640, 480, Rgb{0, 0, 0}), 200);
    }
}

}  // namespace
