// The BMP loader on files assembled byte by byte: each depth, both row orders, padding,
// colour order, the palette skipped and the pixel offset followed. Malformed and hostile
// files, each refused with the file closed and the image left alone, are the fuzzer's
// corpus (BmpHostileFilesTest.cpp).
#include <gtest/gtest.h>

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

TEST(BmpLoaderTest, NullImageFails) {
    TempFile temp(Picture(2, 2, 24, false).Build());
    EXPECT_FALSE(LoadBmp(temp.Path(), nullptr));
}
