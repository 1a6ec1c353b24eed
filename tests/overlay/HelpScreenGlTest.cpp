// The help page: its 27 lines read back from feedback mode at their places for two window
// heights, and the record left alone. The page's pixels are compared with a reference
// picture by the golden tests.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <iterator>
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

// The page as the help screen's table lists it: a one-glyph slip, which the golden picture's
// tolerance lets pass, shows here.
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

// The texts of the page drawn in a window of the given height, where the title's lower edge
// lies at titleY from the top: the title at size 30 from x 20, the lines at size 18 from x 30.
std::vector<std::string> PageLines(int height, int titleY) {
    std::vector<std::string> lines;
    textOverlay.recording = 1;
    const auto quads = CaptureQuads([] { DrawHelpScreen(); });
    // Lines are told apart by their upper edge, which stays inside the window even for the
    // last line at height 480.
    std::map<int, std::vector<GlyphQuad>> byTop;
    for (const GlyphQuad& q : quads) {
        byTop[static_cast<int>(std::lround(q.top))].push_back(q);
    }
    size_t matched = 0;
    for (const HelpLine& line : kPage) {
        const bool title = lines.empty();
        const int size = title ? 30 : 18;
        const int y = line.y - 43 + titleY;
        SCOPED_TRACE("line " + std::to_string(lines.size()) + " at y " + std::to_string(y));
        const auto found = byTop.find(height - y + size);
        if (found == byTop.end()) {
            ADD_FAILURE() << "nothing drawn there";
            return lines;
        }
        matched += found->second.size();
        for (const GlyphQuad& q : found->second) {
            EXPECT_NEAR(q.right - q.left, size / 2.0f, 1e-3) << "glyph width";
            EXPECT_NEAR(q.bottom, std::max(height - y, 0), 1e-3) << "lower edge, or cut off";
        }
        lines.push_back(DecodeLine(found->second, title ? 20 : 30, title ? 12 : 7));
    }
    EXPECT_EQ(matched, quads.size()) << "glyphs drawn outside the page's lines";
    EXPECT_EQ(textOverlay.recording, 1);
    return lines;
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

// At height 480 the last line lies at 496: only its top 2 rows are inside the window.
TEST_F(HelpScreenGlTest, PageAtHeights480And768) {
    const std::vector<std::string> at480 = PageLines(480, 43);
    ASSERT_TRUE(ResizeWindow(640, 768));
    const std::vector<std::string> at768 = PageLines(768, 69);
    EXPECT_EQ(at480, at768);
    ASSERT_EQ(at768.size(), std::size(kPage));
    for (size_t i = 0; i < at768.size(); ++i) {
        if (kPage[i].text != nullptr) {
            EXPECT_EQ(at768[i], kPage[i].text);
        } else {
            EXPECT_GE(at768[i].size(), 10u) << "a credit line";
            EXPECT_LE(30 + 7 * static_cast<int>(at768[i].size()) + 2, 640) << "fits the width";
        }
    }
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
