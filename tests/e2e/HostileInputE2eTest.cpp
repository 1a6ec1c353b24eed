// End to end with a hostile font.bmp: a directory, an empty file, files cut short and a
// header that claims gigabytes of pixels. The demo starts, draws its text as white blocks,
// and ends with status 0 on Escape; the real font is the control that draws no blocks.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/DemoProcess.h"
#include "xvfb/VirtualDisplay.h"

namespace {
using Bytes = std::vector<char>;

Bytes FontBytes() {
    std::ifstream in(TAVIK_FONT, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PutDword(Bytes* bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        (*bytes)[offset + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * i));
    }
}

struct HostileFont {
    const char* name;
    // Puts font.bmp (or what stands in its place) into the work directory.
    std::function<void(const std::string& dir)> make;
};

void WriteFont(const std::string& dir, const Bytes& bytes) {
    std::ofstream out(dir + "/font.bmp", std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

Bytes Cut(size_t length) {
    Bytes font = FontBytes();
    font.resize(length);
    return font;
}

class HostileInputE2eTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        display = new VirtualDisplay();
        ASSERT_TRUE(display->Start(1024, 768));
    }
    static void TearDownTestSuite() {
        delete display;
        display = nullptr;
    }
    // Starts the demo beside the given font, shows a status message and returns the number
    // of pure white pixels in the status line: many for blocks, few for real glyphs, whose
    // edges are soft. The demo is then ended with Escape and must exit with status 0.
    static int StatusLineWhite(const HostileFont& font) {
        const std::string dir = MakeWorkDir("");
        font.make(dir);
        DemoProcess demo(*display, TAVIK_BINARY, dir);
        EXPECT_TRUE(demo.Start());
        if (!demo.WaitForWindow(60.0)) {
            ADD_FAILURE() << "no window";
            return -1;
        }
        // "Frame/Second Clock On": 21 characters, 18 of them glyphs.
        EXPECT_TRUE(demo.Key("c"));
        SleepSeconds(0.6);
        const Screenshot shot = demo.Grab();
        const int white = shot.CountWhite(10, 0, 21 * 8 + 2, 20, 250);
        EXPECT_TRUE(demo.Key("Escape"));
        int status = -1;
        EXPECT_TRUE(demo.WaitForExit(30.0, &status)) << "the demo did not end after Escape";
        EXPECT_EQ(status, 0);
        EXPECT_EQ(demo.StandardOutput(), "");
        return white;
    }
    static VirtualDisplay* display;
};
VirtualDisplay* HostileInputE2eTest::display = nullptr;
}  // namespace

TEST_F(HostileInputE2eTest, HostileFontFilesGiveWhiteBlocksAndAnOrderlyEnd) {
    constexpr int kBlocks = 16 * 8 * 20;  // most of 18 solid blocks 10 x 20, 8 pixels apart
    const HostileFont fonts[] = {
        {"a directory", [](const std::string& dir) { mkdir((dir + "/font.bmp").c_str(), 0700); }},
        {"cut after the headers", [](const std::string& dir) { WriteFont(dir, Cut(54)); }},
        {"cut one byte short", [](const std::string& dir) { WriteFont(dir, Cut(1048629)); }},
        {"claiming 65536 x 65536 pixels",
         [](const std::string& dir) {
             Bytes font = FontBytes();
             PutDword(&font, 18, 65536);
             PutDword(&font, 22, 65536);
             WriteFont(dir, font);
         }},
    };
    for (const HostileFont& font : fonts) {
        SCOPED_TRACE(font.name);
        EXPECT_GT(StatusLineWhite(font), kBlocks) << "the text is drawn as white blocks";
    }
    const HostileFont real = {"the real font",
                              [](const std::string& dir) { WriteFont(dir, FontBytes()); }};
    EXPECT_LT(StatusLineWhite(real), kBlocks / 2) << "control: real glyphs are no blocks";
}
