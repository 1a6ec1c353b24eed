// The Debian package end to end: CPack builds the real .deb from this build tree, dpkg-deb
// unpacks it into a temporary root (so the tree also lies somewhere other than its prefix),
// and the installed files, manual pages and menu entry are checked there before the
// launcher starts the demo from an empty directory on a private Xvfb.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "tests/support/DemoProcess.h"
#include "xvfb/VirtualDisplay.h"

namespace {
// "Press ? key for Help Screen" at the top left: 27 cells 8 pixels apart, 20 rows high.
constexpr int kMessageX = 10;
constexpr int kMessageWidth = 27 * 8 + 2;
constexpr int kMessageHeight = 20;

std::string Quote(const std::string& text) {
    return "'" + text + "'";
}

// Runs a shell command; returns its exit status and its standard output and error together.
int RunShell(const std::string& command, std::string* output) {
    FILE* pipe = popen(("{ " + command + "; } 2>&1").c_str(), "r");
    if (!pipe) {
        return -1;
    }
    std::string text;
    char chunk[256];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) {
        text.append(chunk, n);
    }
    const int status = pclose(pipe);
    *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool Executable(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0111) == 0111;
}

class PackageE2eTest : public ::testing::Test {
protected:
    // One package for every test: built, unpacked and listed once.
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/tavik-package-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        work = new std::string(pattern);
        root = new std::string(*work + "/root");
        std::string log;
        ASSERT_EQ(
            RunShell("cd " + Quote(*work) + " && " + TAVIK_CPACK + " -G DEB -B " + Quote(*work) +
                         " --config " + Quote(std::string(TAVIK_BUILD_DIR) + "/CPackConfig.cmake"),
                     &log),
            0)
            << log;
        deb = new std::string();
        ASSERT_EQ(RunShell("ls " + Quote(*work) + "/tavik_*.deb", deb), 0) << *deb;
        deb->erase(deb->find_last_not_of('\n') + 1);
        ASSERT_EQ(RunShell("dpkg-deb -x " + Quote(*deb) + " " + Quote(*root), &log), 0) << log;
    }
    static void TearDownTestSuite() {
        std::string ignored;
        RunShell("rm -rf " + Quote(*work), &ignored);
        delete work;
        delete root;
        delete deb;
    }
    static std::string* work;
    static std::string* root;
    static std::string* deb;
};
std::string* PackageE2eTest::work = nullptr;
std::string* PackageE2eTest::root = nullptr;
std::string* PackageE2eTest::deb = nullptr;
}  // namespace

TEST_F(PackageE2eTest, HoldsTheDemoTheSaverTheirDataAndDocumentationAndNothingElse) {
    std::set<std::string> expected = {
        "./usr/games/tavik",
        "./usr/libexec/tavik/tavik",
        "./usr/share/tavik/font.bmp",
        "./usr/share/applications/tavik.desktop",
        "./usr/share/icons/hicolor/256x256/apps/tavik.png",
        "./usr/share/man/man6/tavik.6.gz",
        "./usr/share/doc/tavik/copyright",
        "./usr/share/doc/tavik/changelog.Debian.gz",
        "./usr/share/doc/tavik/font.LICENSE",
    };
    if (TAVIK_HAS_SAVER) {
        expected.insert(
            {"./usr/libexec/xscreensaver/tavik-saver", "./usr/share/man/man6/tavik-saver.6.gz"});
    }
    if (TAVIK_HAS_SAVER_CONFIG) {
        expected.insert("./usr/share/xscreensaver/config/tavik-saver.xml");
    }
    std::string listing;
    ASSERT_EQ(RunShell("cd " + Quote(*root) + " && find . -type f -o -type l | sort", &listing), 0);
    std::set<std::string> files;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        files.insert(line);
    }
    EXPECT_EQ(files, expected) << "no tools, tests or build files, and every installed file";

    EXPECT_TRUE(Executable(*root + "/usr/games/tavik"));
    EXPECT_TRUE(Executable(*root + "/usr/libexec/tavik/tavik"));
    if (TAVIK_HAS_SAVER) {
        EXPECT_TRUE(Executable(*root + "/usr/libexec/xscreensaver/tavik-saver"));
    }

    // Depends comes from dpkg-shlibdeps: the libraries the programs really link.
    std::string depends;
    ASSERT_EQ(RunShell("dpkg-deb -f " + Quote(*deb) + " Depends", &depends), 0);
    for (const char* library : {"libglut", "libgl1", "libglu1", "libc6"}) {
        EXPECT_NE(depends.find(library), std::string::npos) << library << " in " << depends;
    }

    // The icon is a 256 x 256 PNG, as its hicolor directory says.
    std::ifstream icon(*root + "/usr/share/icons/hicolor/256x256/apps/tavik.png", std::ios::binary);
    unsigned char header[24] = {};
    icon.read(reinterpret_cast<char*>(header), sizeof header);
    const auto be32 = [&](int at) {
        return (header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3];
    };
    EXPECT_EQ(std::string(reinterpret_cast<char*>(header) + 1, 3), "PNG");
    EXPECT_EQ(be32(16), 256);
    EXPECT_EQ(be32(20), 256);

    // The menu entry validates; the manual pages render without a warning from man or groff.
    std::string out;
    EXPECT_EQ(
        RunShell("desktop-file-validate " + Quote(*root + "/usr/share/applications/tavik.desktop"),
                 &out),
        0)
        << out;
    EXPECT_EQ(out, "");
    for (const char* page : {"tavik.6.gz", "tavik-saver.6.gz"}) {
        const std::string path = *root + "/usr/share/man/man6/" + page;
        if (access(path.c_str(), R_OK) != 0) {
            continue;  // the saver's page, in a tree without the saver (checked above)
        }
        EXPECT_EQ(RunShell("MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l " + Quote(path) +
                               " 2>&1 >/dev/null",
                           &out),
                  0);
        EXPECT_EQ(out, "") << page;
    }
}

