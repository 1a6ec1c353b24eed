// The cross-built tavik.exe (scripts/build-windows) run for real under Wine on a private
// Xvfb: the first status message drawn in glyphs, a key's message, and Escape ending it with
// status 0 and nothing on standard output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/support/DemoProcess.h"
#include "xvfb/VirtualDisplay.h"

namespace {
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kBright = 100;
// A fresh prefix is made on the first run (some 20 s), then kept in the build directory.
constexpr double kFirstWindowSeconds = 120.0;

class WineE2eTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("WINEPREFIX", TAVIK_BUILD_DIR "/wineprefix", 1);
        setenv("WINEDEBUG", "-all", 1);
        setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);  // no Mono or Gecko installers
        display = new VirtualDisplay();
        ASSERT_TRUE(display->Start(kScreenWidth, kScreenHeight));
    }
    static void TearDownTestSuite() {
        RunOnDisplay(*display, TAVIK_WINESERVER " -k", nullptr);
        delete display;
        display = nullptr;
    }
    static VirtualDisplay* display;
};
VirtualDisplay* WineE2eTest::display = nullptr;
}  // namespace

TEST_F(WineE2eTest, DrawsTheFirstMessageTakesKeysAndEndsOnEscape) {
    ASSERT_TRUE(std::ifstream(TAVIK_WINDOWS_EXE).good())
        << TAVIK_WINDOWS_EXE << " is missing: run scripts/build-windows";
    DemoProcess demo(*display, TAVIK_WINE, MakeWorkDir(TAVIK_FONT), {TAVIK_WINDOWS_EXE});
    ASSERT_TRUE(demo.Start(true));
    ASSERT_TRUE(demo.WaitForWindow(kFirstWindowSeconds)) << demo.StandardError();

    // "Press ? key for Help Screen" at the top left while the clock is under 3 s.
    Screenshot first = demo.Grab();
    for (int attempt = 0; attempt < 15 && first.CountWhite(10, 0, 240, 20, kBright) <= 300;
         ++attempt) {
        SleepSeconds(0.2);
        first = demo.Grab();
    }
    // About 750 pixels of glyphs; the white blocks drawn without a font fill some 3700.
    const int message = first.CountWhite(10, 0, 240, 20, kBright);
    EXPECT_GT(message, 300) << "the first message";
    EXPECT_LT(message, 1500) << "drawn in glyphs, not blocks";
    const int readoutBefore = first.CountWhite(480, 0, 160, 20, kBright);

    // Wine takes keys from the X server's input (XTEST), not events sent to its window.
    ASSERT_EQ(RunOnDisplay(*display, "xdotool key c", nullptr), 0);
    SleepSeconds(1.5);
    const Screenshot readout = demo.Grab();
    EXPECT_GT(readout.CountWhite(480, 0, 160, 20, kBright), readoutBefore + 100)
        << "C: the frame-rate readout at the top right";

    ASSERT_EQ(RunOnDisplay(*display, "xdotool key Escape", nullptr), 0);
    int status = -1;
    ASSERT_TRUE(demo.WaitForExit(30.0, &status)) << "Escape fades out and quits";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(demo.StandardOutput(), "");
}
