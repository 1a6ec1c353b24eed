// DrawText in the real context: glyph quads and texture coordinates from feedback mode, the
// state a caller finds afterwards, the record, and the pixels drawn without a font. The
// pixels of real glyphs are compared with reference pictures by the golden tests.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "overlay/TextOverlay.h"
#include "tests/overlay/OverlayGlSupport.h"
#include "tests/support/GlTestSupport.h"

namespace {
// Texture coordinates of the lower left corner of a byte's cell, as the font layout states
// them: s0 = column / 16, t0 = 0.875 - row / 8 - 0.01 (row 0 from 0.865 to 0.99).
struct Cell {
    float s0, t0;
};

// Every vertex of the quad lies on the cell's texture mapping: s grows with x over one
// sixteenth, t grows with y over one eighth, the lower edge taking the smaller t.
void ExpectQuadShowsCell(const GlyphQuad& q, Cell cell, float left, float bottom, float width,
                         float height, const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_NEAR(q.left, left, 1e-3);
    EXPECT_NEAR(q.right, left + width, 1e-3);
    EXPECT_NEAR(q.bottom, bottom, 1e-3);
    EXPECT_NEAR(q.top, bottom + height, 1e-3);
    for (const FeedbackVertex& v : q.vertices) {
        EXPECT_NEAR(v.s, cell.s0 + (v.x - left) / width * 0.0625f, 1e-5) << "at x " << v.x;
        EXPECT_NEAR(v.t, cell.t0 + (v.y - bottom) / height * 0.125f, 1e-5) << "at y " << v.y;
        EXPECT_NEAR(v.z, 0.5f, 1e-5) << "z 0, the middle of the depth range";
        EXPECT_EQ(v.r, 1.0f);
        EXPECT_EQ(v.g, 1.0f);
        EXPECT_EQ(v.b, 1.0f);
        EXPECT_EQ(v.a, 1.0f);
    }
}

void ExpectMatrix(GLenum which, const GLfloat (&want)[16], const char* what) {
    GLfloat m[16];
    glGetFloatv(which, m);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(m[i], want[i], 1e-6) << what << " element " << i;
    }
}

}  // namespace

class TextOverlayGlTest : public OverlayGlTest {};

// Quads size / 2 wide and size high, their lower edge y below the window's top, each
// size x 0.4 further on, truncated (7.2 moves 7 each time); spaces advance unseen. ' ' .. '/'
// fill row 0 (t 0.865 to 0.99), 0x90 .. 0x9f (octal 220 .. 237) row 7 (t -0.01 to 0.115).
TEST_F(TextOverlayGlTest, QuadsFollowThePenAndShowTheirCells) {
    const std::vector<Cell> firstAndLastRows = {{0.0625f, 0.865f}, {0.9375f, 0.865f},
                                                {0.0f, 0.74f},     {0.0f, -0.01f},
                                                {0.9375f, -0.01f}, {0.0625f, 0.615f}};
    const struct {
        const char* text;
        int16_t x, y;
        float size;
        std::vector<Cell> cells;
        std::vector<float> lefts;
    } lines[] = {
        {"Hi", 10, 20, 20.0f, {{0.5f, 0.615f}, {0.5625f, 0.365f}}, {10, 18}},
        {"Ab", 20, 43, 30.0f, {{0.0625f, 0.615f}, {0.125f, 0.365f}}, {20, 32}},
        {"a  b", 10, 20, 20.0f, {{0.0625f, 0.365f}, {0.125f, 0.365f}}, {10, 34}},
        {"!/0\220\237A", 30, 100, 18.0f, firstAndLastRows, {30, 37, 44, 51, 58, 65}},
    };
    for (const auto& line : lines) {
        const auto quads =
            CaptureQuads([&] { overlay.DrawText(line.text, line.x, line.y, line.size); });
        ASSERT_EQ(quads.size(), line.cells.size()) << line.text;
        for (size_t i = 0; i < quads.size(); ++i) {
            ExpectQuadShowsCell(quads[i], line.cells[i], line.lefts[i], 480.0f - line.y,
                                line.size / 2, line.size,
                                std::string(line.text) + " glyph " + std::to_string(i));
        }
    }
    EXPECT_TRUE(CaptureFeedback([&] { overlay.DrawText("     ", 10, 20, 20.0f); }).empty());
    EXPECT_TRUE(CaptureFeedback([&] { overlay.DrawText("", 10, 20, 20.0f); }).empty());
}

