// The camera set-up in the real context: the viewport of every letterbox step, the projection
// and camera matrices OpenGL holds afterwards, the polygon modes and the empty-band guard.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "scene/Camera.h"
#include "shell/Settings.h"
#include "shell/WindowSize.h"
#include "tests/support/GlTestSupport.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

struct Viewport {
    GLint x, y, width, height;
};

Viewport CurrentViewport() {
    GLint v[4] = {-1, -1, -1, -1};
    glGetIntegerv(GL_VIEWPORT, v);
    return Viewport{v[0], v[1], v[2], v[3]};
}

void ReadMatrix(GLenum which, GLdouble m[16]) {
    glGetDoublev(which, m);
}

// The perspective matrix written out from its textbook definition (column-major).
void PerspectiveMatrix(double fovDegrees, double aspect, double nearPlane, double farPlane,
                       GLdouble m[16]) {
    const double f = 1.0 / std::tan(fovDegrees * kPi / 360.0);
    for (int i = 0; i < 16; ++i) {
        m[i] = 0.0;
    }
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (farPlane + nearPlane) / (nearPlane - farPlane);
    m[11] = -1.0;
    m[14] = 2.0 * farPlane * nearPlane / (nearPlane - farPlane);
}

void ExpectMatrixNear(const GLdouble actual[16], const GLdouble expected[16], const char* what) {
    for (int i = 0; i < 16; ++i) {
        const double tolerance = 1e-5 * std::fmax(1.0, std::fabs(expected[i]));
        EXPECT_NEAR(actual[i], expected[i], tolerance) << what << " entry " << i;
    }
}

void ExpectMatrixFinite(GLenum which, const char* what) {
    GLdouble m[16];
    ReadMatrix(which, m);
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(std::isfinite(m[i])) << what << " entry " << i << " is " << m[i];
    }
}

// The camera alone: a translation by -cameraZ along Z.
void ExpectCameraAt(double cameraZ) {
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLdouble expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -cameraZ, 1};
    GLdouble actual[16];
    ReadMatrix(GL_MODELVIEW_MATRIX, actual);
    ExpectMatrixNear(actual, expected, "model-view");
}

struct Band {
    int step;
    GLint bottom;
    GLint top;
};

// Checks SetupView at the current window size against a table of band rows.
void ExpectBands(const Band* bands, int count, GLint width) {
    for (int i = 0; i < count; ++i) {
        settings.letterbox = bands[i].step;
        SetupView();
        const Viewport v = CurrentViewport();
        EXPECT_EQ(v.x, 0) << "step " << bands[i].step;
        EXPECT_EQ(v.y, bands[i].bottom) << "step " << bands[i].step;
        EXPECT_EQ(v.width, width) << "step " << bands[i].step;
        EXPECT_EQ(v.height, bands[i].top - bands[i].bottom) << "step " << bands[i].step;

        GLdouble expected[16];
        PerspectiveMatrix(110.0, double(width) / double(bands[i].top - bands[i].bottom), 0.1, 7.0,
                          expected);
        GLdouble projection[16];
        ReadMatrix(GL_PROJECTION_MATRIX, projection);
        ExpectMatrixNear(projection, expected, "projection");
        ExpectCameraAt(0.0);
        EXPECT_NO_GL_ERROR();
    }
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

TEST_F(CameraGlTest, LetterboxBandsAt1024x768) {
    // The bars' arithmetic is LetterboxTest's; here the viewport and projection follow them.
    ASSERT_TRUE(ResizeWindow(1024, 768));
    const Band bands[] = {{0, 0, 768},   {1, 38, 729},  {2, 76, 691},  {3, 115, 652},
                          {4, 153, 614}, {5, 192, 576}, {6, 230, 537}, {-3, 115, 652}};
    ExpectBands(bands, 8, 1024);
}

TEST_F(CameraGlTest, FieldOfViewAndCameraDistance) {
    settings.fieldOfView = 40;
    settings.cameraZ = 2.5f;
    settings.letterbox = 5;
    SetupView();
    GLdouble expected[16];
    // The far plane lies 9.5 units in front of an eye at z = 2.5.
    PerspectiveMatrix(40.0, 640.0 / 240.0, 0.1, 9.5, expected);
    GLdouble projection[16];
    ReadMatrix(GL_PROJECTION_MATRIX, projection);
    ExpectMatrixNear(projection, expected, "projection");
    ExpectCameraAt(2.5);

    // A point at the centre the camera looks at lands in the middle of the band.
    const Viewport v = CurrentViewport();
    EXPECT_EQ(v.y, 120);
    const auto drawCentre = [] {
        glBegin(GL_POINTS);
        { glVertex3f(0.0f, 0.0f, 1.5f); }
        glEnd();
    };
    const auto points = OfToken(CaptureFeedback(drawCentre), GL_POINT_TOKEN);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_NEAR(points[0].vertices[0].x, 320.0, 1e-3);
    EXPECT_NEAR(points[0].vertices[0].y, 240.0, 1e-3);
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

TEST_F(CameraGlTest, EmptyBandDrawsNothingAndRaisesNoError) {
    // Control: the same drawing shows in an ordinary band.
    SetupView();
    EXPECT_GT(PixelsDrawnInFront(640, 480), 100);

    // A one-row window with step 6: both bars end at row 0.
    ASSERT_TRUE(ResizeWindow(640, 1));
    settings.letterbox = 6;
    SetupView();
    EXPECT_NO_GL_ERROR();
    Viewport v = CurrentViewport();
    EXPECT_EQ(v.height, 0);
    EXPECT_EQ(v.width, 640);
    ExpectMatrixFinite(GL_PROJECTION_MATRIX, "projection");
    ExpectCameraAt(0.0);
    EXPECT_EQ(PixelsDrawnInFront(640, 1), 0);
    EXPECT_NO_GL_ERROR();
    ASSERT_TRUE(ResizeWindow(640, 480));

    // Steps past 10 make the bars cross: still an empty band, never a negative height.
    settings.letterbox = 11;
    SetupView();
    EXPECT_NO_GL_ERROR();
    v = CurrentViewport();
    EXPECT_EQ(v.height, 0);
    ExpectMatrixFinite(GL_PROJECTION_MATRIX, "projection");
    EXPECT_EQ(PixelsDrawnInFront(640, 480), 0);

    // A height or width of 0 as the reshape callback may report for a minimised window.
    settings.letterbox = 0;
    const WindowExtent saved = WindowSize;
    for (uint32_t WindowExtent::*side : {&WindowExtent::height, &WindowExtent::width}) {
        WindowSize = saved;
        WindowSize.*side = 0;
        SetupView();
        EXPECT_NO_GL_ERROR();
        EXPECT_EQ(CurrentViewport().width * CurrentViewport().height, 0);
        ExpectMatrixFinite(GL_PROJECTION_MATRIX, "projection");
        ExpectCameraAt(0.0);
        EXPECT_EQ(PixelsDrawnInFront(640, 480), 0) << "nothing around an empty viewport";
    }
    WindowSize = saved;

    // Back to an ordinary band, the perspective returns.
    SetupView();
    EXPECT_GT(PixelsDrawnInFront(640, 480), 100);
}
