// The shipped font.bmp as the BMP loader delivers it: a 512 x 512 32-bit sheet whose cells
// follow the glyph grid (glyphs upside down, inside the band each quad samples), and the
// generator reproducing the committed file byte for byte where FreeType and the font are the
// versions it was made with.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "image/BmpLoader.h"
#include "tests/image/BmpTestFiles.h"

namespace {
constexpr int kSide = 512;
constexpr int kCellWidth = 32;
constexpr int kCellHeight = 64;
constexpr int kCodes = 128;
constexpr int kSpace = 0;          // byte 32
constexpr int kFirstEmpty = 95;    // byte 127; 127 to 159 are empty
constexpr double kMarginRows = 2;  // clear of the sampled band's edges, for filtering

// Where a glyph's quad samples the sheet, in image rows (row 0 is t = 0): the lower edge of
// the quad takes t0 = 0.875 - row * 0.125 - 0.01 and the upper edge t0 + 0.125.
double QuadLowerEdgeRow(int gridRow) {
    return (0.875 - gridRow * 0.125 - 0.01) * kSide;
}
double QuadUpperEdgeRow(int gridRow) {
    return QuadLowerEdgeRow(gridRow) + 0.125 * kSide;
}

int CodeOf(uint8_t byte) {
    return byte - 32;
}

// The ink of one cell: pixels with any coverage, found by the cell they lie in.
struct CellInk {
    int pixels = 0;
    int opaque = 0;
    int minX = kSide, maxX = -1, minY = kSide, maxY = -1;  // image coordinates
};

class FontTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadBmp(TAVIK_FONT, &font)) << TAVIK_FONT;
        ASSERT_EQ(font.BitsPerPixel(), 32u);
        ASSERT_EQ(font.Width(), static_cast<uint32_t>(kSide));
        ASSERT_EQ(font.Height(), static_cast<uint32_t>(kSide));
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                const uint8_t* p = font.Pixels() + y * font.Stride() + x * 4;
                notWhite += p[0] != 255 || p[1] != 255 || p[2] != 255;
                if (Alpha(x, y) == 0) {
                    continue;
                }
                // Grid row r covers image rows 448 - 64 r to 511 - 64 r.
                const int code = (kSide / kCellHeight - 1 - y / kCellHeight) * 16 + x / kCellWidth;
                CellInk& ink = cells[code];
                ++ink.pixels;
                ink.opaque += Alpha(x, y) == 255;
                ink.minX = std::min(ink.minX, x);
                ink.maxX = std::max(ink.maxX, x);
                ink.minY = std::min(ink.minY, y);
                ink.maxY = std::max(ink.maxY, y);
            }
        }
    }

    uint8_t Alpha(int x, int y) const { return font.Pixels()[y * font.Stride() + x * 4 + 3]; }

    // Height of an image row's centre above the quad's lower edge, as a fraction of the quad.
    static double AboveLowerEdge(int code, double y) {
        return (y + 0.5 - QuadLowerEdgeRow(code / 16)) / kCellHeight;
    }

    // Distance from the leftmost to the rightmost inked column (alpha above one half) in one
    // image row of a cell.
    int InkSpan(int code, int y) const {
        const int left = code % 16 * kCellWidth;
        int first = -1;
        int last = -2;
        for (int x = left; x < left + kCellWidth; ++x) {
            if (Alpha(x, y) > 127) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        return last - first + 1;
    }

    Image font;
    CellInk cells[kCodes];
    int notWhite = 0;  // pixels whose colour is not white
};

// What the generator writes when run with ARGUMENTS and an output file; nothing if it fails.
Bytes RunGenerator(const std::string& arguments) {
    const char* path = TAVIK_BUILD_DIR "/font-generator-output";
    std::remove(path);
    const std::string command =
        "'" TAVIK_BUILD_DIR "/tools/tavik-font-generator' " + arguments + " '" + path + "'";
    const Bytes output = std::system(command.c_str()) == 0 ? ReadWholeFile(path) : Bytes();
    std::remove(path);
    return output;
}
}  // namespace

TEST_F(FontTest, WhiteInkInThePrintableCellsOnly) {
    EXPECT_EQ(notWhite, 0) << "colour comes from the alpha channel alone";
    for (int code = 0; code < kCodes; ++code) {
        const int byte = code + 32;
        if (code == kSpace || code >= kFirstEmpty) {
            EXPECT_EQ(cells[code].pixels, 0) << "byte " << byte << " must be fully transparent";
        } else {
            EXPECT_GT(cells[code].opaque, 0) << "byte " << byte << " '" << char(byte) << "'";
        }
    }
}

