// The Windows installer (scripts/build-installer) end to end under Wine, in a fresh prefix on
// a private Xvfb: /S installs the files, the Start-menu entry, the screensaver and the
// uninstall entry; the demo starts from the Start-menu entry and finds its font; /S
// uninstalls everything again, the user's screensaver settings included, and the user's
// choice of screensaver when it is Tavik.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/DemoProcess.h"
#include "xvfb/VirtualDisplay.h"

namespace {
const std::string kUninstallKey =
    "'HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tavik'";
const std::string kSettingsKey = "'HKCU\\Software\\Tavik'";
const std::string kDesktopKey = "'HKCU\\Control Panel\\Desktop'";
// "Press ? key for Help Screen" at the top left: 27 cells 8 pixels apart, 20 rows high.
constexpr int kMessageWidth = 27 * 8 + 2;
constexpr int kMessageHeight = 20;
const std::string kWine = TAVIK_WINE " ";
// Wine's programs return before the processes they start end; this waits for all of them.
const std::string kWaitAll = " && " TAVIK_WINESERVER " -w";

// A fresh prefix on a private display, both gone afterwards.
class InstallerWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("WINEPREFIX", prefix.c_str(), 1);
        setenv("WINEDEBUG", "-all", 1);
        // No Mono or Gecko installers, and no menu entries written into the desktop's menus.
        setenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d", 1);
        ASSERT_TRUE(display.Start(640, 480));
        ASSERT_EQ(run(kWine + "wineboot -i" + kWaitAll), 0);
    }
    void TearDown() override { run(TAVIK_WINESERVER " -k; rm -rf '" + work + "'"); }
    int run(const std::string& command, std::string* out = nullptr) {
        return RunOnDisplay(display, command, out);
    }
    const std::string work = MakeWorkDir("");
    const std::string prefix = work + "/prefix";
    VirtualDisplay display;
};
}  // namespace

