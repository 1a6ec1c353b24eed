// The ring assembly in the real context: the matrix stack and state it leaves, its colour,
// the tessellation, the turns and the nesting scale seen in feedback, and sizes the keys can
// reach. The rings' place in the lit scene is pinned by the golden pictures.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "scene/ChannelBank.h"
#include "scene/Random.h"
#include "scene/Rings.h"
#include "shell/Settings.h"
#include "tests/support/GlTestSupport.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kBox = 4.0;  // the flat projection shows [-4, 4] on every axis

// The phase at which (sin(frequency * phase) * 0.5 + 0.5) equals share.
double PhaseForShare(double frequency, double share) {
    return std::asin(2.0 * share - 1.0) / frequency;
}

void UseFlatProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-kBox, kBox, -kBox, kBox, -kBox, kBox);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
double ObjectX(float windowX) {
    return windowX / 640.0 * 2.0 * kBox - kBox;
}
double ObjectY(float windowY) {
    return windowY / 480.0 * 2.0 * kBox - kBox;
}
double ObjectZ(float windowZ) {
    return (1.0 - 2.0 * windowZ) * kBox;
}

std::vector<FeedbackPrimitive> CaptureRings() {
    return OfToken(CaptureFeedback(DrawRings), GL_POLYGON_TOKEN);
}

// Largest distance from the Z axis over the primitives first to first + count - 1.
double RadialExtent(const std::vector<FeedbackPrimitive>& prims, size_t first, size_t count) {
    double extent = 0.0;
    for (size_t i = first; i < first + count && i < prims.size(); ++i) {
        for (const FeedbackVertex& v : prims[i].vertices) {
            extent = std::fmax(extent, std::hypot(ObjectX(v.x), ObjectY(v.y)));
        }
    }
    return extent;
}

void ReadModelView(GLdouble m[16]) {
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
}

GLint ModelViewDepth() {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    return depth;
}
}  // namespace

class RingsGlTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ResetSettings();
        settings.letterbox = 0;
        std::memset(&channelBank, 0, sizeof channelBank);
    }
    void TearDown() override {
        std::memset(&channelBank, 0, sizeof channelBank);
        ResetSettings();
        GlTest::TearDown();
    }
};

// Drawn with only two free levels of the model-view stack: the rings need no more.
TEST_F(RingsGlTest, LeavesMatrixAndStackAsFoundNormalizeOnAndTheirColourCurrent) {
    Random::srand(7);
    RandomizeChannels(kChannelCount);
    settings.nestedRings = 1;
    glTranslated(0.5, -0.25, -3.0);
    glRotated(33.0, 1.0, 1.0, 0.0);
    GLint most = 0;
    glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &most);
    while (ModelViewDepth() < most - 2) {
        glPushMatrix();
    }
    GLdouble before[16];
    ReadModelView(before);
    ASSERT_FALSE(glIsEnabled(GL_NORMALIZE));

    DrawRings();
    EXPECT_NO_GL_ERROR();

    GLdouble after[16];
    ReadModelView(after);
    EXPECT_TRUE(std::equal(after, after + 16, before)) << "the model-view matrix is restored";
    EXPECT_EQ(ModelViewDepth(), most - 2);
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    // The current colour is the rings' colour: half of each wave of channels 10 to 12.
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    for (int k = 0; k < 3; ++k) {
        const double wave = std::sin(5.0 * channelBank.phase[10 + k]) * 0.5 + 0.5;
        EXPECT_NEAR(colour[k], wave * 0.5, 1e-6) << "component " << k;
    }
    EXPECT_FLOAT_EQ(colour[3], 1.0f);
    while (ModelViewDepth() > 1) {
        glPopMatrix();
    }
}

TEST_F(RingsGlTest, EachTorusHasTessellationSidesAndFourTimesAsManyRings) {
    UseFlatProjection();
    settings.tessellation = 3;
    const auto prims = CaptureRings();
    EXPECT_EQ(prims.size(), 216u) << "three tori of 3 sides by 12 rings, two triangles a quad";
    // With every angle 0 the first torus lies flat: its vertices lie on 12 angles about Z.
    std::set<long> azimuths;
    for (size_t i = 0; i < prims.size() / 3; ++i) {
        for (const FeedbackVertex& v : prims[i].vertices) {
            const long degrees = std::lround(std::atan2(ObjectY(v.y), ObjectX(v.x)) * 180.0 / kPi);
            azimuths.insert((degrees % 360 + 360) % 360);
        }
    }
    EXPECT_EQ(azimuths.size(), 12u);
    EXPECT_NO_GL_ERROR();
}

