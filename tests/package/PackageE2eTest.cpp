// The Debian package end to end: CPack builds the real .deb from this build tree, dated by
// SOURCE_DATE_EPOCH as scripts/build-package dates it, dpkg-deb unpacks it into a temporary
// root (so the tree also lies somewhere other than its prefix), and the installed files,
// manual pages, menu entry and software-centre entry are checked there before the launcher
// starts the demo from an empty directory on a private Xvfb.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/DemoProcess.h"
#include "xvfb/VirtualDisplay.h"

namespace {
// "Press ? key for Help Screen" at the top left: 27 cells 8 pixels apart, 20 rows high.
constexpr int kMessageX = 10;
constexpr int kMessageWidth = 27 * 8 + 2;
constexpr int kMessageHeight = 20;

// The package's date: the changelog's, 2026-12-07 12:00:00 UTC, far from any build's clock.
constexpr const char* kPackageEpoch = "1796644800";

class PackageE2eTest : public ::testing::Test {
protected:
    // One display and one package for every test: built and unpacked once.
    static void SetUpTestSuite() {
        display = new VirtualDisplay();
        ASSERT_TRUE(display->Start(1024, 768));
        work = new std::string(MakeWorkDir(""));
        std::string log;
        ASSERT_EQ(Shell("cd " + *work + " && SOURCE_DATE_EPOCH=" + kPackageEpoch +
                            " " TAVIK_CPACK " -G DEB -B . --config " TAVIK_BUILD_DIR
                            "/CPackConfig.cmake && dpkg-deb -x tavik_*.deb root",
                        &log),
                  0)
            << log;
    }
    static void TearDownTestSuite() {
        Shell("rm -rf " + *work);
        delete work;
        delete display;
    }
    // A shell command on the private display, with its standard output and error together.
    static int Shell(const std::string& command, std::string* output = nullptr) {
        return RunOnDisplay(*display, "{ " + command + "; } 2>&1", output);
    }
    static VirtualDisplay* display;
    static std::string* work;
};
VirtualDisplay* PackageE2eTest::display = nullptr;
std::string* PackageE2eTest::work = nullptr;
}  // namespace

TEST_F(PackageE2eTest, HoldsTheDemoTheSaverTheirDataAndDocumentationAndNothingElse) {
    std::string expected =
        "644 ./usr/share/applications/example.tavik.tavik.desktop\n"
        "644 ./usr/share/doc/tavik/changelog.Debian.gz\n"
        "644 ./usr/share/doc/tavik/copyright\n"
        "644 ./usr/share/doc/tavik/font.LICENSE\n"
        "644 ./usr/share/icons/hicolor/256x256/apps/tavik.png\n";
    if (TAVIK_HAS_SAVER) {
        expected += "644 ./usr/share/man/man6/tavik-saver.6.gz\n";
    }
    expected +=
        "644 ./usr/share/man/man6/tavik.6.gz\n"
        "644 ./usr/share/metainfo/example.tavik.tavik.metainfo.xml\n"
        "644 ./usr/share/tavik/font.bmp\n";
    if (TAVIK_HAS_SAVER_CONFIG) {
        expected += "644 ./usr/share/xscreensaver/config/tavik-saver.xml\n";
    }
    expected += "755 ./usr/games/tavik\n755 ./usr/libexec/tavik/tavik\n";
    if (TAVIK_HAS_SAVER) {
        expected += "755 ./usr/libexec/xscreensaver/tavik-saver\n";
    }
    std::string files;
    ASSERT_EQ(Shell("cd " + *work + "/root && find . ! -type d -printf '%m %p\\n' | LC_ALL=C sort",
                    &files),
              0);
    EXPECT_EQ(files, expected) << "every installed file, and no tools, tests or build files";

    // Depends comes from dpkg-shlibdeps: the libraries the programs really link.
    std::string depends;
    ASSERT_EQ(Shell("dpkg-deb -f " + *work + "/tavik_*.deb Depends", &depends), 0);
    for (const char* library : {"libglut", "libgl1", "libglu1", "libc6"}) {
        EXPECT_NE(depends.find(library), std::string::npos) << library << " in " << depends;
    }

    // The icon fits its directory; the menu entry validates; the manual pages render
    // without a warning from man or groff.
    const std::string share = *work + "/root/usr/share";
    std::string out;
    Shell("identify -format %wx%h " + share + "/icons/hicolor/256x256/apps/tavik.png", &out);
    EXPECT_EQ(out, "256x256");
    EXPECT_EQ(
        Shell("desktop-file-validate " + share + "/applications/example.tavik.tavik.desktop", &out),
        0);
    EXPECT_EQ(out, "") << "desktop-file-validate";
    // The software centres' entry is valid AppStream and carries the package's own release:
    // its upstream version, on the changelog's date.
    const std::string metainfo = share + "/metainfo/example.tavik.tavik.metainfo.xml";
    EXPECT_EQ(Shell("appstreamcli validate --pedantic --no-net " + metainfo, &out), 0) << out;
    std::string version;
    Shell("dpkg-deb -f " + *work + "/tavik_*.deb Version | cut -d- -f1 | tr -d '\\n'", &version);
    Shell("cat " + metainfo, &out);
    const std::string release = "<release version=\"" + version + "\" date=\"2026-12-07\"/>";
    EXPECT_NE(out.find(release), std::string::npos) << release << " in\n" << out;
    for (const char* page : {"tavik.6.gz", "tavik-saver.6.gz"}) {
        if (!TAVIK_HAS_SAVER && std::string(page) == "tavik-saver.6.gz") {
            continue;
        }
        EXPECT_EQ(Shell("MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l " + share +
                            "/man/man6/" + page + " 2>&1 >/dev/null",
                        &out),
                  0);
        EXPECT_EQ(out, "") << page;
    }
}