TEST_F(InstallerWineTest, InstallsStartsFromTheStartMenuAndUninstallsEverything) {
    const char* chosen = std::getenv("TAVIK_WINDOWS_INSTALLER");
    const std::string installer = chosen ? chosen : TAVIK_WINDOWS_INSTALLER;
    ASSERT_TRUE(std::filesystem::exists(installer))
        << installer << " is missing: run scripts/build-windows";
    // The version from the installer's name, tavik-<version>-win64-setup.exe.
    const std::string name = std::filesystem::path(installer).filename().string();
    const size_t versionEnd = name.find("-win64-setup");
    ASSERT_TRUE(name.rfind("tavik-", 0) == 0 && versionEnd != std::string::npos) << name;
    const std::string version = name.substr(6, versionEnd - 6);
    const std::string desktopKey = kWine + "reg query " + kDesktopKey;
    std::string desktopBefore, desktopAfter;
    run(desktopKey, &desktopBefore);

    ASSERT_EQ(run(kWine + "'" + installer + "' /S" + kWaitAll), 0);
    const std::string drive = prefix + "/drive_c";
    const std::string folder = drive + "/Program Files/Tavik";
    const std::string shortcut =
        drive + "/ProgramData/Microsoft/Windows/Start Menu/Programs/Tavik.lnk";
    const std::string saver = drive + "/windows/system32/Tavik.scr";
    std::string out;
    run("cd '" + folder + "' && ls", &out);
    EXPECT_EQ(out, "LICENSE.txt\nREADME.txt\nUninstall.exe\nfont.bmp\ntavik.exe\n");
    EXPECT_TRUE(std::filesystem::exists(shortcut));
    EXPECT_TRUE(std::filesystem::exists(saver)) << "in System32, where Windows lists screensavers";
    run(desktopKey, &desktopAfter);
    EXPECT_EQ(desktopAfter, desktopBefore) << "the user's screensaver stays chosen";

    ASSERT_EQ(run(kWine + "reg query " + kUninstallKey + " | tr -d '\\r'", &out), 0);
    const std::string location = "C:\\Program Files\\Tavik";
    const std::string uninstaller = "\"" + location + "\\Uninstall.exe\"";
    for (const std::string& value : std::vector<std::string>{
             "DisplayName    REG_SZ    Tavik", "DisplayVersion    REG_SZ    " + version,
             "Publisher    REG_SZ    Tavik maintainers",
             "DisplayIcon    REG_SZ    " + location + "\\tavik.exe,0",
             "InstallLocation    REG_SZ    " + location,
             "UninstallString    REG_SZ    " + uninstaller,
             "QuietUninstallString    REG_SZ    " + uninstaller + " /S",
             "NoModify    REG_DWORD    0x1", "NoRepair    REG_DWORD    0x1"}) {
        EXPECT_NE(out.find("    " + value + "\n"), std::string::npos) << value << " in\n" << out;
    }
    EXPECT_NE(out.find("EstimatedSize    REG_DWORD    0x"), std::string::npos) << out;

    // Started as Explorer starts it, from the entry's own target and working folder: the
    // first message drawn with the font's glyphs, not as the white blocks of a missing font.
    DemoProcess demo(display, "/bin/sh", work,
                     {"-c", kWine + "start /unix \"$0\"" + kWaitAll, shortcut});
    ASSERT_TRUE(demo.Start());
    ASSERT_TRUE(demo.WaitForWindow(60.0));
    const int area = kMessageWidth * kMessageHeight;
    Picture shot = demo.Grab();
    auto ink = [&] { return shot.CountWhite(10, 0, kMessageWidth, kMessageHeight, 100); };
    for (int attempt = 0; attempt < 15 && ink() < area / 20; ++attempt) {
        SleepSeconds(0.2);
        shot = demo.Grab();
    }
    EXPECT_GT(ink(), area / 20) << "the first status message is drawn";
    EXPECT_LT(ink(), area / 2) << "drawn with the font from the install folder";
    EXPECT_GT(shot.CountBrighter(0, 40, 640, 440, 60), 2000) << "the scene";
    ASSERT_EQ(run("xdotool key Escape"), 0);
    int status = -1;
    EXPECT_TRUE(demo.WaitForExit(30.0, &status));

    // The screensaver's settings, as its dialog stores them, go with the uninstall; another
    // screensaver that the user has chosen stays chosen.
    ASSERT_EQ(run(kWine + "reg add " + kSettingsKey + " /v FrameDelayMs /t REG_DWORD /d 20 /f"), 0);
    const std::string chooseSaver = kWine + "reg add " + kDesktopKey + " /v SCRNSAVE.EXE /f /d ";
    ASSERT_EQ(run(chooseSaver + "'C:\\Windows\\System32\\Other.scr'"), 0);
    const std::string uninstall = kWine + "'" + location + "\\Uninstall.exe' /S" + kWaitAll;
    ASSERT_EQ(run(uninstall), 0);
    EXPECT_FALSE(std::filesystem::exists(folder)) << "the install folder, emptied";
    EXPECT_FALSE(std::filesystem::exists(shortcut));
    EXPECT_FALSE(std::filesystem::exists(saver));
    EXPECT_NE(run(kWine + "reg query " + kUninstallKey), 0);
    EXPECT_NE(run(kWine + "reg query " + kSettingsKey), 0);
    run(desktopKey, &out);
    EXPECT_NE(out.find("Other.scr"), std::string::npos) << "another saver stays chosen:\n" << out;

    // Tavik chosen, in whatever folder and case, is chosen no longer.
    ASSERT_EQ(run(kWine + "'" + installer + "' /S" + kWaitAll), 0);
    ASSERT_EQ(run(chooseSaver + "'C:\\Users\\Public\\TAVIK.SCR'"), 0);
    ASSERT_EQ(run(uninstall), 0);
    run(desktopKey, &out);
    EXPECT_EQ(out.find("SCRNSAVE.EXE"), std::string::npos) << out;
}