TEST_F(RingsGlTest, EachChannelTurnsItsToriAboutItsAxis) {
    UseFlatProjection();
    settings.tessellation = 3;
    const auto flat = CaptureRings();
    const size_t each = flat.size() / 3;
    // The assembly about X, Y and Z; the second torus (and the third with it) about Y; the
    // third about X. A quarter turn moves every vertex off the axis.
    const struct {
        int channel, axis, firstTorus;
    } turns[] = {{13, 0, 0}, {14, 1, 0}, {15, 2, 0}, {16, 1, 1}, {17, 0, 2}};
    for (const auto& turn : turns) {
        SCOPED_TRACE("channel " + std::to_string(turn.channel));
        channelBank.phase[turn.channel] = 90.0 / 720.0;
        const auto turned = CaptureRings();
        channelBank.phase[turn.channel] = 0.0;
        ASSERT_EQ(turned.size(), flat.size());
        for (size_t torus = 0; torus < 3; ++torus) {
            double change[3] = {0.0, 0.0, 0.0};  // largest change of x, y and z of a vertex
            for (size_t i = torus * each; i < (torus + 1) * each; ++i) {
                for (size_t k = 0; k < flat[i].vertices.size(); ++k) {
                    const FeedbackVertex& a = flat[i].vertices[k];
                    const FeedbackVertex& b = turned[i].vertices[k];
                    change[0] = std::fmax(change[0], std::fabs(ObjectX(b.x) - ObjectX(a.x)));
                    change[1] = std::fmax(change[1], std::fabs(ObjectY(b.y) - ObjectY(a.y)));
                    change[2] = std::fmax(change[2], std::fabs(ObjectZ(b.z) - ObjectZ(a.z)));
                }
            }
            for (int c = 0; c < 3; ++c) {
                const bool moves = torus >= size_t(turn.firstTorus) && c != turn.axis;
                EXPECT_TRUE(moves ? change[c] > 0.1 : change[c] < 1e-3)
                    << "torus " << torus << ", coordinate " << c << " changed by " << change[c];
            }
        }
    }
}

TEST_F(RingsGlTest, NestingShrinksTheSecondAndThirdTorus) {
    UseFlatProjection();
    settings.objectSize = 1.0f;
    settings.tessellation = 20;
    channelBank.phase[18] = PhaseForShare(5.0, 1.0);  // tube radius 0.015 + 0.2
    channelBank.phase[19] = PhaseForShare(5.0, 1.0);  // full nesting weight
    const double tube = 0.215;
    const double outer = 1.0 + tube;

    settings.nestedRings = 0;
    auto prims = CaptureRings();
    ASSERT_EQ(prims.size() % 3, 0u);
    size_t each = prims.size() / 3;
    for (int torus = 0; torus < 3; ++torus) {
        EXPECT_NEAR(RadialExtent(prims, torus * each, each), outer, 0.02) << "torus " << torus;
    }

    settings.nestedRings = 1;
    prims = CaptureRings();
    ASSERT_EQ(prims.size(), 3 * each);
    const double scale = 1.0 - tube / 1.0 * 1.9;  // about 0.59
    EXPECT_NEAR(RadialExtent(prims, 0, each), outer, 0.02);
    EXPECT_NEAR(RadialExtent(prims, each, each), outer * scale, 0.02);
    EXPECT_NEAR(RadialExtent(prims, 2 * each, each), outer * scale * scale, 0.02);

    // At the lowest nesting weight the scale is exactly 1.
    channelBank.phase[19] = PhaseForShare(5.0, 0.0);
    prims = CaptureRings();
    ASSERT_EQ(prims.size(), 3 * each);
    EXPECT_NEAR(RadialExtent(prims, 2 * each, each), outer, 0.02);
    EXPECT_NO_GL_ERROR();
}

TEST_F(RingsGlTest, SizesTheKeysCanReachStayFinite) {
    UseFlatProjection();
    settings.nestedRings = 1;
    settings.tessellation = 6;
    channelBank.phase[18] = PhaseForShare(5.0, 1.0);
    channelBank.phase[19] = PhaseForShare(5.0, 1.0);
    settings.objectSize = 1.0f;
    const size_t each = CaptureRings().size() / 3;
    ASSERT_GT(each, 0u);

    // Sizes from 0 to infinity: the keys stop at the smallest normal and the largest float.
    const float sizes[] = {
        0.0f,   std::numeric_limits<float>::denorm_min(), 1e-30f,
        0.004f, std::numeric_limits<float>::max(),        std::numeric_limits<float>::infinity()};
    for (const float size : sizes) {
        settings.objectSize = size;
        const auto prims = CaptureRings();
        EXPECT_NO_GL_ERROR();
        for (const FeedbackPrimitive& p : prims) {
            for (const FeedbackVertex& v : p.vertices) {
                ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z))
                    << "size " << size;
            }
        }
        if (size < 1.0f) {
            EXPECT_EQ(prims.size(), 3 * each) << "small rings are still drawn, size " << size;
        }
    }

    // Below a size of about 0.0176 the nesting scale passes -1: the inner tori grow.
    settings.objectSize = 0.004f;
    const auto prims = CaptureRings();
    const double scale = 1.0 - (0.015 + 0.2 * 0.004f) / 0.004f * 1.9;  // about -6.5
    const double first = RadialExtent(prims, 0, each);
    EXPECT_NEAR(RadialExtent(prims, each, each) / first, -scale, 0.01 * -scale);
    EXPECT_NEAR(RadialExtent(prims, 2 * each, each) / first, scale * scale, 0.01 * scale * scale);
}