// The launcher cds into its data directory, so the demo finds its font wherever it is
// started: the first status message is drawn with glyphs, not as the solid white blocks of
// a missing font. Escape then ends it through the fade-out with status 0.
TEST_F(PackageE2eTest, LauncherStartsTheDemoWithItsFontFromAnEmptyDirectory) {
    VirtualDisplay display;
    ASSERT_TRUE(display.Start(1024, 768));
    const std::string empty = MakeWorkDir("");
    DemoProcess demo(display, *root + "/usr/games/tavik", empty);
    ASSERT_TRUE(demo.Start());
    ASSERT_TRUE(demo.WaitForWindow());

    // Bright pixels in the message's cells: a font's strokes leave gaps between and inside
    // the letters, while blocks 10 pixels wide at 8-pixel steps fill the band.
    const int area = kMessageWidth * kMessageHeight;
    Screenshot shot = demo.Grab();
    int ink = shot.CountWhite(kMessageX, 0, kMessageWidth, kMessageHeight, 100);
    for (int attempt = 0; attempt < 15 && ink < area / 20; ++attempt) {
        SleepSeconds(0.2);
        shot = demo.Grab();
        ink = shot.CountWhite(kMessageX, 0, kMessageWidth, kMessageHeight, 100);
    }
    shot.WritePpm(std::string(TAVIK_BUILD_DIR) + "/package-start.ppm");
    EXPECT_GT(ink, area / 20) << "the first status message is drawn";
    EXPECT_LT(ink, area / 2) << "drawn with the font, not as white blocks";

    ASSERT_TRUE(demo.Key("Escape"));
    int status = -1;
    ASSERT_TRUE(demo.WaitForExit(10.0, &status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(demo.StandardOutput(), "");
    std::string ignored;
    RunShell("rm -rf " + Quote(empty), &ignored);
}

// Started through a relative symbolic link elsewhere (as from a bin directory), the launcher
// still finds its tree, and hands every argument on unchanged: GLUT's -display with a name
// holding spaces reaches GLUT, whose failure status comes back through the launcher.
TEST_F(PackageE2eTest, LauncherFollowsSymlinksAndPassesArgumentsAndStatusOn) {
    const std::string bin = *work + "/bin";
    std::string out;
    ASSERT_EQ(RunShell("mkdir -p " + Quote(bin) + " && ln -s ../root/usr/games/tavik " +
                           Quote(bin + "/tavik"),
                       &out),
              0)
        << out;
    const int status =
        RunShell("cd / && " + Quote(bin + "/tavik") + " -display 'no such  display'", &out);
    EXPECT_EQ(status, 1) << out;
    EXPECT_NE(out.find("usr/libexec/tavik/tavik): failed to open display 'no such  display'"),
              std::string::npos)
        << out;
}
