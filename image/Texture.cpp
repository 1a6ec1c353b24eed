// The texture object: builds a mipmapped 2-D OpenGL texture from an Image, optionally
// interleaved with a separate 8-bit alpha image, and binds and deletes it.
#include "image/Texture.h"

#include <GL/gl.h>
#include <GL/glu.h>  // gluBuild2DMipmaps builds the whole chain of levels; gluScaleImage

namespace {
// How one image is handed to gluBuild2DMipmaps.
struct UploadFormat {
    GLint components;
    GLenum format;
};

// The alpha image must be an 8-bit image of the same size as the colour image.
bool AlphaFits(const Image& image, const Image& alphaImage) {
    return alphaImage.BitsPerPixel() == 8 && alphaImage.Width() == image.Width() &&
           alphaImage.Height() == image.Height() && alphaImage.Pixels() != nullptr;
}

// Fills interleaved with each pixel of image (1 or 3 bytes) followed by its alpha byte.
bool Interleave(const Image& image, const Image& alphaImage, Image* interleaved) {
    const uint32_t colourBytes = image.BitsPerPixel() / 8;
    if (!interleaved->Create(image.Width(), image.Height(), (colourBytes + 1) * 8)) {
        return false;
    }
    for (uint32_t y = 0; y < image.Height(); ++y) {
        const uint8_t* colour = image.Pixels() + y * image.Stride();
        const uint8_t* alpha = alphaImage.Pixels() + y * alphaImage.Stride();
        uint8_t* out = interleaved->Pixels() + y * interleaved->Stride();
        for (uint32_t x = 0; x < image.Width(); ++x) {
            for (uint32_t c = 0; c < colourBytes; ++c) {
                *out++ = *colour++;
            }
            *out++ = *alpha++;
        }
    }
    return true;
}

bool IsPowerOfTwo(uint32_t value) {
    return value != 0 && (value & (value - 1)) == 0;
}

// The power of two nearest to value, the larger one on a tie (3 -> 4, 5 -> 4, 6 -> 8): the
// side the utility library itself would choose. Sides too large to double are kept.
uint32_t NearestPowerOfTwo(uint32_t value) {
    if (value == 0 || value > (1u << 30)) {
        return value;
    }
    uint32_t lower = 1;
    while (lower * 2 <= value) {
        lower *= 2;
    }
    return value - lower >= lower * 2 - value ? lower * 2 : lower;
}

// Builds every mipmap level of the bound texture from the image's rows; false when the
// utility library refuses the image. Image rows are packed with no padding, so pack and
// unpack alignment are 1 during the upload; the caller's values are put back afterwards.
// gluBuild2DMipmaps of Mesa's GLU 9.0 leaves the last row black when it rescales an image
// whose width alone is not a power of two, so such an image is first scaled across to a
// power-of-two width with gluScaleImage, which gets it right. Every other size goes to
// gluBuild2DMipmaps as it is.
bool BuildMipmaps(const Image& image, UploadFormat upload) {
    GLint savedUnpack = 4;
    GLint savedPack = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &savedUnpack);
    glGetIntegerv(GL_PACK_ALIGNMENT, &savedPack);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);

    const Image* source = &image;
    Image scaled;
    const uint32_t width = NearestPowerOfTwo(image.Width());
    const GLint height = static_cast<GLint>(image.Height());
    if (!IsPowerOfTwo(image.Width()) && IsPowerOfTwo(image.Height()) && width != image.Width() &&
        scaled.Create(width, image.Height(), image.BitsPerPixel()) &&
        gluScaleImage(upload.format, static_cast<GLint>(image.Width()), height, GL_UNSIGNED_BYTE,
                      image.Pixels(), static_cast<GLint>(width), height, GL_UNSIGNED_BYTE,
                      scaled.Pixels()) == 0) {
        source = &scaled;
    }
    const GLint result = gluBuild2DMipmaps(
        GL_TEXTURE_2D, upload.components, static_cast<GLint>(source->Width()),
        static_cast<GLint>(source->Height()), upload.format, GL_UNSIGNED_BYTE, source->Pixels());

    glPixelStorei(GL_UNPACK_ALIGNMENT, savedUnpack);
    glPixelStorei(GL_PACK_ALIGNMENT, savedPack);
    return result == 0;
}
}  // namespace

void Texture::Release() {
    if (handle == 0) {
        return;
    }
    const GLuint name = handle - 1;
    glDeleteTextures(1, &name);
    handle = 0;
}

void Texture::Bind() const {
    glBindTexture(GL_TEXTURE_2D, handle == 0 ? 0 : handle - 1);
}

bool Texture::Load(const char* fileName, ImageLoader loader) {
    Image image;
    if (!image.Load(fileName, loader)) {
        return false;
    }
    return Create(image, nullptr);
}

bool Texture::Create(const Image& image, const Image* alphaImage) {
    Release();
    GLuint name = 0;
    glGenTextures(1, &name);
    handle = name + 1;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_REPEAT));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(GL_REPEAT));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    static_cast<GLfloat>(GL_LINEAR_MIPMAP_NEAREST));

    const uint32_t depth = image.BitsPerPixel();
    if (image.Pixels() == nullptr) {
        Release();
        return false;
    }
    // The upload formats: with an alpha image, an 8-bit colour image becomes luminance and
    // alpha and a 24-bit one RGBA, their pixels interleaved with the alpha bytes; a 32-bit
    // image brings its own alpha and ignores the extra one. Without one, 8 bits are
    // luminance, 24 RGB and 32 RGBA. No other depth can be uploaded. Whatever fails, nothing
    // half-built is kept.
    Image interleaved;
    const Image* source = &image;
    UploadFormat upload{0, 0};
    if (alphaImage != nullptr && (depth == 8 || depth == 24)) {
        if (!AlphaFits(image, *alphaImage) || !Interleave(image, *alphaImage, &interleaved)) {
            Release();
            return false;
        }
        source = &interleaved;
        upload = depth == 8 ? UploadFormat{2, GL_LUMINANCE_ALPHA} : UploadFormat{4, GL_RGBA};
    } else if (depth == 8) {
        upload = {1, GL_LUMINANCE};
    } else if (depth == 24) {
        upload = {3, GL_RGB};
    } else if (depth == 32) {
        upload = {4, GL_RGBA};
    }
    if (upload.components == 0 || !BuildMipmaps(*source, upload)) {
        Release();
        return false;
    }
    return true;
}
