// The camera set-up in the real context: the viewport of a letterbox band, where points land
// through the projection and the camera, the polygon modes and the empty-band guard.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "scene/Camera.h"
#include "shell/Settings.h"
#include "shell/WindowSize.h"
#include "tests/support/GlTestSupport.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

void ExpectMatrixFinite(GLenum which, const char* what) {
    GLdouble m[16];
    glGetDoublev(which, m);
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(std::isfinite(m[i])) << what << " entry " << i << " is " << m[i];
    }
}

// The camera alone: a translation by -cameraZ along Z, left in the model-view matrix.
void ExpectCameraAt(double cameraZ) {
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    const GLdouble expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -cameraZ, 1};
    GLdouble actual[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, actual);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-6) << "model-view entry " << i;
    }
}

// Where a point lands in the window, as feedback mode reports it; false when it is clipped.
bool WindowPosition(double x, double y, double z, float* windowX, float* windowY) {
    const auto points = OfToken(CaptureFeedback([&] {
                                    glBegin(GL_POINTS);
                                    { glVertex3d(x, y, z); }
                                    glEnd();
                                }),
                                GL_POINT_TOKEN);
    if (points.empty()) {
        return false;
    }
    *windowX = points[0].vertices[0].x;
    *windowY = points[0].vertices[0].y;
    return true;
}

// A wide point and a large triangle in front of the camera: pixels they leave in the window.
int PixelsDrawnInFront(int windowWidth, int windowHeight) {
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 1.0f);
    glPointSize(8.0f);
    glBegin(GL_POINTS);
    { glVertex3f(0.0f, 0.0f, -1.0f); }
    glEnd();
    glBegin(GL_TRIANGLES);
    {
        glVertex3f(-1.0f, -1.0f, -1.0f);
        glVertex3f(1.0f, -1.0f, -1.0f);
        glVertex3f(0.0f, 1.0f, -1.0f);
    }
    glEnd();
    glPointSize(1.0f);
    return CountPixelsNot(0, 0, windowWidth, windowHeight, Rgb{0, 0, 0});
}
}  // namespace

class CameraGlTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ResetSettings();
        settings.letterbox = 0;
    }
    void TearDown() override {
        settings.letterbox = 0;
        GlTest::TearDown();
    }
};

// The bars' arithmetic is LetterboxTest's; here the viewport takes the band, and the
// projection its aspect, the field of view and the near and far planes around the camera.
TEST_F(CameraGlTest, ViewportAndProjectionFollowTheBandTheFieldOfViewAndTheCamera) {
    settings.fieldOfView = 40;
    settings.cameraZ = 2.5f;
    settings.letterbox = -5;  // the band is rows 120 to 359
    SetupView();
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    EXPECT_TRUE(v[0] == 0 && v[1] == 120 && v[2] == 640 && v[3] == 240);
    ExpectCameraAt(2.5);
    // Two units in front of the eye the band's top edge lies tan(20 degrees) x 2 above the
    // axis, and its right edge 640 / 240 times as far out.
    const double up = std::tan(20.0 * kPi / 180.0) * 2.0 * 0.99;
    const double right = up * 640.0 / 240.0;
    float x = 0, y = 0;
    ASSERT_TRUE(WindowPosition(0.0, 0.0, 0.5, &x, &y));
    EXPECT_NEAR(x, 320.0, 1e-3);
    EXPECT_NEAR(y, 240.0, 1e-3);
    ASSERT_TRUE(WindowPosition(right, up, 0.5, &x, &y));
    EXPECT_NEAR(x, 320.0 + 0.99 * 320.0, 1e-2);
    EXPECT_NEAR(y, 240.0 + 0.99 * 120.0, 1e-2);
    // The near plane 0.1 in front of the eye, the far plane 7 + cameraZ, at z = -7.
    EXPECT_FALSE(WindowPosition(0.0, 0.0, 2.5 - 0.09, &x, &y));
    EXPECT_TRUE(WindowPosition(0.0, 0.0, 2.5 - 0.11, &x, &y));
    EXPECT_TRUE(WindowPosition(0.0, 0.0, -6.9, &x, &y));
    EXPECT_FALSE(WindowPosition(0.0, 0.0, -7.1, &x, &y));
    EXPECT_NO_GL_ERROR();
}

TEST_F(CameraGlTest, PolygonModes) {
    const struct {
        int setting;
        GLint mode;
    } cases[] = {{1, GL_LINE},  {2, GL_POINT}, {0, GL_FILL}, {2, GL_POINT},
                 {3, GL_POINT}, {1, GL_LINE},  {3, GL_LINE}, {-1, GL_LINE}};
    for (const auto& c : cases) {
        settings.polygonMode = c.setting;
        SetupView();
        GLint modes[2] = {0, 0};
        glGetIntegerv(GL_POLYGON_MODE, modes);
        EXPECT_EQ(modes[0], c.mode) << "front, polygonMode " << c.setting;
        EXPECT_EQ(modes[1], c.mode) << "back, polygonMode " << c.setting;
    }
    settings.polygonMode = 0;
    SetupView();
    EXPECT_NO_GL_ERROR();
}

// Empty bands: a one-row window at step 6 (both bars end at row 0), steps past 10 (the bars
// cross), and a side of 0 as the reshape callback may report for a minimised window. The
// window itself keeps 640 x 480, so anything drawn around the empty viewport would show.
TEST_F(CameraGlTest, EmptyBandDrawsNothingAndRaisesNoError) {
    SetupView();
    EXPECT_GT(PixelsDrawnInFront(640, 480), 100) << "control: an ordinary band";
    const WindowExtent saved = WindowSize;
    const struct {
        uint32_t width, height;
        int letterbox;
    } cases[] = {{640, 1, 6}, {640, 480, 11}, {640, 0, 0}, {0, 480, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + ", step " +
                     std::to_string(c.letterbox));
        WindowSize = {c.width, c.height};
        settings.letterbox = c.letterbox;
        SetupView();
        EXPECT_NO_GL_ERROR();
        GLint v[4];
        glGetIntegerv(GL_VIEWPORT, v);
        EXPECT_EQ(v[2] * v[3], 0);
        ExpectMatrixFinite(GL_PROJECTION_MATRIX, "projection");
        ExpectCameraAt(0.0);
        EXPECT_EQ(PixelsDrawnInFront(640, 480), 0);
    }
    WindowSize = saved;
    settings.letterbox = 0;
    SetupView();
    EXPECT_GT(PixelsDrawnInFront(640, 480), 100) << "the perspective returns";
}
