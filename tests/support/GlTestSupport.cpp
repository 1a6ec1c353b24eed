// Pixel checks, OpenGL state and feedback capture for the OpenGL tests.
#include "tests/support/GlTestSupport.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cstdlib>

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "rgb(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

std::string GlErrorName(GLenum error) {
    const GLubyte* text = gluErrorString(error);
    return text ? reinterpret_cast<const char*>(text) : "error " + std::to_string(error);
}

void ResetGlState() {
    glViewport(0, 0, glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLenum caps[] = {GL_LIGHTING,  GL_BLEND,          GL_TEXTURE_2D,   GL_DEPTH_TEST,
                           GL_NORMALIZE, GL_COLOR_MATERIAL, GL_POINT_SMOOTH, GL_CULL_FACE};
    for (GLenum cap : caps) {
        glDisable(cap);
    }
    for (int light = 0; light < 8; ++light) {
        glDisable(GL_LIGHT0 + light);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glPointSize(1.0f);
    glDepthMask(GL_TRUE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
}

Rgb ReadPixel(int x, int y) {
    return ReadPixels(x, y, 1, 1)[0];
}

int CountPixelsNot(int x, int y, int width, int height, Rgb background, int tolerance) {
    int count = 0;
    for (const Rgb& p : ReadPixels(x, y, width, height)) {
        if (std::abs(p.r - background.r) > tolerance || std::abs(p.g - background.g) > tolerance ||
            std::abs(p.b - background.b) > tolerance) {
            ++count;
        }
    }
    return count;
}

std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw,
                                               size_t capacityFloats) {
    std::vector<GLfloat> buffer(capacityFloats);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer of " << capacityFloats << " floats overflowed";

    std::vector<FeedbackPrimitive> result;
    constexpr int kVertexFloats = 11;
    auto readVertex = [&](GLint& at) {
        FeedbackVertex v{};
        float* fields[kVertexFloats] = {&v.x, &v.y, &v.z, &v.r, &v.g, &v.b,
                                        &v.a, &v.s, &v.t, &v.p, &v.q};
        for (int i = 0; i < kVertexFloats && at < used; ++i) {
            *fields[i] = buffer[static_cast<size_t>(at++)];
        }
        return v;
    };
    GLint at = 0;
    while (at < used) {
        FeedbackPrimitive prim;
        prim.token = static_cast<GLenum>(buffer[static_cast<size_t>(at++)]);
        int count = 0;
        switch (prim.token) {
            case GL_POINT_TOKEN:
            case GL_BITMAP_TOKEN:
            case GL_DRAW_PIXEL_TOKEN:
            case GL_COPY_PIXEL_TOKEN:
                count = 1;
                break;
            case GL_LINE_TOKEN:
            case GL_LINE_RESET_TOKEN:
                count = 2;
                break;
            case GL_POLYGON_TOKEN:
                count = static_cast<int>(buffer[static_cast<size_t>(at++)]);
                break;
            case GL_PASS_THROUGH_TOKEN:
                prim.passThrough = buffer[static_cast<size_t>(at++)];
                break;
            default:
                ADD_FAILURE() << "unknown feedback token " << prim.token;
                return result;
        }
        for (int i = 0; i < count; ++i) {
            prim.vertices.push_back(readVertex(at));
        }
        result.push_back(std::move(prim));
    }
    return result;
}

std::vector<FeedbackPrimitive> OfToken(const std::vector<FeedbackPrimitive>& all, GLenum token) {
    std::vector<FeedbackPrimitive> out;
    for (const auto& p : all) {
        if (p.token == token) {
            out.push_back(p);
        }
    }
    return out;
}

void GlTest::SetUp() {
    ASSERT_TRUE(ResizeWindow(640, 480)) << "the test window did not take 640 x 480";
    while (glGetError() != GL_NO_ERROR) {
    }
    ResetGlState();
    EXPECT_NO_GL_ERROR();
}

void GlTest::TearDown() {
    EXPECT_NO_GL_ERROR();
}
