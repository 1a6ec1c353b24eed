// The texture object in a real OpenGL context: what each case uploads (read back with
// glGetTexImage), that mipmaps are built, the parameters, the unpack alignment and the
// workaround for widths that are not powers of two, failures that end empty, Release, Load
// and copies that share one texture. The levels themselves are the utility library's work.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "image/BmpLoader.h"
#include "image/Texture.h"
#include "tests/image/BmpTestFiles.h"
#include "tests/support/GlTestSupport.h"

namespace {
// An image whose byte for pixel (x, y), channel c is value(x, y, c).
void Fill(Image* image, uint32_t width, uint32_t height, uint32_t bits,
          const std::function<uint8_t(uint32_t, uint32_t, uint32_t)>& value) {
    ASSERT_TRUE(image->Create(width, height, bits));
    const uint32_t channels = bits / 8;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            for (uint32_t c = 0; c < channels; ++c) {
                image->Pixels()[y * image->Stride() + x * channels + c] = value(x, y, c);
            }
        }
    }
}

uint8_t Pattern(uint32_t x, uint32_t y, uint32_t c) {
    return static_cast<uint8_t>(3 + 17 * x + 41 * y + 90 * c);
}

uint8_t AlphaPattern(uint32_t x, uint32_t y, uint32_t) {
    return static_cast<uint8_t>(250 - 13 * x - 29 * y);
}

GLint LevelParameter(GLint level, GLenum name) {
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

GLint BoundTexture() {
    GLint name = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

// Level `level` of the bound texture in the given format, rows packed with no padding.
Bytes ReadTexture(GLint level, GLenum format, int channels) {
    const int width = LevelParameter(level, GL_TEXTURE_WIDTH);
    const int height = LevelParameter(level, GL_TEXTURE_HEIGHT);
    Bytes bytes(static_cast<size_t>(width) * height * channels, 0xCD);
    GLint savedAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &savedAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, bytes.data());
    glPixelStorei(GL_PACK_ALIGNMENT, savedAlignment);
    return bytes;
}

Bytes AllPixels(const Image& image) {
    return Bytes(image.Pixels(), image.Pixels() + image.Stride() * image.Height());
}

// The pixels of colour followed, each, by the byte of the 8-bit alpha image.
Bytes Interleaved(const Image& colour, const Image& alpha) {
    const uint32_t channels = colour.BitsPerPixel() / 8;
    Bytes bytes;
    for (uint32_t i = 0; i < colour.Width() * colour.Height(); ++i) {
        bytes.insert(bytes.end(), colour.Pixels() + i * channels,
                     colour.Pixels() + (i + 1) * channels);
        bytes.push_back(alpha.Pixels()[i]);
    }
    return bytes;
}

// The OpenGL name a texture holds.
GLuint NameOf(const Texture& texture) {
    return texture.handle - 1;
}
}  // namespace

class TextureGlTest : public GlTest {};

TEST_F(TextureGlTest, EachDepthUploadsItsRowsWithMipmapsAndTheParameters) {
    const struct {
        uint32_t bits;
        GLenum format;
        GLenum sizeName;  // a component the format has
    } depths[] = {{8, GL_LUMINANCE, GL_TEXTURE_LUMINANCE_SIZE},
                  {24, GL_RGB, GL_TEXTURE_RED_SIZE},
                  {32, GL_RGBA, GL_TEXTURE_ALPHA_SIZE}};
    Texture texture;
    Image image;
    for (const auto& depth : depths) {
        SCOPED_TRACE(std::to_string(depth.bits) + " bits");
        const int channels = static_cast<int>(depth.bits / 8);
        Fill(&image, 4, 2, depth.bits, Pattern);
        const GLuint held = NameOf(texture);
        ASSERT_TRUE(texture.Create(image, nullptr));
        // The held texture was deleted before the new name was made: gone, or its name reused.
        EXPECT_TRUE(NameOf(texture) == held || !glIsTexture(held));
        EXPECT_EQ(BoundTexture(), static_cast<GLint>(NameOf(texture))) << "stays bound";
        EXPECT_GT(LevelParameter(0, depth.sizeName), 0);
        EXPECT_EQ(LevelParameter(0, GL_TEXTURE_ALPHA_SIZE) > 0, channels == 4);
        EXPECT_EQ(ReadTexture(0, depth.format, channels), AllPixels(image)) << "rows top first";
        EXPECT_EQ(LevelParameter(1, GL_TEXTURE_WIDTH), 2) << "mipmaps built";
    }

    const GLenum names[] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_MAG_FILTER,
                            GL_TEXTURE_MIN_FILTER};
    const GLint values[] = {GL_REPEAT, GL_REPEAT, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST};
    for (int i = 0; i < 4; ++i) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, names[i], &value);
        EXPECT_EQ(value, values[i]) << "parameter " << i;
    }
}

