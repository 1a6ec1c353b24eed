// The bitmap-font text renderer: one textured quad per character in window pixel
// coordinates, and the record of the last text drawn while recording is on.
#include "overlay/TextOverlay.h"

#include <GL/glut.h>  // glutGet, the default window size query; also brings GL/gl.h

#include <cstddef>
#include <cstring>

#include "overlay/TextLayout.h"

const WindowQuery kGlutWindowQuery = glutGet;
WindowQuery overlayWindowQuery = kGlutWindowQuery;

namespace {
constexpr int kGridColumns = 16;
constexpr float kCellWidth = 0.0625f;  // one sixteenth of the texture's width
constexpr float kCellHeight = 0.125f;  // one eighth of the texture's height

// Texture coordinates of a glyph cell's lower left corner.
struct GlyphCell {
    float s0;
    float t0;
};

// The cell of a character byte: code (byte - 32) mod 256, sixteen codes to a row, row 0 at
// the top of the t range. Codes from 128 on give rows past the eighth, whose t range lies
// below 0; the font texture's repeat wrapping maps them onto the cell of byte - 128 (and
// bytes below 32 onto byte + 128). The band is moved 0.01 towards t = 0 but not shrunk.
GlyphCell CellOf(unsigned char byte) {
    const unsigned code = static_cast<unsigned char>(byte - 32u);
    const unsigned column = code % kGridColumns;
    const unsigned row = code / kGridColumns;
    return {static_cast<float>(column * 0.0625), static_cast<float>(0.875 - row * 0.125 - 0.01)};
}

// One glyph quad, corners counter-clockwise from the lower left, texture coordinate first.
void DrawGlyph(GlyphCell cell, float left, float bottom, float width, float height) {
    glBegin(GL_QUADS);
    {
        glTexCoord2f(cell.s0, cell.t0);
        glVertex2f(left, bottom);
        glTexCoord2f(cell.s0 + kCellWidth, cell.t0);
        glVertex2f(left + width, bottom);
        glTexCoord2f(cell.s0 + kCellWidth, cell.t0 + kCellHeight);
        glVertex2f(left + width, bottom + height);
        glTexCoord2f(cell.s0, cell.t0 + kCellHeight);
        glVertex2f(left, bottom + height);
    }
    glEnd();
}

// Copies text into the record byte by byte up to and including its NUL, cut to 79 bytes
// and a terminator. text may be the record itself (the status message redrawn), which the
// forward byte copy handles.
void CopyRecord(char (&record)[kMessageBytes], const char* text) {
    size_t i = 0;
    for (; i + 1 < kMessageBytes && text[i] != '\0'; ++i) {
        record[i] = text[i];
    }
    record[i] = '\0';
}
}  // namespace

TextOverlay::TextOverlay()
    : messageX(0), messageY(0), recording(1), messageExpiry(0.0), messageText{} {}

TextOverlay::~TextOverlay() = default;

void TextOverlay::DrawText(const char* text, int16_t x, int16_t y, float size) {
    if (text == nullptr) {
        text = "";
    }
    int16_t pen = x;
    const int16_t baseline =
        ToPixel16(static_cast<double>(overlayWindowQuery(GLUT_WINDOW_HEIGHT)) - y);
    const size_t length = std::strlen(text);
    const float glyphWidth = static_cast<float>(size * 0.5);
    const float glyphHeight = size;
    const float advance = static_cast<float>(size * 0.4);

    // White glyphs blended over the frame, no depth writes, filled polygons, and a
    // projection of the whole window in pixels whatever viewport the scene uses.
    glColor3d(1.0, 1.0, 1.0);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    fontTexture.Bind();
    glDepthMask(GL_FALSE);
    glPushAttrib(GL_POLYGON_BIT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glPushMatrix();
    {
        glPushAttrib(GL_VIEWPORT_BIT);
        const int windowWidth = overlayWindowQuery(GLUT_WINDOW_WIDTH);
        const int windowHeight = overlayWindowQuery(GLUT_WINDOW_HEIGHT);
        glViewport(0, 0, windowWidth, windowHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, windowWidth, 0, windowHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();

        for (size_t i = 0; i < length; ++i) {
            const unsigned char byte = static_cast<unsigned char>(text[i]);
            if (byte != ' ') {
                DrawGlyph(CellOf(byte), pen, baseline, glyphWidth, glyphHeight);
            }
            pen = AdvancePen(pen, advance);
        }
    }
    // The caller's model-view matrix, viewport and polygon mode come back; blending and
    // texturing end off and depth writes on. The orthographic projection stays loaded.
    glPopMatrix();
    glPopAttrib();  // viewport
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glPopAttrib();  // polygon mode
    glDepthMask(GL_TRUE);

    if (recording != 0) {
        messageX = x;
        messageY = y;
        CopyRecord(messageText, text);
    }
}