TEST_F(FontTest, InkStaysInsideTheBandEachQuadSamples) {
    for (int code = 1; code < kFirstEmpty; ++code) {
        const CellInk& ink = cells[code];
        if (ink.pixels == 0) {
            continue;  // reported by the test above
        }
        const int gridRow = code / 16;
        const int left = code % 16 * kCellWidth;
        SCOPED_TRACE(std::string("byte ") + std::to_string(code + 32) + " '" + char(code + 32) +
                     "'");
        // Ink outside the band would be cut off, or show in the neighbour's quad.
        EXPECT_GE(ink.minY, QuadLowerEdgeRow(gridRow) + kMarginRows);
        EXPECT_LE(ink.maxY + 1, QuadUpperEdgeRow(gridRow) - kMarginRows);
        EXPECT_GT(ink.minX, left);
        EXPECT_LT(ink.maxX, left + kCellWidth - 1);
    }
}

TEST_F(FontTest, CapitalAndDescenderSitOnTheBaseline) {
    const int a = CodeOf('A');
    const int g = CodeOf('g');
    const CellInk& capital = cells[a];
    const CellInk& descender = cells[g];
    ASSERT_GT(capital.pixels, 0);
    ASSERT_GT(descender.pixels, 0);

    // On screen the lower edge of the quad takes the smaller t: a glyph's foot is its
    // smallest image row. 'A' stands on a baseline well above the lower edge, leaving room
    // for descenders, and its top stays below the upper edge.
    const double baseline = AboveLowerEdge(a, capital.minY);
    EXPECT_GT(baseline, 0.15);
    EXPECT_LT(baseline, 0.5);
    EXPECT_LT(AboveLowerEdge(a, capital.maxY), 0.95);
    EXPECT_GT(AboveLowerEdge(a, capital.maxY) - baseline, 0.4) << "capitals are tall";

    // 'g' reaches below that baseline by a descender of at least 6 texel rows, and its
    // top lies below the capital's.
    EXPECT_LT(AboveLowerEdge(g, descender.minY), baseline - 6.0 / kCellHeight);
    EXPECT_LT(AboveLowerEdge(g, descender.maxY), AboveLowerEdge(a, capital.maxY) - 0.05);

    // Upright on screen: the legs of 'A' (smaller image rows) are wider than its apex.
    EXPECT_GT(InkSpan(a, capital.minY + 1), 2 * InkSpan(a, capital.maxY - 1));

    // Centred across the cell.
    for (const int code : {a, g}) {
        const double centre = (cells[code].minX + cells[code].maxX + 1) / 2.0;
        EXPECT_NEAR(centre, code % 16 * kCellWidth + kCellWidth / 2.0, 3.0) << char(code + 32);
    }
}

// FreeType's rasteriser and the font's outlines both shape the bytes, so they are compared
// only where the installed versions are the ones data/font.versions records.
TEST(FontGeneratorTest, RegeneratesTheCommittedFileExactly) {
    if (access(TAVIK_BUILD_DIR "/tools/tavik-font-generator", X_OK) != 0) {
        GTEST_SKIP() << "the font generator was not built (no FreeType, or tools disabled)";
    }
    std::string record = TAVIK_FONT;
    record.replace(record.rfind(".bmp"), 4, ".versions");
    const Bytes recorded = ReadWholeFile(record.c_str());
    ASSERT_FALSE(recorded.empty()) << record;
    const Bytes installed = RunGenerator("--versions");
    if (installed != recorded) {
        GTEST_SKIP() << "data/font.bmp was rendered with\n"
                     << std::string(recorded.begin(), recorded.end()) << "but here there are\n"
                     << (installed.empty() ? "no font the generator can read\n"
                                           : std::string(installed.begin(), installed.end()));
    }
    const Bytes committed = ReadWholeFile(TAVIK_FONT);
    ASSERT_EQ(committed.size(), 54u + 512 * 512 * 4);
    EXPECT_TRUE(RunGenerator("") == committed)
        << "data/font.bmp differs from what the generator renders now; rebuild the "
           "tavik-font target and commit the result";
}
