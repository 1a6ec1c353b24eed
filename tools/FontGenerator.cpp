// Renders DejaVu Sans Mono Bold with FreeType into font.bmp, the demo's bitmap font: a 512 x 512
// sheet of 16 x 8 cells for the bytes 32 to 159, white with the glyph coverage as alpha.
// The bold face's stems are about 6 texels wide (the regular one's under 4), so they keep
// about one and a half texels in the 128 x 128 mipmap level that text of 18 to 20 pixels
// samples, and small text reaches nearly full white.
// Usage: tavik-font-generator OUTPUT.bmp [FONT.ttf]
//        tavik-font-generator --versions OUTPUT.txt [FONT.ttf]
// The sheet depends only on the font file and the FreeType version; the second form writes
// both versions, one a line, so that a regenerated sheet can be compared where they match.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H  // FT_Get_Sfnt_Table, for the font's revision

#include <getopt.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "image/BinaryFile.h"

namespace {
constexpr int kSide = 512;  // a power-of-two square texture
constexpr int kColumns = 16;
constexpr int kRows = 8;
constexpr int kCellWidth = kSide / kColumns;  // 32
constexpr int kCellHeight = kSide / kRows;    // 64: glyph quads are twice as high as wide
constexpr int kFirstByte = 32;
constexpr int kLastPrintable = 126;  // 127 to 159 stay empty

// Em size in pixels: the font's advance (0.602 em) becomes 25 texels, close to the on-screen
// advance of 0.8 cell width (25.6 texels), so letters keep the spacing the font gives them.
constexpr int kPixelSize = 42;
// The glyph origin inside its cell. Across: the advance box centred in the cell. Up: the
// baseline this many texel rows above the cell's lower edge, which puts the deepest descender
// (10 rows below the baseline) and the tallest glyph (34 above) in the middle of the rows that
// the quad samples.
constexpr int kOriginX = 3;
constexpr int kBaseline = 13;
// The quad samples the cell's band moved down by 0.01 of the texture (5.12 rows): rows -5.12
// to 58.88 above the cell's lower edge. Ink stays this far inside the band and the cell's
// sides (a glyph that would cross them stops the generator), so that no glyph is cut off and
// filtering does not bleed between neighbours.
constexpr int kLowestRow = 1;
constexpr int kHighestRow = 57;
constexpr int kSideMargin = 1;

// Coverage of the whole sheet, rows in texture order: row 0 is t = 0, the row the upload
// takes first. A glyph grows towards larger t, so in this order it stands upside down.
using AlphaSheet = std::vector<uint8_t>;

// The image row of the cell's lower edge (on screen): row r of the grid spans t from
// 0.875 - r * 0.125 to 1 - r * 0.125.
int CellBottomRow(int gridRow) {
    return (kRows - 1 - gridRow) * kCellHeight;
}

// Copies the rendered glyph into its cell; false if any ink would leave the sampled area.
bool PlaceGlyph(const FT_GlyphSlot glyph, int code, AlphaSheet* sheet) {
    const int column = code % kColumns;
    const int gridRow = code / kColumns;
    const FT_Bitmap& bitmap = glyph->bitmap;
    for (unsigned j = 0; j < bitmap.rows; ++j) {
        const uint8_t* source = bitmap.buffer + static_cast<long>(j) * bitmap.pitch;
        // Bitmap row j lies bitmap_top - 1 - j rows above the baseline.
        const int up = kBaseline + glyph->bitmap_top - 1 - static_cast<int>(j);
        for (unsigned i = 0; i < bitmap.width; ++i) {
            if (source[i] == 0) {
                continue;
            }
            const int across = kOriginX + glyph->bitmap_left + static_cast<int>(i);
            if (up < kLowestRow || up > kHighestRow || across < kSideMargin ||
                across >= kCellWidth - kSideMargin) {
                std::fprintf(stderr, "glyph %d does not fit its cell\n", code + kFirstByte);
                return false;
            }
            const int x = column * kCellWidth + across;
            const int y = CellBottomRow(gridRow) + up;
            (*sheet)[static_cast<size_t>(y) * kSide + x] = source[i];
        }
    }
    return true;
}

// FreeType and a face of it, each released by its owner.
using LibraryOwner = std::unique_ptr<FT_LibraryRec_, FT_Error (*)(FT_Library)>;
using FaceOwner = std::unique_ptr<FT_FaceRec_, FT_Error (*)(FT_Face)>;

bool RenderSheet(FT_Face face, AlphaSheet* sheet) {
    // Light hinting snaps horizontal strokes to whole rows only (no horizontal
    // distortion), so thin bars such as '_' and '-' get fully opaque rows.
    bool rendered = FT_Set_Pixel_Sizes(face, 0, kPixelSize) == 0;
    for (int byte = kFirstByte + 1; rendered && byte <= kLastPrintable; ++byte) {
        rendered = FT_Load_Char(face, byte, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) == 0 &&
                   face->glyph->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY &&
                   PlaceGlyph(face->glyph, byte - kFirstByte, sheet);
    }
    return rendered;
}

// Two lines: the FreeType library's version, and the face's names with the font revision of
// its head table, e.g. "FreeType 2.12.1" and "DejaVu Sans Mono Bold, Version 2.37".
std::string Versions(FT_Library library, FT_Face face) {
    FT_Int major = 0;
    FT_Int minor = 0;
    FT_Int patch = 0;
    FT_Library_Version(library, &major, &minor, &patch);
    const auto* head = static_cast<const TT_Header*>(FT_Get_Sfnt_Table(face, FT_SFNT_HEAD));
    char text[512];
    std::snprintf(
        text, sizeof text, "FreeType %d.%d.%d\n%s %s, Version %g\n", major, minor, patch,
        face->family_name ? face->family_name : "no family name",  // either may be missing
        face->style_name ? face->style_name : "no style name",
        head ? head->Font_Revision / 65536.0 : 0.0);  // a 16.16 fixed-point number
    return text;
}

// An uncompressed 32-bit BMP, stored bottom-up as usual: the file's first row is the sheet's
// last. Every pixel is white; the fourth byte is the coverage.
std::vector<uint8_t> EncodeBmp(const AlphaSheet& sheet) {
    constexpr uint32_t kHeaderBytes = 14 + 40;
    constexpr uint32_t kPixelBytes = kSide * kSide * 4;
    constexpr uint32_t kFileBytes = kHeaderBytes + kPixelBytes;
    constexpr uint32_t kPlanesAndBits = 1 | 32u << 16;  // biPlanes 1, biBitCount 32
    // After "BM", the header's little-endian 32-bit fields: bfSize, bfReserved1 and 2,
    // bfOffBits; biSize, biWidth, biHeight (positive: bottom-up), biPlanes with biBitCount,
    // biCompression (none), biSizeImage, 72 dpi across and down, biClrUsed, biClrImportant.
    const uint32_t fields[] = {kFileBytes,  0,    kHeaderBytes, 40, kSide, kSide, kPlanesAndBits, 0,
                               kPixelBytes, 2835, 2835,         0,  0};
    std::vector<uint8_t> out = {'B', 'M'};
    out.reserve(kFileBytes);
    for (const uint32_t field : fields) {
        for (int shift = 0; shift < 32; shift += 8) {
            out.push_back(static_cast<uint8_t>(field >> shift));
        }
    }
    for (int fileRow = 0; fileRow < kSide; ++fileRow) {
        const uint8_t* alpha = sheet.data() + static_cast<size_t>(kSide - 1 - fileRow) * kSide;
        for (int x = 0; x < kSide; ++x) {
            out.insert(out.end(), {255, 255, 255, alpha[x]});  // blue, green, red, alpha
        }
    }
    return out;
}

bool WriteFile(const char* path, const void* data, size_t size) {
    BinaryFile file;
    if (!file.Open(path, "wb") || !file.Write(data, static_cast<uint32_t>(size))) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return false;
    }
    file.Close();
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    const option kOptions[] = {{"versions", no_argument, nullptr, 'v'}, {nullptr, 0, nullptr, 0}};
    bool versionsOnly = false;
    int code = 0;
    while ((code = getopt_long(argc, argv, "", kOptions, nullptr)) == 'v') {
        versionsOnly = true;
    }
    const int first = optind;  // the output file's argument
    if (code != -1 || argc < first + 1 || argc > first + 2) {
        std::fprintf(
            stderr, "usage: %s OUTPUT.bmp [FONT.ttf]\n       %s --versions OUTPUT.txt [FONT.ttf]\n",
            argv[0], argv[0]);
        return 2;
    }
    const char* output = argv[first];
    const char* fontFile = argc == first + 2 ? argv[first + 1] : TAVIK_FONT_TTF;
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "FreeType did not start\n");
        return 1;
    }
    const LibraryOwner libraryOwner(library, FT_Done_FreeType);
    if (FT_New_Face(library, fontFile, 0, &face) != 0) {
        std::fprintf(stderr, "cannot read the font %s\n", fontFile);
        return 1;
    }
    const FaceOwner faceOwner(face, FT_Done_Face);
    if (versionsOnly) {
        const std::string versions = Versions(library, face);
        return WriteFile(output, versions.data(), versions.size()) ? 0 : 1;
    }
    AlphaSheet sheet(static_cast<size_t>(kSide) * kSide, 0);
    if (!RenderSheet(face, &sheet)) {
        return 1;
    }
    const std::vector<uint8_t> bmp = EncodeBmp(sheet);
    return WriteFile(output, bmp.data(), bmp.size()) ? 0 : 1;
}
