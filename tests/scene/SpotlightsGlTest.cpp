// The spotlights in the real context: colours, eye-space positions and spot directions read
// back from OpenGL, the global ambient light, a set-up of no lights and the light sprite.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "scene/ChannelBank.h"
#include "scene/Spotlights.h"
#include "tests/support/GlTestSupport.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

struct Vec3 {
    double x, y, z;
};

// Rotations by the right-hand rule, written out for checking where OpenGL put a light.
Vec3 RotateY(Vec3 v, double degrees) {
    const double a = degrees * kPi / 180.0;
    return Vec3{v.x * std::cos(a) + v.z * std::sin(a), v.y, -v.x * std::sin(a) + v.z * std::cos(a)};
}
Vec3 RotateX(Vec3 v, double degrees) {
    const double a = degrees * kPi / 180.0;
    return Vec3{v.x, v.y * std::cos(a) - v.z * std::sin(a), v.y * std::sin(a) + v.z * std::cos(a)};
}

// The phase of a channel whose ChannelWave(channel, frequency, ...) is at share of its range.
double PhaseForShare(double frequency, double share) {
    return std::asin(2.0 * share - 1.0) / frequency;
}
// Placement channels: ChannelWave(channel, 5, 720, 0) degrees.
void SetAngle(int channel, double degrees) {
    channelBank.phase[channel] = PhaseForShare(5.0, degrees / 720.0);
}
// Colour weights: ChannelWave(channel, 30, 0.5, 0.5), from 0.5 to 1.
void SetWeight(int channel, double weight) {
    channelBank.phase[channel] = PhaseForShare(30.0, (weight - 0.5) / 0.5);
}

// The values OpenGL holds for a light's parameter, or for the global ambient light.
void ExpectValues(GLenum light, GLenum which, std::initializer_list<double> want,
                  const char* what) {
    GLfloat v[4] = {-1, -1, -1, -1};
    which == GL_LIGHT_MODEL_AMBIENT ? glGetFloatv(which, v) : glGetLightfv(light, which, v);
    const double* w = want.begin();
    for (size_t k = 0; k < want.size(); ++k) {
        EXPECT_NEAR(v[k], w[k], 1e-5 * std::fmax(1.0, std::fabs(w[k]))) << what << " [" << k << "]";
    }
}
void ExpectColour(GLenum light, GLenum which, double r, double g, double b, const char* what) {
    ExpectValues(light, which, {r, g, b, 1.0}, what);
}
void ExpectGlobalAmbient(double level, const char* what) {
    ExpectValues(GL_LIGHT0, GL_LIGHT_MODEL_AMBIENT, {level, level, level, 1.0}, what);
}
void ExpectPosition(GLenum light, Vec3 p, const char* what) {
    ExpectValues(light, GL_POSITION, {p.x, p.y, p.z, 1.0}, what);
}
void ExpectDirection(GLenum light, Vec3 d, const char* what) {
    ExpectValues(light, GL_SPOT_DIRECTION, {d.x, d.y, d.z}, what);
}

// The frame step's arguments.
void UpdateAsFrameStep(int count, float intensity) {
    UpdateSpotlights(count, 0.5f, 0.75f, 0.9f, intensity, 9.8f);
}

}  // namespace

class SpotlightsGlTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        std::memset(&channelBank, 0, sizeof channelBank);
    }
    void TearDown() override {
        std::memset(&channelBank, 0, sizeof channelBank);
        GlTest::TearDown();
    }
};