TEST_F(TextOverlayGlTest, BytesOutsideTheGridWrapOntoItsCells) {
    // A newline (10) is code 234, row 14: its t range lies 1.0 below that of byte 138, so
    // the texture's repeat shows byte 138's cell. Bytes from 160 show the cell of byte - 128.
    const auto quads =
        CaptureQuads([&] { overlay.DrawText("\n\x8a\xc8H\xff\x7f\x01\x81", 10, 20, 20.0f); });
    ASSERT_EQ(quads.size(), 8u);
    ExpectQuadShowsCell(quads[0], {0.625f, -0.885f}, 10, 460, 10, 20, "newline");
    ExpectQuadShowsCell(quads[1], {0.625f, 0.115f}, 18, 460, 10, 20, "byte 138");
    for (int pair = 0; pair < 4; ++pair) {
        const GlyphQuad& wrapped = quads[2 * pair];
        const GlyphQuad& inside = quads[2 * pair + 1];
        SCOPED_TRACE("pair " + std::to_string(pair));
        EXPECT_NEAR(wrapped.sMin, inside.sMin, 1e-6);
        EXPECT_NEAR(wrapped.tMin + 1.0f, inside.tMin, 1e-5);
        EXPECT_NEAR(wrapped.tMax + 1.0f, inside.tMax, 1e-5);
        EXPECT_EQ(ByteOfQuad(wrapped), ByteOfQuad(inside));
    }
    EXPECT_EQ(ByteOfQuad(quads[0]), 138);
    EXPECT_EQ(ByteOfQuad(quads[2]), 'H');
    EXPECT_EQ(ByteOfQuad(quads[4]), 127);
    EXPECT_EQ(ByteOfQuad(quads[6]), 129);
}

TEST_F(TextOverlayGlTest, StateAfterwardsUnderALetterboxViewport) {
    // A scene's state: letterboxed viewport, perspective projection, moved model-view, a
    // non-white colour, blending, texturing and depth test on, depth writes off, outlines.
    glViewport(0, 60, 640, 360);
    glMatrixMode(GL_PROJECTION);
    gluPerspective(45.0, 640.0 / 360.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1.0f, 2.0f, -30.0f);
    glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
    GLfloat modelView[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    glColor4f(0.2f, 0.4f, 0.6f, 0.5f);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glPolygonMode(GL_FRONT, GL_LINE);
    glPolygonMode(GL_BACK, GL_POINT);

    const auto all = CaptureFeedback([&] { overlay.DrawText("Top", 10, 20, 20.0f); });
    const auto quads = QuadsOf(all);
    ASSERT_EQ(quads.size(), 3u) << "drawn filled, not as outlines or points";
    EXPECT_NEAR(quads[0].bottom, 460, 1e-3) << "in the top bar, outside the letterbox";
    EXPECT_NEAR(quads[0].top, 480, 1e-3);

    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << "the depth test is not touched";
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_TRUE(viewport[0] == 0 && viewport[1] == 60 && viewport[2] == 640 && viewport[3] == 360);
    GLint polygonMode[2];
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_TRUE(polygonMode[0] == GL_LINE && polygonMode[1] == GL_POINT);
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    ExpectMatrix(GL_MODELVIEW_MATRIX, modelView, "model-view");
    // glOrtho(0, 640, 0, 480, -1, 1), column by column.
    const GLfloat ortho[16] = {2.0f / 640, 0, 0, 0, 0, 2.0f / 480, 0, 0, 0, 0, -1, 0, -1, -1, 0, 1};
    ExpectMatrix(GL_PROJECTION_MATRIX, ortho, "projection");
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_TRUE(colour[0] == 1.0f && colour[1] == 1.0f && colour[2] == 1.0f && colour[3] == 1.0f)
        << "white";
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<uint32_t>(bound), FontHandle() - 1) << "the font stays bound";
    GLint attribDepth = -1, modelViewDepth = -1;
    glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &attribDepth);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelViewDepth);
    EXPECT_EQ(attribDepth, 0);
    EXPECT_EQ(modelViewDepth, 1);
    EXPECT_NO_GL_ERROR();
}