// With an alpha image, an 8-bit image's texels are luminance then alpha, a 24-bit image's red,
// green, blue, then alpha. A 32-bit image brings its own alpha and ignores the extra one.
TEST_F(TextureGlTest, AlphaImageIsInterleavedWithAnEightOrTwentyFourBitImage) {
    Image alpha;
    Fill(&alpha, 4, 2, 8, AlphaPattern);
    Image image;
    Texture texture;
    const struct {
        uint32_t bits;
        GLenum format;
        bool interleaved;
    } cases[] = {{8, GL_LUMINANCE_ALPHA, true}, {24, GL_RGBA, true}, {32, GL_RGBA, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits");
        Fill(&image, 4, 2, c.bits, Pattern);
        ASSERT_TRUE(texture.Create(image, &alpha));
        const Bytes expected = c.interleaved ? Interleaved(image, alpha) : AllPixels(image);
        EXPECT_EQ(ReadTexture(0, c.format, c.bits == 8 ? 2 : 4), expected);
    }
}

TEST_F(TextureGlTest, UnfitAlphaImageOrDepthFailsAndEndsEmpty) {
    struct Shape {
        uint32_t width, height, bits;  // width 0: no pixels at all
    };
    const struct {
        const char* name;
        Shape image, alpha;  // alpha width 0: no alpha image
    } cases[] = {
        {"alpha of another width", {4, 2, 24}, {2, 2, 8}},
        {"alpha of another height", {4, 2, 8}, {4, 1, 8}},
        {"24-bit alpha", {4, 2, 8}, {4, 2, 24}},
        {"16-bit image", {2, 2, 16}, {0, 0, 0}},
        {"empty image", {0, 0, 0}, {0, 0, 0}},
        // Wider than GLint can say: the utility library refuses it.
        {"image the utility library refuses", {1u << 31, 1, 8}, {0, 0, 0}},
    };
    Image rgb;
    Fill(&rgb, 4, 2, 24, Pattern);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Image image;
        Image alpha;
        ASSERT_TRUE(c.image.width == 0 ||
                    image.Create(c.image.width, c.image.height, c.image.bits));
        ASSERT_TRUE(c.alpha.width == 0 ||
                    alpha.Create(c.alpha.width, c.alpha.height, c.alpha.bits));
        Texture texture;
        ASSERT_TRUE(texture.Create(rgb, nullptr));
        const GLuint oldName = NameOf(texture);
        EXPECT_FALSE(texture.Create(image, c.alpha.width == 0 ? nullptr : &alpha));
        EXPECT_EQ(texture.handle, 0u);
        EXPECT_FALSE(glIsTexture(oldName)) << "the old texture was released";
        EXPECT_EQ(BoundTexture(), 0);
        EXPECT_NO_GL_ERROR();
    }
}

