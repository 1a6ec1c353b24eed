// The snapshot tool's own behaviour: its options and their errors, repeatable pictures,
// frame ranges, keys at chosen frames and the demo's fade-out.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/golden/PictureCompare.h"
#include "tests/golden/ToolRun.h"
#include "driver/Picture.h"

namespace {
std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

int Lines(const std::string& text) {
    int lines = 0;
    for (const char c : text) {
        lines += c == '\n' ? 1 : 0;
    }
    return lines;
}

// Mean brightness of a picture's rectangle.
double Brightness(const Picture& p, int x0, int y0, int x1, int y1) {
    double sum = 0.0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const Rgb c = p.At(x, y);
            sum += (c.r + c.g + c.b) / 3.0;
        }
    }
    return sum / ((x1 - x0) * (y1 - y0));
}
}  // namespace

TEST(SnapshotToolTest, HelpNamesEveryOptionAndBadOptionsFailInOneLine) {
    std::string help;
    ASSERT_EQ(RunCommand(SnapshotCommand("--help >" + OutputPath("help.txt"))), 0);
    help = FileBytes(OutputPath("help.txt"));
    for (const char* option : {"--size", "--step-ms", "--frame ", "--frames", "--key", "--out",
                               "--font", "--xvfb", "--help"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option << " missing from --help";
    }
    const char* const bad[] = {
        "--bogus",
        "--size 640",
        "--size 0x480",
        "--size 640x",
        "--frame -1",
        "--frame x",
        "--frames 9-3",
        "--step-ms",
        "--key 5",
        "--key 0:nokey",
        "--key x:l",
        "--key 0:l*0",
        "--out shot-%s.png",
        "--out a%d%d.png",
        "--frames 0-2 --out one.png",
        "--key 9:l --frame 3",
    };
    for (const char* arguments : bad) {
        std::string errors;
        EXPECT_EQ(RunCommand(SnapshotCommand(arguments), &errors), 2) << arguments;
        EXPECT_EQ(Lines(errors), 1) << arguments << " -> " << errors;
    }
    std::string errors;
    EXPECT_EQ(RunCommand(SnapshotCommand("--font /nonexistent/font.bmp"), &errors), 1);
    EXPECT_EQ(Lines(errors), 1) << errors;
    EXPECT_EQ(
        RunCommand("env -u DISPLAY " + SnapshotCommand("--out " + OutputPath("x.png")), &errors),
        1);
    EXPECT_NE(errors.find("DISPLAY"), std::string::npos) << errors;
    EXPECT_EQ(Lines(errors), 1) << errors;
}

// Same arguments, same file; a range writes each of its frames, and they move.
TEST(SnapshotToolTest, PicturesRepeatAndRangesWriteEveryFrame) {
    const std::string pattern = OutputPath("range-%03d.png");
    const std::string again = OutputPath("again-%03d.png");
    ASSERT_EQ(RunCommand(SnapshotCommand("--size 160x120 --frames 8-10 --key 2:w --out '" +
                                         pattern + "' >/dev/null")),
              0);
    ASSERT_EQ(RunCommand(SnapshotCommand("--size 160x120 --frame 10 --key 2:w --out '" + again +
                                         "' >/dev/null")),
              0);
    for (int frame = 8; frame <= 10; ++frame) {
        char name[32];
        std::snprintf(name, sizeof name, "range-%03d.png", frame);
        EXPECT_TRUE(Exists(OutputPath(name))) << name;
    }
    EXPECT_FALSE(Exists(OutputPath("range-007.png")));
    EXPECT_FALSE(Exists(OutputPath("range-011.png")));
    const std::string tenth = FileBytes(OutputPath("range-010.png"));
    ASSERT_FALSE(tenth.empty());
    EXPECT_EQ(tenth, FileBytes(OutputPath("again-010.png"))) << "the same frame twice";
    EXPECT_NE(tenth, FileBytes(OutputPath("range-009.png"))) << "consecutive frames differ";

    Picture picture;
    std::string error;
    ASSERT_TRUE(ReadPng(OutputPath("range-010.png"), &picture, &error)) << error;
    EXPECT_EQ(picture.width, 160);
    EXPECT_EQ(picture.height, 120);
}

// A key reaches the demo at its frame and not before: letterbox 6 bands appear from then on.
TEST(SnapshotToolTest, KeysAreTypedJustBeforeTheirFrame) {
    const std::string pattern = OutputPath("keys-%d.png");
    ASSERT_EQ(RunCommand(SnapshotCommand("--size 320x240 --frame 4 --frame 5 --key 5:l*6 --out '" +
                                         pattern + "' >/dev/null")),
              0);
    Picture before, after;
    std::string error;
    ASSERT_TRUE(ReadPng(OutputPath("keys-4.png"), &before, &error)) << error;
    ASSERT_TRUE(ReadPng(OutputPath("keys-5.png"), &after, &error)) << error;
    // The lower band, below the status line: stars before, black after.
    EXPECT_GT(Brightness(before, 0, 200, 320, 240), 2.0);
    EXPECT_LT(Brightness(after, 0, 200, 320, 240), 0.5);
}

// Escape fades the demo out over about 2.7 s: frames within it are written, a frame after
// its end makes the tool fail, and the tool itself ends cleanly either way.
TEST(SnapshotToolTest, TheFadeOutEndsTheRunOnlyWhenAsked) {
    const std::string path = OutputPath("fade-%d.png");
    std::string errors;
    EXPECT_EQ(RunCommand(SnapshotCommand("--size 160x120 --key 1:escape --frame 100 --out '" +
                                         path + "' >/dev/null"),
                         &errors),
              0)
        << errors;
    EXPECT_TRUE(Exists(OutputPath("fade-100.png")));
    EXPECT_EQ(RunCommand(SnapshotCommand("--size 160x120 --key 1:escape --frame 400 --out '" +
                                         path + "' >/dev/null"),
                         &errors),
              1);
    EXPECT_NE(errors.find("faded out"), std::string::npos) << errors;
    EXPECT_FALSE(Exists(OutputPath("fade-400.png")));
}
