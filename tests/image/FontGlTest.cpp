// The shipped font as a texture, drawn through the glyph grid's texture coordinates: glyphs
// show upright, sit on a baseline above the quad's lower edge, and no cell bleeds into its
// neighbour's quad.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "image/BmpLoader.h"
#include "image/Texture.h"
#include "tests/support/GlTestSupport.h"

namespace {
const Rgb kBlack{0, 0, 0};

// One glyph quad of the given height (width half of it), lower-left corner at (x, y) in
// window pixels, texture coordinates as the glyph grid gives them for the byte.
void DrawCell(uint8_t byte, float x, float y, float height) {
    const int code = (byte - 32) & 0xFF;
    const float s0 = static_cast<float>(code % 16 * 0.0625);
    const float t0 = static_cast<float>(0.875 - code / 16 * 0.125 - 0.01);
    const float width = height * 0.5f;
    glBegin(GL_QUADS);
    {
        glTexCoord2f(s0, t0);
        glVertex2f(x, y);
        glTexCoord2f(s0 + 0.0625f, t0);
        glVertex2f(x + width, y);
        glTexCoord2f(s0 + 0.0625f, t0 + 0.125f);
        glVertex2f(x + width, y + height);
        glTexCoord2f(s0, t0 + 0.125f);
        glVertex2f(x, y + height);
    }
    glEnd();
}

// Window-pixel projection, white blended texturing of the font as text is drawn, black
// background.
class FontGlTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_TRUE(font.Load(TAVIK_FONT, LoadBmp)) << TAVIK_FONT;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 640, 0, 480, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 1, 1);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        font.Bind();
    }
    void TearDown() override {
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        font.Release();
        GlTest::TearDown();
    }

    // Rows of the window, from y to y + height - 1, that have ink in columns x to x + width - 1.
    static std::vector<bool> InkedRows(int x, int y, int width, int height) {
        std::vector<bool> rows;
        for (int row = 0; row < height; ++row) {
            rows.push_back(CountPixelsNot(x, y + row, width, 1, kBlack, 60) > 0);
        }
        return rows;
    }

    // Horizontal extent of the ink in one window row.
    static int InkSpan(int x, int y, int width) {
        const std::vector<Rgb> row = ReadPixels(x, y, width, 1);
        int first = -1;
        int last = -2;
        for (int i = 0; i < width; ++i) {
            if (row[i].r > 127) {
                first = first < 0 ? i : first;
                last = i;
            }
        }
        return last - first + 1;
    }

    Texture font;
};

int Lowest(const std::vector<bool>& rows) {
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i]) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int Highest(const std::vector<bool>& rows) {
    for (size_t i = rows.size(); i-- > 0;) {
        if (rows[i]) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
}  // namespace

TEST_F(FontGlTest, GlyphsStandUprightOnABaseline) {
    // Two glyphs 256 pixels high, side by side, lower edges at y = 100.
    constexpr int kHeight = 256;
    constexpr int kBottom = 100;
    DrawCell('A', 40, kBottom, kHeight);
    DrawCell('g', 300, kBottom, kHeight);

    const std::vector<bool> capital = InkedRows(40, kBottom, kHeight / 2, kHeight);
    const std::vector<bool> descender = InkedRows(300, kBottom, kHeight / 2, kHeight);
    const int foot = Lowest(capital);
    const int top = Highest(capital);
    ASSERT_GE(foot, 0) << "'A' drew nothing";
    ASSERT_GE(Lowest(descender), 0) << "'g' drew nothing";

    // 'A' stands on a baseline above the lower edge, leaving room for descenders, and is
    // not cut at the top.
    EXPECT_GT(foot, kHeight * 15 / 100);
    EXPECT_LT(top, kHeight - kHeight / 20);
    // Upright: its legs are far wider than its apex.
    EXPECT_GT(InkSpan(40, kBottom + foot + 4, kHeight / 2),
              2 * InkSpan(40, kBottom + top - 4, kHeight / 2));
    // 'g' hangs below the baseline and is lower than the capital.
    EXPECT_LT(Lowest(descender), foot - kHeight / 16);
    EXPECT_GT(Lowest(descender), 0) << "the descender is cut off";
    EXPECT_LT(Highest(descender), top);
}

TEST_F(FontGlTest, CellsDrawOnlyInsideTheirQuads) {
    // Each grid row at one texel per pixel, 16 quads of 32 x 64 a row, 6 pixels apart. Ink
    // at a quad's edges would come from a neighbouring cell, or be a glyph cut off.
    for (int gridRow = 0; gridRow < 8; ++gridRow) {
        glClear(GL_COLOR_BUFFER_BIT);
        for (int column = 0; column < 16; ++column) {
            DrawCell(static_cast<uint8_t>(32 + gridRow * 16 + column), 10.0f + column * 38, 100,
                     64);
        }
        for (int column = 0; column < 16; ++column) {
            const int byte = 32 + gridRow * 16 + column;
            SCOPED_TRACE("byte " + std::to_string(byte));
            const int x = 10 + column * 38;
            const int inside = CountPixelsNot(x, 100, 32, 64, kBlack, 60);
            if (byte == 32 || byte >= 127) {
                EXPECT_EQ(inside, 0) << "an empty cell";
                continue;
            }
            EXPECT_GT(inside, 20);
            EXPECT_EQ(CountPixelsNot(x, 100, 32, 2, kBlack, 60), 0) << "bottom edge";
            EXPECT_EQ(CountPixelsNot(x, 162, 32, 2, kBlack, 60), 0) << "top edge";
            EXPECT_EQ(CountPixelsNot(x, 100, 1, 64, kBlack, 60), 0) << "left edge";
            EXPECT_EQ(CountPixelsNot(x + 31, 100, 1, 64, kBlack, 60), 0) << "right edge";
        }
    }
}