// Reproducible: every time the package holds (its ar members, both tar archives, every gzip
// header) comes from SOURCE_DATE_EPOCH or is left out, and every owner is root, so the
// build's clock and user never reach the bytes.
TEST_F(PackageE2eTest, EveryTimeIsSourceDateEpochAndEveryOwnerRoot) {
    const std::string deb = *work + "/tavik_*.deb";
    std::string out;
    ASSERT_EQ(Shell("TZ=UTC ar tv " + deb + " | awk '{print $2, $4, $5, $6, $7}' | sort -u", &out),
              0);
    EXPECT_EQ(out, "0/0 Dec 7 12:00 2026\n") << "the ar members";
    for (const std::string part : {"--ctrl-tarfile", "--fsys-tarfile"}) {
        ASSERT_EQ(Shell("dpkg-deb " + part + " " + deb +
                            " | tar -tv --numeric-owner --full-time --utc"
                            " | awk '{print $2, $4, $5}' | sort -u",
                        &out),
                  0);
        EXPECT_EQ(out, "0/0 2026-12-07 12:00:00\n") << part;
    }
    // A gzip header's bytes 4 to 7 hold its time, 0 for none.
    ASSERT_EQ(Shell("cd " + *work +
                        " && { for m in control.tar.gz data.tar.gz; do ar p tavik_*.deb $m | od"
                        " -An -tu4 -j4 -N4; done; find root -name '*.gz' -exec od -An -tu4 -j4"
                        " -N4 {} ';'; } | tr -d ' ' | sort -u",
                    &out),
              0);
    EXPECT_EQ(out, "0\n") << "no time in the gzip headers";
}

// The launcher cds into its data directory, so the demo finds its font wherever it is
// started: the first status message is drawn with glyphs, not as the solid white blocks of
// a missing font. Escape then ends it through the fade-out with status 0.
TEST_F(PackageE2eTest, LauncherStartsTheDemoWithItsFontFromAnEmptyDirectory) {
    const std::string empty = MakeWorkDir("");
    DemoProcess demo(*display, *work + "/root/usr/games/tavik", empty);
    ASSERT_TRUE(demo.Start());
    ASSERT_TRUE(demo.WaitForWindow());

    // Bright pixels in the message's cells: a font's strokes leave gaps between and inside
    // the letters, while blocks 10 pixels wide at 8-pixel steps fill the band.
    const int area = kMessageWidth * kMessageHeight;
    Picture shot = demo.Grab();
    int ink = shot.CountWhite(kMessageX, 0, kMessageWidth, kMessageHeight, 100);
    for (int attempt = 0; attempt < 15 && ink < area / 20; ++attempt) {
        SleepSeconds(0.2);
        shot = demo.Grab();
        ink = shot.CountWhite(kMessageX, 0, kMessageWidth, kMessageHeight, 100);
    }
    shot.WritePpm(TAVIK_BUILD_DIR "/package-start.ppm");
    EXPECT_GT(ink, area / 20) << "the first status message is drawn";
    EXPECT_LT(ink, area / 2) << "drawn with the font, not as white blocks";

    ASSERT_TRUE(demo.Key("Escape"));
    int status = -1;
    ASSERT_TRUE(demo.WaitForExit(10.0, &status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(demo.StandardOutput(), "");
    Shell("rm -rf " + empty);
}

// Started through a relative symbolic link elsewhere (as from a bin directory), the launcher
// still finds its tree, and hands every argument on unchanged: GLUT's -display with a name
// holding spaces reaches GLUT, whose failure status comes back through the launcher.
TEST_F(PackageE2eTest, LauncherFollowsSymlinksAndPassesArgumentsAndStatusOn) {
    std::string out;
    ASSERT_EQ(
        Shell("mkdir -p " + *work + "/bin && ln -s ../root/usr/games/tavik " + *work + "/bin"), 0);
    EXPECT_EQ(Shell("cd / && " + *work + "/bin/tavik -display 'no such  display'", &out), 1) << out;
    EXPECT_NE(out.find("usr/libexec/tavik/tavik): failed to open display 'no such  display'"),
              std::string::npos)
        << out;
}