TEST_F(TextOverlayGlTest, RecordIsKeptWhileRecordingIsOffAndByARedraw) {
    overlay.DrawText("Camera Z 12", 10, 20, 20.0f);
    EXPECT_STREQ(overlay.messageText, "Camera Z 12");
    EXPECT_EQ(overlay.messageX, 10);
    EXPECT_EQ(overlay.messageY, 20);

    overlay.recording = 0;
    overlay.DrawText("not recorded", 300, 200, 18.0f);
    EXPECT_STREQ(overlay.messageText, "Camera Z 12");
    EXPECT_EQ(overlay.messageX, 10);
    EXPECT_EQ(overlay.messageY, 20);
    EXPECT_EQ(overlay.recording, 0) << "DrawText never switches recording itself";

    overlay.recording = 1;
    const auto quads = CaptureQuads([&] {
        overlay.DrawText(overlay.messageText, static_cast<int16_t>(overlay.messageX),
                         static_cast<int16_t>(overlay.messageY), 20.0f);
    });
    EXPECT_EQ(quads.size(), 9u);
    EXPECT_STREQ(overlay.messageText, "Camera Z 12");
    EXPECT_EQ(overlay.messageX, 10);
    EXPECT_EQ(overlay.messageY, 20);

    overlay.DrawText("", -7, 300, 20.0f);
    EXPECT_STREQ(overlay.messageText, "") << "an empty text is recorded too";
    EXPECT_EQ(overlay.messageX, -7) << "a 16-bit position, sign-extended";
    EXPECT_EQ(overlay.messageY, 300);
}

TEST_F(TextOverlayGlTest, LongTextIsCutTo79BytesInTheRecord) {
    const uint32_t font = overlay.fontTexture.handle;
    std::string text79(79, 'a');
    overlay.DrawText(text79.c_str(), 10, 20, 20.0f);
    EXPECT_EQ(std::string(overlay.messageText), text79);

    for (size_t length : {80u, 81u, 200u}) {
        std::string text;
        for (size_t i = 0; i < length; ++i) {
            text += static_cast<char>('A' + i % 26);
        }
        overlay.messageExpiry = 42.0;
        overlay.DrawText(text.c_str(), 10, 20, 20.0f);
        EXPECT_EQ(std::string(overlay.messageText), text.substr(0, 79)) << length << " bytes";
        EXPECT_EQ(overlay.messageText[79], '\0');
        EXPECT_EQ(overlay.fontTexture.handle, font) << "the member after messageText";
        EXPECT_EQ(overlay.messageExpiry, 42.0) << "the member before messageText";
        EXPECT_EQ(overlay.recording, 1);
    }
}

TEST_F(TextOverlayGlTest, WithoutAFontEveryGlyphButTheSpaceIsASolidWhiteQuad) {
    overlay.fontTexture.handle = 0;  // the font failed to load
    overlay.DrawText("A Bj", 10, 20, 20.0f);
    // Quads: A at 10..20, B at 26..36, j at 34..44; the space leaves 20..26 dark.
    const Rgb white{255, 255, 255}, black{0, 0, 0};
    EXPECT_EQ(CountPixelsNot(10, 460, 10, 20, white, 0), 0) << "A";
    EXPECT_EQ(CountPixelsNot(26, 460, 18, 20, white, 0), 0) << "B and j";
    EXPECT_EQ(CountPixelsNot(20, 460, 6, 20, black, 0), 0) << "the space";
    EXPECT_EQ(CountPixelsNot(0, 460, 10, 20, black, 0), 0) << "left of the text";
    EXPECT_EQ(CountPixelsNot(44, 460, 596, 20, black, 0), 0) << "right of the text";
    EXPECT_EQ(CountPixelsNot(0, 0, 640, 460, black, 0), 0) << "below the top 20 rows";
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
}