TEST_F(TextureGlTest, PackedRowsAndWidthsThatAreNotPowersOfTwo) {
    // Alignments left at 8 (unpack) and 2 (pack) by the caller: the upload must still read packed
    // rows, and the caller's alignment must be back afterwards.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    glPixelStorei(GL_PACK_ALIGNMENT, 2);

    // 1 x 4 at 24 bits: stride 3, a power-of-two size, so level 0 holds the bytes as given.
    Image column;
    Fill(&column, 1, 4, 24, Pattern);
    Texture texture;
    ASSERT_TRUE(texture.Create(column, nullptr));
    EXPECT_EQ(ReadTexture(0, GL_RGB, 3), AllPixels(column));

    // One colour per row. A width alone off a power of two is rescaled across only, to the
    // nearest power of two, and every row of level 0 keeps its colour, the last one included.
    auto rowColour = [](uint32_t, uint32_t y, uint32_t c) {
        return static_cast<uint8_t>(20 + 60 * y + 7 * c);
    };
    const struct {
        uint32_t width, height, bits;
        GLint scaledWidth;
    } shapes[] = {{3, 4, 24, 4}, {5, 4, 24, 4}, {6, 2, 8, 8}, {7, 4, 32, 8}};
    for (const auto& shape : shapes) {
        SCOPED_TRACE(std::to_string(shape.width) + " x " + std::to_string(shape.height) + " at " +
                     std::to_string(shape.bits) + " bits");
        Image odd;
        Fill(&odd, shape.width, shape.height, shape.bits, rowColour);
        ASSERT_TRUE(texture.Create(odd, nullptr));
        const int channels = static_cast<int>(shape.bits / 8);
        const GLenum format = channels == 1 ? GL_LUMINANCE : channels == 3 ? GL_RGB : GL_RGBA;
        const Bytes level0 = ReadTexture(0, format, channels);
        ASSERT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), shape.scaledWidth);
        ASSERT_EQ(LevelParameter(0, GL_TEXTURE_HEIGHT), static_cast<GLint>(shape.height));
        for (size_t i = 0; i < level0.size(); ++i) {
            const uint32_t y = static_cast<uint32_t>(i / channels / shape.scaledWidth);
            ASSERT_NEAR(level0[i], rowColour(0, y, i % channels), 1) << "byte " << i;
        }
    }
    // Sides off a power of two in height are left to the utility library as they are.
    Image tall;
    Fill(&tall, 3, 5, 24, rowColour);
    EXPECT_TRUE(texture.Create(tall, nullptr));

    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 8);
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 2);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
}

TEST_F(TextureGlTest, ReleaseDeletesOnceAndCopiesBindTheSameTexture) {
    Image image;
    Fill(&image, 2, 2, 24, Pattern);
    Texture texture;
    texture.Release();  // empty: nothing to delete, no error
    EXPECT_NO_GL_ERROR();
    ASSERT_TRUE(texture.Create(image, nullptr));
    Texture copy = texture;
    glBindTexture(GL_TEXTURE_2D, 0);
    copy.Bind();
    EXPECT_EQ(BoundTexture(), static_cast<GLint>(NameOf(texture)));
    copy.handle = 0;  // only the original releases

    const GLuint name = NameOf(texture);
    texture.Release();
    EXPECT_EQ(texture.handle, 0u);
    EXPECT_FALSE(glIsTexture(name));
    texture.Bind();
    EXPECT_EQ(BoundTexture(), 0) << "an empty texture binds none";

    // Another texture, possibly under the freed name, survives a second Release.
    GLuint other = 0;
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, other);
    texture.Release();
    EXPECT_TRUE(glIsTexture(other));
    glDeleteTextures(1, &other);
}

TEST_F(TextureGlTest, LoadFromFile) {
    Texture texture;
    ASSERT_TRUE(texture.Load(TAVIK_FONT, LoadBmp));
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 512) << "the font's 512 x 512 pixels";
    EXPECT_GT(LevelParameter(0, GL_TEXTURE_ALPHA_SIZE), 0) << "and their alpha";

    const uint32_t held = texture.handle;
    EXPECT_FALSE(texture.Load("/nonexistent/tavik/font.bmp", LoadBmp));
    EXPECT_EQ(texture.handle, held) << "a failed load keeps the texture";
    EXPECT_TRUE(glIsTexture(NameOf(texture)));

    Texture fresh;
    EXPECT_FALSE(fresh.Load("/nonexistent/tavik/font.bmp", LoadBmp));
    EXPECT_EQ(fresh.handle, 0u);
}
