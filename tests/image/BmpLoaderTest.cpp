// The BMP loader on files assembled byte by byte: each depth, both row orders, padding,
// colour order, and every malformed or hostile file refused with the file closed and the
// target image left as it was.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "image/BmpLoader.h"
#include "tests/image/BmpTestFiles.h"

namespace {
// One image row as bytes.
Bytes ImageRow(const Image& image, uint32_t row) {
    const uint8_t* start = image.Pixels() + row * image.Stride();
    return Bytes(start, start + image.Stride());
}

bool LoadBytes(const Bytes& file, Image* image) {
    TempFile temp(file);
    return LoadBmp(temp.Path(), image);
}

// The picture pixel (x, y), y = 0 the top row, as the red, green, blue(, alpha) bytes that
// the loaded image must hold; distinct for every position and channel.
Bytes PicturePixel(int x, int y, int channels) {
    Bytes pixel;
    for (int c = 0; c < channels; ++c) {
        pixel.push_back(static_cast<uint8_t>(1 + x + 10 * y + 60 * c));
    }
    return pixel;
}

// The same pixel as the file stores it: blue, green, red(, alpha).
Bytes FilePixel(int x, int y, int channels) {
    Bytes pixel = PicturePixel(x, y, channels);
    if (channels >= 3) {
        std::swap(pixel[0], pixel[2]);
    }
    return pixel;
}

// A width x height picture of the given depth, stored bottom-up or top-down.
BmpBuilder Picture(int width, int height, uint16_t bits, bool topDown) {
    const int channels = bits / 8;
    BmpBuilder bmp(width, topDown ? -height : height, bits);
    for (int i = 0; i < height; ++i) {
        const int y = topDown ? i : height - 1 - i;
        Bytes row;
        for (int x = 0; x < width; ++x) {
            const Bytes pixel = FilePixel(x, y, channels);
            row.insert(row.end(), pixel.begin(), pixel.end());
        }
        bmp.Row(row);
    }
    return bmp;
}

void ExpectPicture(const Image& image, int width, int height, int channels) {
    ASSERT_EQ(image.Width(), static_cast<uint32_t>(width));
    ASSERT_EQ(image.Height(), static_cast<uint32_t>(height));
    ASSERT_EQ(image.BitsPerPixel(), static_cast<uint32_t>(channels * 8));
    ASSERT_EQ(image.Stride(), static_cast<uint32_t>(width * channels));
    for (int y = 0; y < height; ++y) {
        Bytes expected;
        for (int x = 0; x < width; ++x) {
            const Bytes pixel = PicturePixel(x, y, channels);
            expected.insert(expected.end(), pixel.begin(), pixel.end());
        }
        EXPECT_EQ(ImageRow(image, y), expected) << "row " << y;
    }
}
}  // namespace

TEST(BmpLoaderTest, EveryDepthBothOrdersAndOddWidths) {
    // Rows padded to 4 bytes (never at 32 bits), blue-green-red turned round, the fourth byte
    // of 32 bits kept, and the first stored row the bottom one unless the height is negative.
    for (const uint16_t bits : {8, 24, 32}) {
        for (const int width : {1, 2, 3, 5, 7}) {
            for (const bool topDown : {false, true}) {
                SCOPED_TRACE(std::to_string(bits) + " bits, width " + std::to_string(width) +
                             (topDown ? ", top-down" : ", bottom-up"));
                Image image;
                ASSERT_TRUE(LoadBytes(Picture(width, 3, bits, topDown).Build(), &image));
                ExpectPicture(image, width, 3, bits / 8);
            }
        }
    }
}

TEST(BmpLoaderTest, EightBitKeepsPaletteIndicesAndSkipsThePalette) {
    BmpBuilder bmp(5, 2, 8);
    bmp.paletteEntries = 256;
    bmp.Row({0, 1, 2, 3, 254}).Row({7, 8, 9, 10, 255});
    const Bytes file = bmp.Build();
    EXPECT_EQ(file.size(), 54u + 1024 + 2 * 8) << "5-pixel rows take 8 bytes";
    Image image;
    ASSERT_TRUE(LoadBytes(file, &image));
    EXPECT_EQ(image.BitsPerPixel(), 8u);
    EXPECT_EQ(image.Stride(), 5u);
    EXPECT_EQ(ImageRow(image, 0), Bytes({7, 8, 9, 10, 255}));
    EXPECT_EQ(ImageRow(image, 1), Bytes({0, 1, 2, 3, 254}));
}

TEST(BmpLoaderTest, PixelDataIsReadFromTheOffsetAndReplacesOldPixels) {
    // Sixteen bytes of something else between the headers and the pixels.
    BmpBuilder bmp = Picture(3, 2, 24, false);
    bmp.paletteEntries = 4;
    Image image;
    ASSERT_TRUE(image.Create(9, 9, 32));
    ASSERT_TRUE(LoadBytes(bmp.Build(), &image));
    ExpectPicture(image, 3, 2, 3);

    // Bytes after the pixel data are ignored.
    Bytes longer = Picture(3, 2, 24, false).Build();
    longer.insert(longer.end(), 100, 0xAB);
    ASSERT_TRUE(LoadBytes(longer, &image));
    ExpectPicture(image, 3, 2, 3);
}

