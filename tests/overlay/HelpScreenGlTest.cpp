// The help page: its 27 lines read back from feedback mode at their positions for two
// window heights, and the record left alone. The page's pixels are compared with a
// reference picture by the golden tests.
#include <GL/gl.h>
#include <gtest/gtest.h>

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
