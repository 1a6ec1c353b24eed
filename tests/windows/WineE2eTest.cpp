// The cross-built tavik.exe (scripts/build-windows) run for real under Wine on a private
// Xvfb: the first status message drawn in glyphs, a key's message, and Escape ending it with
// status 0 and nothing on standard output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "tests/support/DemoProcess.h"
#include "xvfb/VirtualDisplay.h"

TEST(WineE2eTest, DrawsTheFirstMessageTakesKeysAndEndsOnEscape) {
    ASSERT_TRUE(std::ifstream(TAVIK_WINDOWS_EXE).good()) << "run scripts/build-windows first";
    // A prefix of its own, made on the first run (some 20 s) and kept in the build directory;
    // no Mono or Gecko installers.
    setenv("WINEPREFIX", TAVIK_BUILD_DIR "/wineprefix", 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
    VirtualDisplay display;
    ASSERT_TRUE(display.Start(640, 480));
    DemoProcess demo(display, TAVIK_WINE, MakeWorkDir(TAVIK_FONT), {TAVIK_WINDOWS_EXE});
    ASSERT_TRUE(demo.Start(true));
    ASSERT_TRUE(demo.WaitForWindow(120.0)) << demo.StandardError();

    // "Press ? key for Help Screen" while the clock is under 3 s: about 750 bright pixels of
    // glyphs (the white blocks drawn without a font fill some 3700).
    const auto message = [](const Screenshot& shot) {
        return shot.CountWhite(10, 0, 240, 20, 100);
    };
    Screenshot first = demo.Grab();
    for (int attempt = 0; attempt < 15 && message(first) <= 300; ++attempt) {
        SleepSeconds(0.2);
        first = demo.Grab();
    }
    EXPECT_GT(message(first), 300) << "the first message";
    EXPECT_LT(message(first), 1500) << "drawn in glyphs, not blocks";

    // Wine takes keys from the server's input (XTEST), not from events sent to its window.
    ASSERT_EQ(RunOnDisplay(display, "xdotool key c", nullptr), 0);
    SleepSeconds(1.5);
    EXPECT_GT(demo.Grab().CountWhite(480, 0, 160, 20, 100),
              first.CountWhite(480, 0, 160, 20, 100) + 100)
        << "C: the frame-rate readout at the top right";

    ASSERT_EQ(RunOnDisplay(display, "xdotool key Escape", nullptr), 0);
    int status = -1;
    ASSERT_TRUE(demo.WaitForExit(30.0, &status)) << "Escape fades out and quits";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(demo.StandardOutput(), "");
    RunOnDisplay(display, TAVIK_WINESERVER " -k", nullptr);
}