TEST(BmpLoaderTest, NullImageAndMissingFileFail) {
    TempFile temp(Picture(2, 2, 24, false).Build());
    EXPECT_FALSE(LoadBmp(temp.Path(), nullptr));
    Image image;
    EXPECT_FALSE(LoadBmp("/nonexistent/tavik/font.bmp", &image));
    EXPECT_EQ(image.Pixels(), nullptr);
}

TEST(BmpLoaderTest, BadFilesFailClosedAndLeaveTheImageAlone) {
    struct Case {
        std::string name;
        Bytes file;
    };
    std::vector<Case> cases;
    const Bytes good = Picture(3, 2, 24, false).Build();
    auto with = [](BmpBuilder bmp, auto change) {
        change(bmp);
        return bmp.Build();
    };
    auto rows = [](int width, int height, int bits) { return Picture(width, height, bits, false); };

    cases.push_back({"signature MB", with(rows(3, 2, 24), [](BmpBuilder& b) {
                         b.type0 = 'M';
                         b.type1 = 'B';
                     })});
    cases.push_back({"shorter than the file header", Bytes(good.begin(), good.begin() + 10)});
    cases.push_back({"ends within the info header", Bytes(good.begin(), good.begin() + 30)});
    cases.push_back({"ends after the headers", Bytes(good.begin(), good.begin() + 54)});
    cases.push_back(
        {"compression 1", with(rows(3, 2, 24), [](BmpBuilder& b) { b.compression = 1; })});
    for (const uint16_t bits : {1, 4, 16}) {
        cases.push_back({"bit count " + std::to_string(bits),
                         with(rows(4, 2, 32), [bits](BmpBuilder& b) { b.bitCount = bits; })});
    }
    cases.push_back({"width 0", with(rows(3, 2, 24), [](BmpBuilder& b) { b.width = 0; })});
    cases.push_back({"height 0", with(rows(3, 2, 24), [](BmpBuilder& b) { b.height = 0; })});
    cases.push_back({"offset past the end", with(rows(3, 2, 24), [&](BmpBuilder& b) {
                         b.OffBits(static_cast<uint32_t>(good.size()) + 10);
                     })});
    cases.push_back({"offset beyond 2 GiB",
                     with(rows(3, 2, 24), [](BmpBuilder& b) { b.OffBits(0xFFFFFFF0u); })});
    cases.push_back({"pixel data one byte short", Bytes(good.begin(), good.end() - 1)});
    cases.push_back({"negative width", with(rows(3, 2, 24), [](BmpBuilder& b) { b.width = -3; })});
    cases.push_back(
        {"height INT32_MIN", with(rows(3, 2, 24), [](BmpBuilder& b) { b.height = INT32_MIN; })});
    // Sizes whose 32-bit products wrap round to something small.
    cases.push_back({"32-bit width 2^30: row length 2^32",
                     with(rows(1, 1, 32), [](BmpBuilder& b) { b.width = 0x40000000; })});
    cases.push_back({"24-bit width just over 2^32 / 3",
                     with(rows(1, 1, 24), [](BmpBuilder& b) { b.width = 0x55555556; })});
    cases.push_back(
        {"8-bit width 2^31 - 1 and 2 rows: data 2^32", with(rows(1, 1, 8), [](BmpBuilder& b) {
             b.width = INT32_MAX;
             b.height = 2;
         })});
    cases.push_back({"65536 x 65536 at 32 bits", with(rows(1, 1, 32), [](BmpBuilder& b) {
                         b.width = 65536;
                         b.height = -65536;
                     })});
    // Sizes that fit in 32 bits but far exceed the file.
    cases.push_back({"10000 x 10000 in a tiny file", with(rows(1, 1, 24), [](BmpBuilder& b) {
                         b.width = 10000;
                         b.height = 10000;
                     })});
    cases.push_back({"just under 4 GiB of pixels claimed", with(rows(1, 1, 24), [](BmpBuilder& b) {
                         b.width = 32767;
                         b.height = -32767;
                     })});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image;
        ASSERT_TRUE(image.Create(1, 1, 8));
        image.Pixels()[0] = 77;
        const int descriptors = OpenDescriptorCount();
        EXPECT_FALSE(LoadBytes(c.file, &image));
        EXPECT_EQ(OpenDescriptorCount(), descriptors) << "the file was left open";
        ASSERT_NE(image.Pixels(), nullptr) << "the old pixels were freed";
        EXPECT_EQ(image.Width(), 1u);
        EXPECT_EQ(image.BitsPerPixel(), 8u);
        EXPECT_EQ(image.Pixels()[0], 77);
    }
}
