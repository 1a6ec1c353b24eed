// The image buffer: sizes that Create computes, what Free leaves, refused arguments and sizes
// that do not fit in 32 bits, and Load handing the image to its loader.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image/Image.h"

namespace {
// Counts the calls of Free that go through the virtual table.
class CountingImage : public Image {
public:
    int frees = 0;
    void Free() override {
        ++frees;
        Image::Free();
    }
};

std::string lastLoaderFile;
Image* lastLoaderImage = nullptr;

bool RecordingLoader(const char* fileName, Image* image) {
    lastLoaderFile = fileName;
    lastLoaderImage = image;
    return image->Create(2, 2, 8);
}

bool FailingLoader(const char*, Image*) {
    return false;
}
}  // namespace

TEST(ImageTest, CreateComputesStrideFromBytesPerPixel) {
    Image image;
    EXPECT_EQ(image.Pixels(), nullptr);
    EXPECT_EQ(image.Width(), 0u);

    ASSERT_TRUE(image.Create(3, 2, 24));
    EXPECT_EQ(image.Width(), 3u);
    EXPECT_EQ(image.Height(), 2u);
    EXPECT_EQ(image.BitsPerPixel(), 24u);
    EXPECT_EQ(image.Stride(), 9u);
    ASSERT_NE(image.Pixels(), nullptr);
    std::memset(image.Pixels(), 0x5A, 18);  // the whole buffer is writable (ASan checks)

    // Depths below 8 bits take a whole byte per pixel: rows are never packed.
    ASSERT_TRUE(image.Create(5, 1, 1));
    EXPECT_EQ(image.Stride(), 5u);
    ASSERT_TRUE(image.Create(4, 3, 16));
    EXPECT_EQ(image.Stride(), 8u);
    ASSERT_TRUE(image.Create(7, 1, 32));
    EXPECT_EQ(image.Stride(), 28u);
}

TEST(ImageTest, FreeAndZeroArgumentsLeaveTheImageEmpty) {
    // Create frees first, through the virtual table; Free zeroes everything once it held
    // pixels and does nothing more the second time.
    const uint32_t arguments[][3] = {{0, 2, 24}, {2, 0, 24}, {2, 2, 0}};
    for (const auto& a : arguments) {
        CountingImage image;
        ASSERT_TRUE(image.Create(4, 4, 32));
        EXPECT_FALSE(image.Create(a[0], a[1], a[2])) << a[0] << " x " << a[1] << " x " << a[2];
        EXPECT_EQ(image.frees, 2);
        EXPECT_EQ(image.Pixels(), nullptr);
        EXPECT_EQ(image.Width(), 0u) << "the old pixels were freed first";
        EXPECT_EQ(image.Stride(), 0u);
    }
    Image image;
    ASSERT_TRUE(image.Create(3, 2, 24));
    image.Free();
    image.Free();
    EXPECT_EQ(image.Pixels(), nullptr);
    EXPECT_EQ(image.Width() + image.Height() + image.Stride() + image.BitsPerPixel(), 0u);
}

TEST(ImageTest, SizesBeyond32BitsFailWithoutPixels) {
    // Each would wrap round in 32-bit arithmetic to a small buffer: the stride (by a lot, and
    // by a little) or the size.
    const uint32_t sizes[][3] = {{0x40000000u, 1, 32},
                                 {0x55555556u, 1, 24},
                                 {0x10000u, 0x10000u, 8},
                                 {0x10000u, 0x4000u, 32}};
    Image image;
    for (const auto& size : sizes) {
        EXPECT_FALSE(image.Create(size[0], size[1], size[2])) << size[0] << " x " << size[1];
        EXPECT_EQ(image.Pixels(), nullptr);
    }
    ASSERT_TRUE(image.Create(16, 16, 8)) << "and the image is usable again";
}

TEST(ImageTest, LoadHandsTheImageToTheLoader) {
    Image image;
    EXPECT_TRUE(image.Load("some/file.bmp", RecordingLoader));
    EXPECT_EQ(lastLoaderFile, "some/file.bmp");
    EXPECT_EQ(lastLoaderImage, &image);
    EXPECT_EQ(image.Width(), 2u);

    EXPECT_FALSE(image.Load("other.bmp", FailingLoader));
    EXPECT_EQ(image.Width(), 2u) << "Load itself changes nothing";
}
