// The cross-built tavik.exe and Tavik.scr (scripts/build-windows) run for real under Wine
// on a private Xvfb, driven with xdotool as on Linux: what they draw, the settings they keep,
// how they end and their exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/DemoProcess.h"
#include "xvfb/VirtualDisplay.h"

namespace {
// The first status message in the top left corner: about 750 bright pixels of glyphs, some
// 3700 of white blocks without a font.
int MessagePixels(const Picture& shot) {
    return shot.CountWhite(10, 0, 240, 20, 100);
}

// A Unix path as Wine's drive Z: shows it.
std::string WindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path;
}
}  // namespace

class WineE2eTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::ifstream(TAVIK_WINDOWS_EXE).good()) << "run scripts/build-windows";
        // A prefix of its own, made on the first run (some 20 s) and kept in the build
        // directory; no Mono or Gecko installers.
        setenv("WINEPREFIX", TAVIK_BUILD_DIR "/wineprefix", 1);
        setenv("WINEDEBUG", "-all", 1);
        setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
        ASSERT_TRUE(display.Start(640, 480));
    }
    void TearDown() override { RunOnDisplay(display, TAVIK_WINESERVER " -k", nullptr); }

    bool Run(const std::string& command) { return RunOnDisplay(display, command, nullptr) == 0; }
    // Waits for program to end; true if it did so with status 0.
    static bool EndsWithZero(DemoProcess& program, double seconds) {
        int status = -1;
        return program.WaitForExit(seconds, &status) && status == 0;
    }

    VirtualDisplay display;
};

TEST_F(WineE2eTest, DemoDrawsItsMessagesTakesKeysAndEndsOnEscape) {
    DemoProcess demo(display, TAVIK_WINE, MakeWorkDir(TAVIK_FONT), {TAVIK_WINDOWS_EXE});
    ASSERT_TRUE(demo.Start(true));
    ASSERT_TRUE(demo.WaitForWindow(120.0)) << demo.StandardError();
    Picture first = demo.Grab();
    for (int attempt = 0; attempt < 15 && MessagePixels(first) <= 300; ++attempt) {
        SleepSeconds(0.2);
        first = demo.Grab();
    }
    EXPECT_GT(MessagePixels(first), 300) << "the first message";
    EXPECT_LT(MessagePixels(first), 1500) << "drawn in glyphs, not blocks";

    // Wine takes keys from the server's input (XTEST), not from events sent to its window.
    ASSERT_TRUE(Run("xdotool key c"));
    SleepSeconds(1.5);
    EXPECT_GT(demo.Grab().CountWhite(480, 0, 160, 20, 100),
              first.CountWhite(480, 0, 160, 20, 100) + 100)
        << "C: the frame-rate readout at the top right";

    ASSERT_TRUE(Run("xdotool key Escape"));
    EXPECT_TRUE(EndsWithZero(demo, 30.0)) << "Escape fades out and quits";
    EXPECT_EQ(demo.StandardOutput(), "");
}

TEST_F(WineE2eTest, DemoWithoutItsFontDrawsBlocksAndRunsOn) {
    DemoProcess demo(display, TAVIK_WINE, MakeWorkDir(""), {TAVIK_WINDOWS_EXE});
    ASSERT_TRUE(demo.Start());
    ASSERT_TRUE(demo.WaitForWindow(120.0));
    EXPECT_GT(MessagePixels(demo.Grab()), 2500) << "white blocks for the glyphs";
    SleepSeconds(1.0);
    EXPECT_TRUE(demo.Running());
}

