// End to end: the built tavik binary on a private Xvfb, driven with xdotool and judged by
// screenshots, its exit status and its (empty) standard output. Letterbox, polygon modes and
// pause are pictures of the golden tests and frames of the frame-step tests; the full-screen
// key is tested in the same GLUT window by the keyboard's OpenGL tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/DemoProcess.h"
#include "xvfb/VirtualDisplay.h"

namespace {
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kBright = 100;  // glyphs at 20 pixels are drawn from minified, soft mipmaps

class DemoE2eTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        display = new VirtualDisplay();
        ASSERT_TRUE(display->Start(kScreenWidth, kScreenHeight));
    }
    static void TearDownTestSuite() {
        delete display;
        display = nullptr;
    }
    // Writes the screenshot next to the test's build output for a person to look at.
    static void Keep(const Picture& shot, const std::string& name) {
        shot.WritePpm(std::string(TAVIK_BUILD_DIR) + "/e2e-" + name + ".ppm");
    }
    static VirtualDisplay* display;
};
VirtualDisplay* DemoE2eTest::display = nullptr;

// Bright pixels of the status line (the top 20 rows, from x 10).
int MessagePixels(const Picture& shot) {
    return shot.CountWhite(10, 0, 240, 20, kBright);
}
// White pixels where the help page's lines lie.
int HelpPixels(const Picture& shot) {
    return shot.CountWhite(20, 40, 440, 480, kBright);
}
}  // namespace

// Each test starts its own demo and judges pixels within the first ten seconds of its clock:
// after that, random hyperspace may stop the clearing of the screen.
TEST_F(DemoE2eTest, StartsFullScreenShowsTheSceneAndTheHelpPageAndFadesOut) {
    const std::string dir = MakeWorkDir(TAVIK_FONT);
    DemoProcess demo(*display, TAVIK_BINARY, dir);
    ASSERT_TRUE(demo.Start());
    ASSERT_TRUE(demo.WaitForWindow());

    std::string geometry;
    RunOnDisplay(*display, "xdotool getwindowgeometry " + demo.WindowId(), &geometry);
    EXPECT_NE(geometry.find("1024x768"), std::string::npos) << "full screen: " << geometry;
    std::string title;
    RunOnDisplay(*display, "xdotool getwindowname " + demo.WindowId(), &title);
    EXPECT_EQ(title, "Tavik\n");

    // The first message, the rings (coloured light in the middle) and the stars.
    // The message shows until the demo's clock passes 3 s; on a loaded machine the window
    // may appear late in that span, so look several times.
    Picture first = demo.Grab();
    for (int attempt = 0; attempt < 15 && MessagePixels(first) <= 300; ++attempt) {
        SleepSeconds(0.2);
        first = demo.Grab();
    }
    Keep(first, "start");
    EXPECT_GT(MessagePixels(first), 300) << "\"Press ? key for Help Screen\" in the top rows";
    EXPECT_GT(first.CountBrighter(312, 184, 400, 400, 40), 5000) << "lit rings in the middle";
    EXPECT_GT(first.CountBrighter(0, 40, 1024, 150, 60), 50) << "stars above the rings";

    // Help page on and off.
    ASSERT_TRUE(demo.Key("question"));
    SleepSeconds(0.6);
    const Picture help = demo.Grab();
    Keep(help, "help");
    EXPECT_GT(HelpPixels(help), 5 * HelpPixels(first) + 2000) << "the help page's text";
    ASSERT_TRUE(demo.Key("slash"));
    SleepSeconds(3.0);  // the status line expires meanwhile
    const Picture noHelp = demo.Grab();
    EXPECT_LT(HelpPixels(noHelp), HelpPixels(help) / 5) << "the help page is gone";
    EXPECT_LT(MessagePixels(noHelp), 60) << "the status line expired after 3 s";

    // Escape fades out and ends the process with status 0 after about 2.7 s.
    ASSERT_TRUE(demo.Key("Escape"));
    int status = -1;
    double seconds = 0;
    ASSERT_TRUE(demo.WaitForExit(10.0, &status, &seconds));
    EXPECT_EQ(status, 0);
    EXPECT_GE(seconds, 2.2);
    EXPECT_LE(seconds, 4.5);
    EXPECT_EQ(demo.StandardOutput(), "") << "standard output stays empty";
}

// A font.bmp that is missing, or any file the loader refuses (BmpHostileFilesTest's), leaves
// the font texture empty.
TEST_F(DemoE2eTest, RunsWithoutFontAndDrawsTheMessageAsBlocks) {
    const std::string dir = MakeWorkDir("");
    DemoProcess demo(*display, TAVIK_BINARY, dir);
    ASSERT_TRUE(demo.Start());
    ASSERT_TRUE(demo.WaitForWindow());
    // "Press ? key for Help Screen": 27 characters, 22 non-spaces, each a solid 10 x 20
    // white quad every 8 pixels. Frames drawn while the window goes full screen may place
    // the text outside the window, so look several times.
    auto blocks = [](const Picture& shot) { return shot.CountWhite(10, 0, 27 * 8 + 2, 20, 250); };
    Picture shot = demo.Grab();
    for (int attempt = 0; attempt < 10 && blocks(shot) <= 20 * 8 * 20; ++attempt) {
        SleepSeconds(0.2);
        shot = demo.Grab();
    }
    Keep(shot, "nofont");
    EXPECT_GT(blocks(shot), 20 * 8 * 20) << "solid white blocks";
    ASSERT_TRUE(demo.Key("Escape"));
    int status = -1;
    ASSERT_TRUE(demo.WaitForExit(10.0, &status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(demo.StandardOutput(), "");
}
