// The layer's state against Mesa's and GLU's: matrices after the demo's calls, the lighting
// equation drawn through the layer's shader beside Mesa's fixed function on the same torus,
// the errors of wrong calls and their names, GLU's image scaling and mipmap levels, and the
// state a reset puts back.
#include <GL/freeglut.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "tests/support/GlTestSupport.h"
#include "tests/web/gl/LayerTestSupport.h"
#include "web/gl/Core.h"
#include "web/gl/GlLayer.h"
#include "web/gl/Mipmaps.h"

namespace {
namespace gl = tavikgl;

class LayerStateTest : public GlTest {};

// The same calls to Mesa and to the layer: each step receives true for the layer.
void OnBoth(const std::function<void(bool)>& steps) {
    steps(false);
    gl::ResetState();
    steps(true);
}

TEST_F(LayerStateTest, MatricesAreMesas) {
    auto steps = [](bool layer) {
        (layer ? gl::MatrixMode : glMatrixMode)(GL_PROJECTION);
        (layer ? gl::LoadIdentity : glLoadIdentity)();
        (layer ? gl::Perspective : gluPerspective)(45.0, 640.0 / 431.0, 0.1, 10.5);
        (layer ? gl::MatrixMode : glMatrixMode)(GL_MODELVIEW);
        (layer ? gl::LoadIdentity : glLoadIdentity)();
        (layer ? gl::LookAt : gluLookAt)(0.0, 0.0, 3.5, 0.0, 0.0, 2.5, 0.0, 1.0, 0.0);
        (layer ? gl::Translated : glTranslated)(-0.31, 0.27, -0.9);
        (layer ? gl::PushMatrix : glPushMatrix)();
        (layer ? gl::Rotated : glRotated)(123.4, 1.0, 0.0, 0.0);
        (layer ? gl::Rotated : glRotated)(-71.2, 0.3, 1.0, -0.2);
        (layer ? gl::Scaled : glScaled)(0.7, 0.7, 0.7);
        (layer ? gl::PushMatrix : glPushMatrix)();
        (layer ? gl::Ortho : glOrtho)(0, 640, 0, 480, -1, 1);
        (layer ? gl::PopMatrix : glPopMatrix)();
    };
    steps(false);
    GLdouble mesaModelView[16], mesaProjection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, mesaModelView);
    glGetDoublev(GL_PROJECTION_MATRIX, mesaProjection);
    glPopMatrix();
    ResetGlState();
    gl::ResetState();
    steps(true);
    GLfloat modelView[16], projection[16];
    gl::GetFloatv(GL_MODELVIEW_MATRIX, modelView);
    gl::GetFloatv(GL_PROJECTION_MATRIX, projection);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(modelView[i], mesaModelView[i], 2e-6 * (1 + std::fabs(mesaModelView[i])))
            << "model-view entry " << i;
        EXPECT_NEAR(projection[i], mesaProjection[i], 2e-6 * (1 + std::fabs(mesaProjection[i])))
            << "projection entry " << i;
    }
    EXPECT_EQ(gl::GetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The demo's lighting (two coloured spotlights placed through the model-view matrix, the
// global ambient level, local viewer, colour material, specular and shininess, a scaled
// torus with GL_NORMALIZE) drawn by Mesa and by the layer's shader: the same picture.
TEST_F(LayerStateTest, LightingIsMesas) {
    auto scene = [](bool layer) {
        auto enable = layer ? gl::Enable : glEnable;
        auto lightfv = layer ? gl::Lightfv : glLightfv;
        auto lightf = layer ? gl::Lightf : glLightf;
        (layer ? gl::Viewport : glViewport)(0, 0, 640, 480);
        (layer ? gl::MatrixMode : glMatrixMode)(GL_PROJECTION);
        (layer ? gl::Perspective : gluPerspective)(40.0, 640.0 / 480.0, 0.1, 20.0);
        (layer ? gl::MatrixMode : glMatrixMode)(GL_MODELVIEW);
        (layer ? gl::LookAt : gluLookAt)(0.0, 0.0, 3.0, 0.0, 0.0, 2.0, 0.0, 1.0, 0.0);
        enable(GL_DEPTH_TEST);
        enable(GL_COLOR_MATERIAL);
        (layer ? gl::ColorMaterial : glColorMaterial)(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
        (layer ? gl::LightModeli : glLightModeli)(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
        (layer ? gl::Materialf : glMaterialf)(GL_FRONT_AND_BACK, GL_SHININESS, 30.0f);
        const GLfloat ambient[4] = {0.3f, 0.25f, 0.2f, 1.0f};
        (layer ? gl::LightModelfv : glLightModelfv)(GL_LIGHT_MODEL_AMBIENT, ambient);
        const GLfloat specular[4] = {0.8f, 0.8f, 0.8f, 1.0f};
        (layer ? gl::Materialfv : glMaterialfv)(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
        const GLfloat colours[2][4] = {{0.9f, 0.6f, 0.3f, 1.0f}, {0.2f, 0.5f, 0.9f, 1.0f}};
        const GLfloat origin[4] = {0, 0, 0, 1};
        const GLfloat towardOrigin[3] = {0, 0, -1};
        for (int i = 0; i < 2; ++i) {
            const GLenum light = GL_LIGHT0 + i;
            lightf(light, GL_SPOT_EXPONENT, 30.0f);
            lightf(light, GL_SPOT_CUTOFF, 30.0f);
            lightf(light, GL_LINEAR_ATTENUATION, 0.05f);
            lightfv(light, GL_AMBIENT, colours[i]);
            lightfv(light, GL_DIFFUSE, colours[i]);
            lightfv(light, GL_SPECULAR, colours[i]);
            enable(light);
            (layer ? gl::PushMatrix : glPushMatrix)();
            (layer ? gl::Rotated : glRotated)(i == 0 ? 25.0 : -140.0, 0.0, 1.0, 0.0);
            (layer ? gl::Rotated : glRotated)(i == 0 ? -15.0 : 20.0, 1.0, 0.0, 0.0);
            (layer ? gl::Translated : glTranslated)(0.0, 0.0, 2.2);
            lightfv(light, GL_POSITION, origin);
            lightfv(light, GL_SPOT_DIRECTION, towardOrigin);
            (layer ? gl::PopMatrix : glPopMatrix)();
        }
        enable(GL_LIGHTING);
        enable(GL_NORMALIZE);
        (layer ? gl::Color4f : glColor4f)(0.45f, 0.3f, 0.2f, 1.0f);
        (layer ? gl::Rotated : glRotated)(60.0, 1.0, 0.2, 0.0);
        (layer ? gl::Scaled : glScaled)(1.6, 1.6, 1.6);
        (layer ? gl::SolidTorus : glutSolidTorus)(0.2, 0.5, 20, 80);
    };
    const auto mesa = DrawAndRead([&] { scene(false); });
    ResetGlState();
    for (GLenum light : {GL_LIGHT0, GL_LIGHT1}) {
        glDisable(light);
    }
    const auto layer = DrawAndRead([&] { WithLayer([&] { scene(true); }); });
    EXPECT_GT(CountPixelsNot(0, 0, 640, 480, Rgb{0, 0, 0}), 20000) << "the torus is drawn";
    // Within a level everywhere but a few pixels on the outline, where the two transforms'
    // float roundings may put a pixel on either side of an edge.
    const PixelDifference difference = Compare(mesa, layer, 1);
    EXPECT_LE(difference.differing, 10)
        << "pixels off by more than a level; the largest " << difference.largest << " levels";
    if (difference.differing > 10) {
        KeepPictures("webgl-lighting", mesa, layer);
    }
}

// Lighting switched between draws reaches the shader whether it is switched directly or put
// back by glPopAttrib: a torus lit, lit by no light, unlit and lit again, as Mesa draws each.
TEST_F(LayerStateTest, LightingSwitchedBetweenDrawsIsMesas) {
    auto frames = [](bool layer) {
        auto enable = layer ? gl::Enable : glEnable;
        auto disable = layer ? gl::Disable : glDisable;
        std::vector<std::vector<Rgb>> pictures;
        auto frame = [&] {
            (layer ? gl::Clear : glClear)(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            (layer ? gl::SolidTorus : glutSolidTorus)(0.3, 0.8, 16, 32);
            pictures.push_back(ReadPixels(0, 0, 640, 480));
        };
        (layer ? gl::Viewport : glViewport)(0, 0, 640, 480);
        (layer ? gl::MatrixMode : glMatrixMode)(GL_PROJECTION);
        (layer ? gl::Perspective : gluPerspective)(40.0, 640.0 / 480.0, 0.1, 20.0);
        (layer ? gl::MatrixMode : glMatrixMode)(GL_MODELVIEW);
        (layer ? gl::LookAt : gluLookAt)(0.0, 0.0, 4.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
        // Every lighting parameter given, as earlier tests leave Mesa's changed.
        auto lightfv = layer ? gl::Lightfv : glLightfv;
        auto materialfv = layer ? gl::Materialfv : glMaterialfv;
        const GLfloat white[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 1};
        const GLfloat grey[4] = {0.2f, 0.2f, 0.2f, 1}, yellow[4] = {0.9f, 0.8f, 0.3f, 1};
        const GLfloat position[4] = {1, 1, 1, 0}, down[3] = {0, 0, -1};
        (layer ? gl::LightModelfv : glLightModelfv)(GL_LIGHT_MODEL_AMBIENT, grey);
        (layer ? gl::LightModeli : glLightModeli)(GL_LIGHT_MODEL_LOCAL_VIEWER, 0);
        lightfv(GL_LIGHT0, GL_AMBIENT, black);
        lightfv(GL_LIGHT0, GL_DIFFUSE, white);
        lightfv(GL_LIGHT0, GL_SPECULAR, black);
        lightfv(GL_LIGHT0, GL_POSITION, position);
        lightfv(GL_LIGHT0, GL_SPOT_DIRECTION, down);
        (layer ? gl::Lightf : glLightf)(GL_LIGHT0, GL_SPOT_CUTOFF, 180.0f);
        (layer ? gl::Lightf : glLightf)(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.0f);
        materialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, yellow);
        materialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
        materialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
        disable(GL_COLOR_MATERIAL);
        (layer ? gl::Rotated : glRotated)(50.0, 1.0, 0.3, 0.0);
        enable(GL_DEPTH_TEST);
        enable(GL_LIGHTING);
        enable(GL_LIGHT0);
        frame();
        disable(GL_LIGHT0);
        frame();
        enable(GL_LIGHT0);
        (layer ? gl::PushAttrib : glPushAttrib)(GL_ENABLE_BIT);
        disable(GL_LIGHTING);
        frame();
        (layer ? gl::PopAttrib : glPopAttrib)();
        frame();
        return pictures;
    };
    const auto mesa = frames(false);
    ResetGlState();
    glDisable(GL_LIGHT0);
    std::vector<std::vector<Rgb>> layer;
    WithLayer([&] { layer = frames(true); });
    ASSERT_EQ(layer.size(), mesa.size());
    EXPECT_GT(Compare(mesa[0], mesa[1], 8).differing, 20000) << "the light shows";
    EXPECT_GT(Compare(mesa[0], mesa[2], 8).differing, 20000) << "the lighting shows";
    for (size_t i = 0; i < mesa.size(); ++i) {
        const PixelDifference difference = Compare(mesa[i], layer[i], 1);
        EXPECT_LE(difference.differing, 10)
            << "frame " << i << ": pixels off by more than a level; the largest "
            << difference.largest << " levels";
    }
}

// Wrong calls give the errors Mesa gives, in the order Mesa reports them; GLU's names for
// every error code are the layer's too.
TEST_F(LayerStateTest, ErrorsAndTheirNamesAreMesas) {
    std::vector<GLenum> errors[2];
    OnBoth([&](bool layer) {
        auto check = [&] { errors[layer].push_back(layer ? gl::GetError() : glGetError()); };
        (layer ? gl::PopMatrix : glPopMatrix)();
        check();
        (layer ? gl::Enable : glEnable)(0x1234);
        check();
        (layer ? gl::Lightf : glLightf)(GL_LIGHT0, GL_SPOT_CUTOFF, 95.0f);
        check();
        (layer ? gl::Lightf : glLightf)(GL_LIGHT0, GL_SPOT_EXPONENT, -1.0f);
        check();
        (layer ? gl::Materialf : glMaterialf)(GL_FRONT_AND_BACK, GL_SHININESS, 200.0f);
        check();
        (layer ? gl::PointSize : glPointSize)(0.0f);
        check();
        (layer ? gl::End : glEnd)();
        check();
        (layer ? gl::Begin : glBegin)(GL_QUADS);
        (layer ? gl::Begin : glBegin)(GL_QUADS);
        (layer ? gl::End : glEnd)();
        check();
        (layer ? gl::EndList : glEndList)();
        check();
        (layer ? gl::NewList : glNewList)(0, GL_COMPILE);
        check();
        (layer ? gl::PopAttrib : glPopAttrib)();
        check();
        (layer ? gl::Viewport : glViewport)(0, 0, -1, 5);
        check();
        (layer ? gl::MatrixMode : glMatrixMode)(GL_MODELVIEW);
        for (int i = 0; i < 40; ++i) {
            (layer ? gl::PushMatrix : glPushMatrix)();
        }
        check();
        check();
    });
    glMatrixMode(GL_MODELVIEW);
    for (int i = 0; i < 40; ++i) {
        glPopMatrix();
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    EXPECT_EQ(errors[1], errors[0]);
    const GLenum codes[] = {GL_NO_ERROR,
                            GL_INVALID_ENUM,
                            GL_INVALID_VALUE,
                            GL_INVALID_OPERATION,
                            GL_STACK_OVERFLOW,
                            GL_STACK_UNDERFLOW,
                            GL_OUT_OF_MEMORY,
                            GLU_INVALID_ENUM,
                            GLU_INVALID_VALUE,
                            GLU_OUT_OF_MEMORY,
                            0x1234};
    for (GLenum code : codes) {
        const GLubyte* mesa = gluErrorString(code);
        const GLubyte* layer = gl::ErrorString(code);
        ASSERT_EQ(mesa == nullptr, layer == nullptr) << "code " << code;
        if (mesa != nullptr) {
            EXPECT_STREQ(reinterpret_cast<const char*>(layer), reinterpret_cast<const char*>(mesa));
        }
    }
}

// GLU's image work: gluScaleImage's box filter, and every mipmap level gluBuild2DMipmaps
// makes, read back from Mesa's texture, byte for byte.
TEST_F(LayerStateTest, ScaledImagesAndMipmapsAreGlus) {
    std::vector<uint8_t> image(13 * 6 * 3);
    for (size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<uint8_t>((i * 37 + i * i * 11) % 256);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (const auto& [width, height] : {std::pair{16, 8}, std::pair{5, 3}, std::pair{3, 7}}) {
        std::vector<uint8_t> glu(static_cast<size_t>(width) * height * 3);
        std::vector<uint8_t> layer(glu.size());
        ASSERT_EQ(gluScaleImage(GL_RGB, 13, 6, GL_UNSIGNED_BYTE, image.data(), width, height,
                                GL_UNSIGNED_BYTE, glu.data()),
                  0);
        gl::ScaleImage(3, 13, 6, image.data(), 1, width, height, layer.data(), 1);
        EXPECT_EQ(layer, glu) << width << " x " << height;
    }
    std::vector<uint8_t> square(16 * 4 * 4);
    for (size_t i = 0; i < square.size(); ++i) {
        square[i] =
            static_cast<uint8_t>((i * i * 7 + i * 13) % 251);  // sums not all multiples of 4
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    ASSERT_EQ(gluBuild2DMipmaps(GL_TEXTURE_2D, 4, 16, 4, GL_RGBA, GL_UNSIGNED_BYTE, square.data()),
              0);
    int levels = 0;
    gl::BuildMipmaps(4, 16, 4, square.data(), 1, 4096,
                     [&](int level, int width, int height, const uint8_t* pixels) {
                         std::vector<uint8_t> mesa(static_cast<size_t>(width) * height * 4);
                         glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE,
                                       mesa.data());
                         EXPECT_EQ(std::vector<uint8_t>(pixels, pixels + mesa.size()), mesa)
                             << "level " << level;
                         ++levels;
                     });
    EXPECT_EQ(levels, 5);
    glDeleteTextures(1, &texture);
}

// The overlay's and the star field's way of drawing, through the layer and through Mesa: a
// mipmapped RGBA texture from gluBuild2DMipmaps, modulated and blended over quads at several
// sizes (so several levels are sampled), a colour change and filled polygons saved and
// restored with glPushAttrib while lines are the polygon mode, and a display list of
// coloured points lit by a spotlight, called at two point sizes.
TEST_F(LayerStateTest, TexturedTextAndListedStarsAreMesas) {
    std::vector<uint8_t> font(64 * 64 * 4);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            uint8_t* p = &font[static_cast<size_t>(y * 64 + x) * 4];
            const bool ink = ((x / 4) + (y / 8)) % 3 == 0;
            p[0] = static_cast<uint8_t>(x * 4);
            p[1] = static_cast<uint8_t>(255 - y * 3);
            p[2] = 200;
            p[3] = ink ? 255 : static_cast<uint8_t>(x * 2);
        }
    }
    auto scene = [&](bool layer) {
        auto enable = layer ? gl::Enable : glEnable;
        auto begin = layer ? gl::Begin : glBegin;
        auto end = layer ? gl::End : glEnd;
        auto colour = layer ? gl::Color4f : glColor4f;
        auto texCoord = layer ? gl::TexCoord2f : glTexCoord2f;
        auto vertex = layer ? gl::Vertex3f : glVertex3f;
        GLuint texture = 0;
        (layer ? gl::GenTextures : glGenTextures)(1, &texture);
        (layer ? gl::BindTexture : glBindTexture)(GL_TEXTURE_2D, texture);
        auto parameter = layer ? gl::TexParameteri : glTexParameteri;
        parameter(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        parameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        (layer ? gl::Build2DMipmaps : gluBuild2DMipmaps)(GL_TEXTURE_2D, 4, 64, 64, GL_RGBA,
                                                         GL_UNSIGNED_BYTE, font.data());
        (layer ? gl::MatrixMode : glMatrixMode)(GL_PROJECTION);
        (layer ? gl::Ortho : glOrtho)(0, 640, 0, 480, -1, 1);
        (layer ? gl::MatrixMode : glMatrixMode)(GL_MODELVIEW);
        (layer ? gl::PolygonMode : glPolygonMode)(GL_FRONT_AND_BACK, GL_LINE);
        (layer ? gl::PushAttrib : glPushAttrib)(GL_POLYGON_BIT);
        (layer ? gl::PolygonMode : glPolygonMode)(GL_FRONT_AND_BACK, GL_FILL);
        enable(GL_TEXTURE_2D);
        enable(GL_BLEND);
        (layer ? gl::BlendFunc : glBlendFunc)(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        float left = 10.0f;
        for (float size : {64.0f, 30.0f, 17.0f, 9.0f, 5.5f}) {
            colour(1.0f, size > 20.0f ? 1.0f : 0.6f, 1.0f, 1.0f);
            for (int glyph = 0; glyph < 3; ++glyph, left += size * 0.8f) {
                const float s0 = 0.25f * glyph + 0.01f, t0 = 0.3f;
                begin(GL_QUADS);
                texCoord(s0, t0);
                vertex(left, 300, 0);
                texCoord(s0 + 0.25f, t0);
                vertex(left + size * 0.5f, 300, 0);
                texCoord(s0 + 0.25f, t0 + 0.5f);
                vertex(left + size * 0.5f, 300 + size, 0);
                texCoord(s0, t0 + 0.5f);
                vertex(left, 300 + size, 0);
                end();
            }
        }
        (layer ? gl::Disable : glDisable)(GL_TEXTURE_2D);
        (layer ? gl::PopAttrib : glPopAttrib)();
        // Lines again: a quad's outline.
        begin(GL_QUADS);
        for (const auto& [x, y] :
             {std::pair{400.0f, 380.0f}, {600.0f, 390.0f}, {590.0f, 470.0f}, {410.0f, 450.0f}}) {
            vertex(x, y, 0.0f);
        }
        end();
        // Stars: a list of points lit by a spotlight, the normal left as it is.
        const GLuint list = (layer ? gl::GenLists : glGenLists)(1);
        (layer ? gl::NewList : glNewList)(list, GL_COMPILE);
        begin(GL_POINTS);
        for (int i = 0; i < 300; ++i) {
            colour(0.3f + (i % 7) * 0.1f, 0.5f, 0.8f - (i % 5) * 0.1f, 1.0f);
            vertex(20.0f + (i * 37) % 600 + 0.3f, 20.0f + (i * 53) % 250 + 0.6f, 0.0f);
        }
        end();
        (layer ? gl::EndList : glEndList)();
        const GLfloat position[4] = {320, 150, 200, 1};
        const GLfloat down[3] = {0, 0, -1};
        (layer ? gl::Lightfv : glLightfv)(GL_LIGHT0, GL_POSITION, position);
        (layer ? gl::Lightfv : glLightfv)(GL_LIGHT0, GL_SPOT_DIRECTION, down);
        // Every value the lighting reads, set here: Mesa keeps those of the tests before.
        const GLfloat white[4] = {1, 1, 1, 1}, grey[4] = {0.2f, 0.2f, 0.2f, 1},
                      none[4] = {0, 0, 0, 1};
        (layer ? gl::Lightfv : glLightfv)(GL_LIGHT0, GL_AMBIENT, none);
        (layer ? gl::Lightfv : glLightfv)(GL_LIGHT0, GL_DIFFUSE, white);
        (layer ? gl::Lightfv : glLightfv)(GL_LIGHT0, GL_SPECULAR, white);
        (layer ? gl::Lightf : glLightf)(GL_LIGHT0, GL_SPOT_CUTOFF, 50.0f);
        (layer ? gl::Lightf : glLightf)(GL_LIGHT0, GL_SPOT_EXPONENT, 2.0f);
        (layer ? gl::Lightf : glLightf)(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.0f);
        (layer ? gl::LightModelfv : glLightModelfv)(GL_LIGHT_MODEL_AMBIENT, grey);
        (layer ? gl::LightModeli : glLightModeli)(GL_LIGHT_MODEL_LOCAL_VIEWER, 0);
        (layer ? gl::Materialfv : glMaterialfv)(GL_FRONT_AND_BACK, GL_SPECULAR, grey);
        (layer ? gl::Materialf : glMaterialf)(GL_FRONT_AND_BACK, GL_SHININESS, 10.0f);
        enable(GL_LIGHT0);
        enable(GL_LIGHTING);
        enable(GL_COLOR_MATERIAL);
        enable(GL_POINT_SMOOTH);
        for (float size : {1.0f, 3.0f}) {
            (layer ? gl::PointSize : glPointSize)(size);
            (layer ? gl::CallList : glCallList)(list);
            (layer ? gl::Translated : glTranslated)(3.0, 170.0, 0.0);
        }
        (layer ? gl::DeleteLists : glDeleteLists)(list, 1);
        (layer ? gl::DeleteTextures : glDeleteTextures)(1, &texture);
    };
    const auto mesa = DrawAndRead([&] { scene(false); });
    ResetGlState();
    glDisable(GL_LIGHT0);
    const auto layer = DrawAndRead([&] { WithLayer([&] { scene(true); }); });
    EXPECT_GT(CountPixelsNot(0, 0, 640, 480, Rgb{0, 0, 0}), 3000);
    const PixelDifference difference = Compare(mesa, layer, 1);
    EXPECT_LE(difference.differing, 10) << "the largest difference " << difference.largest;
    if (difference.differing > 10) {
        KeepPictures("webgl-text-stars", mesa, layer);
    }
}

// After a display list runs, the current colour is its last; a reset forgets lists,
// textures, matrices and switches, and OpenGL's initial values are back.
TEST_F(LayerStateTest, ListsLeaveTheirColourAndResetForgetsEverything) {
    gl::ResetState();
    const GLuint list = gl::GenLists(1);
    gl::NewList(list, GL_COMPILE);
    gl::Begin(GL_POINTS);
    gl::Color4f(0.2f, 0.4f, 0.6f, 1.0f);
    gl::Vertex3f(0, 0, 0);
    gl::Color4f(0.7f, 0.1f, 0.3f, 1.0f);
    gl::Vertex3f(0.5f, 0, 0);
    gl::End();
    gl::EndList();
    GLfloat colour[4];
    gl::GetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 1.0f) << "compiling changes no current colour";
    gl::CallList(list);
    gl::GetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 0.7f);
    EXPECT_EQ(colour[2], 0.3f);

    gl::Enable(GL_LIGHTING);
    gl::PolygonMode(GL_FRONT_AND_BACK, GL_POINT);
    gl::Translated(1, 2, 3);
    gl::PushAttrib(GL_VIEWPORT_BIT);
    ResetGlLayerState();
    EXPECT_EQ(gl::IsEnabled(GL_LIGHTING), GL_FALSE);
    GLint mode[2], depth = 0;
    gl::GetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
    gl::GetIntegerv(GL_ATTRIB_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 0);
    GLfloat modelView[16];
    gl::GetFloatv(GL_MODELVIEW_MATRIX, modelView);
    EXPECT_EQ(modelView[12], 0.0f);
    EXPECT_EQ(gl::GenLists(1), 1u) << "list names start again";
    gl::CallList(list);
    gl::GetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 1.0f) << "the old list is gone";
    EXPECT_EQ(gl::GetError(), static_cast<GLenum>(GL_NO_ERROR));
    WithLayer([] {});
}

}  // namespace