TEST_F(WineE2eTest, ScreensaverCoversTheScreenUntilTheUserComesBack) {
    DemoProcess saver(display, TAVIK_WINE, MakeWorkDir(""), {TAVIK_WINDOWS_SCR, "/s"});
    ASSERT_TRUE(saver.Start());
    ASSERT_TRUE(saver.WaitForWindow(120.0));
    SleepSeconds(1.0);
    const Picture shot = saver.Grab();
    EXPECT_GT(shot.CountBrighter(220, 140, 200, 200, 60), 2000) << "the rings in the middle";
    const int corners[][2] = {{0, 0}, {480, 0}, {0, 360}, {480, 360}};
    for (const auto& corner : corners) {
        EXPECT_GT(shot.CountBrighter(corner[0], corner[1], 160, 120, 40), 10)
            << "stars in the corner at " << corner[0] << ", " << corner[1];
    }
    EXPECT_LT(MessagePixels(shot), 50) << "no status message";
    ASSERT_TRUE(Run("xdotool mousemove_relative 2 2"));
    SleepSeconds(1.0);
    EXPECT_TRUE(saver.Running()) << "a nudge of the mouse is not the user coming back";
    ASSERT_TRUE(Run("xdotool key a"));
    EXPECT_TRUE(EndsWithZero(saver, 15.0)) << "a key ends it";
}

TEST_F(WineE2eTest, ScreensaverPreviewLivesInItsWindowAndEndsWithIt) {
    DemoProcess pane(display, TAVIK_WINE, MakeWorkDir(""), {TAVIK_PREVIEW_WINDOW, "8"});
    ASSERT_TRUE(pane.Start());
    std::string handle;
    for (int attempt = 0; attempt < 300 && handle.empty(); ++attempt) {
        SleepSeconds(0.1);
        std::istringstream(pane.StandardOutput()) >> handle;
    }
    ASSERT_FALSE(handle.empty()) << "the preview pane's handle";
    DemoProcess saver(display, TAVIK_WINE, MakeWorkDir(""), {TAVIK_WINDOWS_SCR, "/p", handle});
    ASSERT_TRUE(saver.Start());
    SleepSeconds(3.0);
    // Wine 8 does not show a child window of another process's window, so only the pane's
    // own view of it is checked, and that nothing is drawn beside it.
    const Picture shot = saver.Grab();
    EXPECT_EQ(shot.CountBrighter(0, 0, 640, 100, 30) + shot.CountBrighter(0, 340, 640, 140, 30), 0)
        << "nothing above or below the pane";
    EXPECT_TRUE(saver.Running());
    EXPECT_TRUE(EndsWithZero(pane, 30.0));
    EXPECT_NE(pane.StandardOutput().find("child 320x240"), std::string::npos)
        << "a child window over the pane's whole client area: " << pane.StandardOutput();
    EXPECT_TRUE(EndsWithZero(saver, 5.0)) << "the preview ends with its window";
}

TEST_F(WineE2eTest, ScreensaverSettingsDialogSavesForTheUser) {
    Run(TAVIK_WINE " reg delete 'HKCU\\Software\\Tavik' /f");
    // Windows' screensaver settings page calls "/c" while it is the foreground window; the
    // stand-in pane is that window here.
    DemoProcess pane(display, TAVIK_WINE, MakeWorkDir(""), {TAVIK_PREVIEW_WINDOW, "60"});
    ASSERT_TRUE(pane.Start());
    for (int attempt = 0; attempt < 300 && pane.StandardOutput().empty(); ++attempt) {
        SleepSeconds(0.1);
    }
    DemoProcess dialog(display, TAVIK_WINE, MakeWorkDir(""), {TAVIK_WINDOWS_SCR, "/c"});
    ASSERT_TRUE(dialog.Start());
    ASSERT_TRUE(dialog.WaitForWindow(120.0)) << "a dialog titled Tavik";
    EXPECT_TRUE(Run("xprop -id " + dialog.WindowId() + " WM_TRANSIENT_FOR | grep -qi " +
                    "$(printf '%#x' $(xdotool search --name '^Preview$'))"))
        << "the dialog belongs to the foreground window";
    // The frame-rate box has the focus; the pause follows it.
    ASSERT_TRUE(Run("xdotool key space Tab ctrl+a && xdotool type 35 && xdotool key Return"));
    EXPECT_TRUE(EndsWithZero(dialog, 15.0));
    std::string stored;
    RunOnDisplay(display, TAVIK_WINE " reg query 'HKCU\\Software\\Tavik'", &stored);
    EXPECT_NE(stored.find("ShowFrameRate    REG_DWORD    0x1"), std::string::npos) << stored;
    EXPECT_NE(stored.find("FrameDelayMs    REG_DWORD    0x23"), std::string::npos) << stored;
}