TEST_F(SpotlightsGlTest, PhaseZeroPutsLightZeroOnThePositiveZAxis) {
    UpdateAsFrameStep(2, 1.0f);
    // Weights 0.75: ambient 0.75 * 0.5, diffuse 0.75 * 0.75, specular 0.75 * 0.9.
    ExpectColour(GL_LIGHT0, GL_AMBIENT, 0.375, 0.375, 0.375, "ambient");
    ExpectColour(GL_LIGHT0, GL_DIFFUSE, 0.5625, 0.5625, 0.5625, "diffuse");
    ExpectColour(GL_LIGHT0, GL_SPECULAR, 0.675, 0.675, 0.675, "specular");
    ExpectGlobalAmbient(0.375, "light 0 replaces the global ambient light");
    ExpectPosition(GL_LIGHT0, Vec3{0, 0, 9.8}, "light 0");
    ExpectDirection(GL_LIGHT0, Vec3{0, 0, -1}, "light 0");
    ExpectPosition(GL_LIGHT1, Vec3{0, 0, 9.8}, "light 1");
    EXPECT_NO_GL_ERROR();
}

TEST_F(SpotlightsGlTest, PlacementGoesThroughTheCallersModelView) {
    SetAngle(23, 90.0);   // light 0 about Y
    SetAngle(24, 45.0);   // light 0 about X
    SetAngle(28, 180.0);  // light 1 about Y
    SetAngle(29, 60.0);   // light 1 about X
    glTranslated(1.0, 2.0, 3.0);
    UpdateAsFrameStep(2, 1.0f);

    // Y first, then X, in the caller's coordinates: the point is turned about X, then about Y.
    const Vec3 offset0 = RotateY(RotateX(Vec3{0, 0, 9.8}, 45.0), 90.0);
    ExpectPosition(GL_LIGHT0, Vec3{offset0.x + 1, offset0.y + 2, offset0.z + 3}, "light 0");
    ExpectDirection(GL_LIGHT0, Vec3{-offset0.x / 9.8, -offset0.y / 9.8, -offset0.z / 9.8},
                    "light 0 aims at the caller's origin");
    const Vec3 offset1 = RotateY(RotateX(Vec3{0, 0, 9.8}, 60.0), 180.0);
    ExpectPosition(GL_LIGHT1, Vec3{offset1.x + 1, offset1.y + 2, offset1.z + 3}, "light 1");
    ExpectDirection(GL_LIGHT1, Vec3{-offset1.x / 9.8, -offset1.y / 9.8, -offset1.z / 9.8},
                    "light 1");

    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    EXPECT_DOUBLE_EQ(m[12], 1.0) << "the caller's matrix is left as it was";
    EXPECT_DOUBLE_EQ(m[0], 1.0);
    EXPECT_NO_GL_ERROR();
}

TEST_F(SpotlightsGlTest, ChannelWeightsTintEachLight) {
    SetWeight(25, 1.0);
    SetWeight(26, 0.5);
    SetWeight(27, 0.75);
    SetWeight(20, 0.5);
    SetWeight(21, 1.0);
    SetWeight(22, 0.5);
    UpdateAsFrameStep(2, 0.5f);
    // One weight for all three terms of a light; the intensity scales them all.
    ExpectColour(GL_LIGHT1, GL_AMBIENT, 0.25, 0.125, 0.1875, "light 1 ambient");
    ExpectColour(GL_LIGHT1, GL_DIFFUSE, 0.375, 0.1875, 0.28125, "light 1 diffuse");
    ExpectColour(GL_LIGHT1, GL_SPECULAR, 0.45, 0.225, 0.3375, "light 1 specular");
    ExpectColour(GL_LIGHT0, GL_DIFFUSE, 0.1875, 0.375, 0.1875, "light 0 diffuse");
    GLfloat global[4];
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, global);
    EXPECT_NEAR(global[0], 0.125, 1e-6);
    EXPECT_NEAR(global[1], 0.25, 1e-6);
    EXPECT_NEAR(global[2], 0.125, 1e-6);
    EXPECT_NO_GL_ERROR();
}

