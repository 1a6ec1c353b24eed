// The help page: its 27 lines read back from feedback mode at their positions for two
// window heights, the record left alone, and the page's pixels over a cleared frame (which
// the test can also write out as a picture, see HelpPagePixels).
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "overlay/HelpScreen.h"
#include "shell/Clock.h"
#include "shell/SceneGlobals.h"
#include "tests/overlay/OverlayGlSupport.h"
#include "tests/support/GlTestSupport.h"

namespace {
struct HelpLine {
    int y;             // distance of the lower edge from the top, at height 480
    const char* text;  // trailing spaces left out: they draw nothing; null for a credit line
};

// The page as the help screen's table lists it: the title at size 30 from x 20, then the
// lines at size 18 from x 30.
const HelpLine kPage[] = {
    {43, "Kestrane: FreeStyle: Tavik"},
    {66, "Special Controls for this simulation:"},
    {83, "  <Left/Right Arrows> - Adjust Gyro Rotate Speed"},
    {100, "  shift  <>  - Adjust Tesselation"},
    {122, "Standard Controls in most simulations where applicable:"},
    {139, "          -=  Adjust World Rotate Speed"},
    {156, "  shift   _+  Adjust World Movement Speed"},
    {173, "  shift   {}  Adjust World Closeness (Camera Z)"},
    {190, "  shift   ()  Adjust Light Rotate Speed"},
    {207, "unshifted <>  Adjust Screen Magnification"},
    {224, "          []  Adjust Object Size"},
    {241, "           c  Toggle Frame-Per-Second Clock"},
    {258, "           f  Toggle FullScreen/Window"},
    {275, "           l  Adjust Letterbox Size 0-6"},
    {292, "           o  Toggle Available Options"},
    {309, "           p  Toggle Pause On/Off"},
    {326, "           r  Reset/Randomize all parameters"},
    {343, "           s  Toggle Color SpotLites On-Off"},
    {360, "           t  Toggle Textures On-Off"},
    {377, "           u  Toggle Universe of Stars On/Off"},
    {394, "           w  Toggle Polygons/Wireframe/Points"},
    {411, "      <SPACE> Toggle Hyperspace (brief non-blanking)"},
    {428, "        <ESC> to QUIT."},
    {445, "   --------------------------------------------------------"},
    {462, nullptr},
    {479, nullptr},
    {496, "   <?> to return"},
};
constexpr int kPageLines = sizeof(kPage) / sizeof(kPage[0]);
static_assert(sizeof(Rgb) == 3, "pixels are written out as packed RGB");

// Checks every line of the page drawn in a window of the given height, where the title's
// lower edge lies at titleY from the top.
void ExpectPage(int height, int titleY) {
    textOverlay.recording = 1;
    const auto quads = CaptureQuads([] { DrawHelpScreen(); });
    // Lines are told apart by their upper edge, which stays inside the window even for the
    // last line at height 480.
    std::map<int, std::vector<GlyphQuad>> byTop;
    for (const GlyphQuad& q : quads) {
        byTop[static_cast<int>(std::lround(q.top))].push_back(q);
    }
    size_t matched = 0;
    for (int i = 0; i < kPageLines; ++i) {
        const bool title = i == 0;
        const int size = title ? 30 : 18;
        const int y = kPage[i].y - 43 + titleY;
        const int top = height - y + size;
        SCOPED_TRACE("line " + std::to_string(i) + " at y " + std::to_string(y));
        const auto found = byTop.find(top);
        ASSERT_NE(found, byTop.end()) << "nothing drawn there";
        matched += found->second.size();
        for (const GlyphQuad& q : found->second) {
            EXPECT_NEAR(q.right - q.left, size / 2.0f, 1e-3) << "glyph width";
            if (height - y >= 0) {
                EXPECT_NEAR(q.bottom, height - y, 1e-3) << "lower edge";
            } else {
                EXPECT_NEAR(q.bottom, 0.0f, 1e-3) << "cut off at the window's bottom";
            }
        }
        const std::string text = DecodeLine(found->second, title ? 20 : 30, title ? 12 : 7);
        if (kPage[i].text != nullptr) {
            EXPECT_EQ(text, kPage[i].text);
        } else {
            EXPECT_GE(text.size(), 10u) << "a credit line";
            EXPECT_LE(30 + 7 * static_cast<int>(text.size()) + 2, 640) << "fits the width";
        }
    }
    EXPECT_EQ(matched, quads.size()) << "glyphs drawn outside the page's lines";
    EXPECT_EQ(textOverlay.recording, 1);
}
}  // namespace

class HelpScreenGlTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ASSERT_NE(FontHandle(), 0u);
        textOverlay.fontTexture.handle = FontHandle();
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    void TearDown() override {
        textOverlay.fontTexture.handle = 0;
        GlTest::TearDown();
    }
};

TEST_F(HelpScreenGlTest, PageAtHeight480WithTheLastLineCutOff) {
    ExpectPage(480, 43);
    // Line 26 lies at 496: only its top 2 rows are inside the window.
    const auto quads = CaptureQuads([] { DrawHelpScreen(); });
    float lowest = 1e9f;
    for (const GlyphQuad& q : quads) {
        lowest = std::min(lowest, q.bottom);
    }
    EXPECT_NEAR(lowest, 0.0f, 1e-3);
}

TEST_F(HelpScreenGlTest, PageAtHeight768) {
    ASSERT_TRUE(ResizeWindow(640, 768));
    ExpectPage(768, 69);
}

TEST_F(HelpScreenGlTest, HelpLinesNeverBecomeTheStatusMessage) {
    ElapsedMs = 7000;
    textOverlay.ShowMessage("Universe ON");
    textOverlay.recording = 0;
    DrawHelpScreen();
    ElapsedMs = 0;
    EXPECT_EQ(textOverlay.recording, 1) << "set back to 1, not to what it was";
    EXPECT_STREQ(textOverlay.messageText, "Universe ON");
    EXPECT_EQ(textOverlay.messageX, 10);
    EXPECT_EQ(textOverlay.messageY, 20);
    EXPECT_DOUBLE_EQ(textOverlay.messageExpiry, 10.0);
}

// Draws the page over a cleared 640 x 480 frame and checks where light falls. With the
// environment variable TAVIK_HELP_PICTURE set to a file name, also writes the frame there
// as a binary PPM, top row first (the picture in docs/ comes from this).
TEST_F(HelpScreenGlTest, HelpPagePixels) {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawHelpScreen();
    const auto pixels = ReadPixels(0, 0, 640, 480);
    auto litInRows = [&](int fromTop, int rows, int x0, int x1) {
        int lit = 0;
        for (int r = fromTop; r < fromTop + rows; ++r) {
            for (int x = x0; x < x1; ++x) {
                lit += pixels[static_cast<size_t>(479 - r) * 640 + x].r > 64 ? 1 : 0;
            }
        }
        return lit;
    };
    EXPECT_EQ(litInRows(0, 13, 0, 640), 0) << "above the title (title spans rows 13 to 42)";
    EXPECT_GT(litInRows(13, 30, 20, 20 + 26 * 12), 500) << "the title";
    EXPECT_EQ(litInRows(13, 30, 20 + 26 * 12 + 3, 640), 0) << "right of the title";
    EXPECT_EQ(litInRows(0, 480, 0, 20), 0) << "left margin";
    // Line 4 has 55 characters from x 30: its last quad ends at 30 + 54 * 7 + 9 = 417.
    EXPECT_GT(litInRows(122 - 18, 18, 30, 417), 300);
    // The separator, 60 characters, is the longest line: its last quad ends at 451.
    EXPECT_EQ(litInRows(43, 437, 452, 640), 0) << "right of the longest line";
    EXPECT_GT(litInRows(479 - 18, 18, 30, 30 + 30 * 7), 100) << "line 25, the last whole one";

    if (const char* path = std::getenv("TAVIK_HELP_PICTURE")) {
        FILE* out = std::fopen(path, "wb");
        ASSERT_NE(out, nullptr) << path;
        std::fprintf(out, "P6\n640 480\n255\n");
        for (int row = 479; row >= 0; --row) {
            std::fwrite(&pixels[static_cast<size_t>(row) * 640], sizeof(Rgb), 640, out);
        }
        EXPECT_EQ(std::fclose(out), 0);
    }
}