TEST_F(WineE2eTest, ScreensaverFindsItsFontInATemporaryFolderWithANonAsciiName) {
    // Tavik.scr writes the font it carries to the user's temporary folder and loads it from
    // there. Wine takes TEMP from its registry, not from the Unix environment, so cmd sets it
    // for the saver alone.
    const std::string work = MakeWorkDir("");
    const std::string temp = work + "/J\u00fcrgen/Temp";
    ASSERT_TRUE(std::filesystem::create_directories(temp));
    const std::string setTemp = "set TEMP=" + WindowsPath(temp) + "&& set TMP=" + WindowsPath(temp);
    DemoProcess saver(
        display, TAVIK_WINE, work,
        {"cmd", "/c", setTemp + "&& start /wait " + WindowsPath(TAVIK_WINDOWS_SCR) + " /s"});
    ASSERT_TRUE(
        Run(TAVIK_WINE " reg add 'HKCU\\Software\\Tavik' /v ShowFrameRate /t REG_DWORD /d 1 /f"));
    ASSERT_TRUE(saver.Start());
    ASSERT_TRUE(saver.WaitForWindow(120.0));
    // The readout "NN Frame/Sec" at the top right: some 400 bright pixels of glyphs, 1800 of
    // white blocks.
    Picture shot = saver.Grab();
    auto readout = [&] { return shot.CountWhite(520, 0, 120, 20, 100); };
    for (int attempt = 0; attempt < 15 && readout() <= 100; ++attempt) {
        SleepSeconds(0.2);
        shot = saver.Grab();
    }
    Run(TAVIK_WINE " reg delete 'HKCU\\Software\\Tavik' /f");
    EXPECT_GT(readout(), 100) << "the frame-rate readout";
    EXPECT_LT(readout(), 1000) << "drawn in glyphs, not the white blocks of a font not found";
    ASSERT_TRUE(Run("xdotool key a"));
    EXPECT_TRUE(EndsWithZero(saver, 15.0));
    EXPECT_TRUE(std::filesystem::is_empty(temp)) << "the font's file is gone with the saver";
    std::filesystem::remove_all(work);
}

TEST_F(WineE2eTest, ScreensaverSettingsDialogTellsWhenTheyCannotBeSaved) {
    const std::string lock = TAVIK_WINE " " TAVIK_REGISTRY_LOCK " ";
    // No ASSERT once the key is locked: the lock must come off again whatever happens.
    ASSERT_TRUE(Run(lock + "deny 'Software\\Tavik'"));
    DemoProcess dialog(display, TAVIK_WINE, MakeWorkDir(""), {TAVIK_WINDOWS_SCR, "/c"});
    EXPECT_TRUE(dialog.Start() && dialog.WaitForWindow(120.0));
    EXPECT_TRUE(Run("xdotool key Return"));
    SleepSeconds(2.0);
    EXPECT_TRUE(Run("test $(xdotool search --onlyvisible --name '^Tavik$' | wc -l) = 2"))
        << "a message box over the dialog";
    EXPECT_TRUE(Run("xdotool key Return"));
    int status = -1;
    EXPECT_TRUE(dialog.WaitForExit(15.0, &status));
    EXPECT_EQ(status, 1) << "not saved";
    EXPECT_TRUE(Run(lock + "allow 'Software\\Tavik'"));
}