TEST_F(SpotlightsGlTest, SingleLightIsGreyAndIntensityZeroIsBlack) {
    SetWeight(20, 1.0);
    SetWeight(21, 0.5);
    SetWeight(22, 0.6);
    const GLfloat sentinel[4] = {0.1f, 0.2f, 0.3f, 1.0f};
    glLightfv(GL_LIGHT1, GL_DIFFUSE, sentinel);
    UpdateAsFrameStep(1, 1.0f);
    ExpectColour(GL_LIGHT0, GL_AMBIENT, 0.5, 0.5, 0.5, "ambient");
    ExpectColour(GL_LIGHT0, GL_DIFFUSE, 0.75, 0.75, 0.75, "diffuse");
    ExpectColour(GL_LIGHT0, GL_SPECULAR, 0.9, 0.9, 0.9, "specular");
    ExpectGlobalAmbient(0.5, "single light");
    ExpectColour(GL_LIGHT1, GL_DIFFUSE, 0.1, 0.2, 0.3, "light 1 is not touched");

    UpdateAsFrameStep(2, 0.0f);
    for (GLenum light : {GL_LIGHT0, GL_LIGHT1}) {
        ExpectColour(light, GL_AMBIENT, 0, 0, 0, "ambient");
        ExpectColour(light, GL_DIFFUSE, 0, 0, 0, "diffuse");
        ExpectColour(light, GL_SPECULAR, 0, 0, 0, "specular");
    }
    ExpectGlobalAmbient(0.0, "faded out");
    EXPECT_NO_GL_ERROR();
}

// The set-up's levels, spot cone and enabled lights are pinned, call by call with their
// values, by CallOrderE2eTest; the reset's specular level by KeyboardGlTest. With no lights
// only the global values are set, and an update of none changes nothing.
TEST_F(SpotlightsGlTest, NoLightsSetOnlyTheGlobalValues) {
    SetupSpotlights(0, 0.2f, 0.3f);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    ExpectGlobalAmbient(0.2, "set-up of no lights");
    UpdateAsFrameStep(0, 1.0f);
    ExpectGlobalAmbient(0.2, "an update of no lights");
    EXPECT_NO_GL_ERROR();
}

TEST_F(SpotlightsGlTest, SpriteSitsAtTheLightWithItsTextureCorners) {
    glMatrixMode(GL_PROJECTION);
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    SetAngle(28, 180.0);  // light 1 turned half round about Y, to (0, 0, -9.8)
    SetAngle(29, 0.0);
    glTranslated(0.0, 0.0, 9.8);
    glColor3f(1.0f, 0.0f, 0.0f);
    const auto prims = OfToken(CaptureFeedback([] { DrawLightSprite(1, 9.8f); }), GL_POLYGON_TOKEN);
    ASSERT_FALSE(prims.empty());
    int vertices = 0;
    for (const FeedbackPrimitive& p : prims) {
        for (const FeedbackVertex& v : p.vertices) {
            ++vertices;
            // Back in the caller's coordinates (the projection maps [-1, 1] onto the window).
            const double x = v.x / 640.0 * 2.0 - 1.0;
            const double y = v.y / 480.0 * 2.0 - 1.0;
            EXPECT_NEAR(std::fabs(x), 0.1, 1e-3);
            EXPECT_NEAR(std::fabs(y), 0.1, 1e-3);
            // The half turn mirrors x: the sprite's corner (-0.1, y) now lies at x = 0.1.
            EXPECT_NEAR(v.s, (0.1 - x) / 0.2, 1e-3);
            EXPECT_NEAR(v.t, (y + 0.1) / 0.2, 1e-3);
            EXPECT_FLOAT_EQ(v.r, 1.0f);
            EXPECT_FLOAT_EQ(v.g, 1.0f);
        }
    }
    EXPECT_GE(vertices, 4);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    // Lights without channels draw nothing.
    for (int light : {-1, 4, 9}) {
        EXPECT_TRUE(CaptureFeedback([light] { DrawLightSprite(light, 9.8f); }).empty())
            << "light " << light;
    }
    EXPECT_NO_GL_ERROR();
}
