// GLU 9's mipmap arithmetic for unsigned bytes: scale_internal for gluScaleImage (on 16-bit
// values, bytes widened by 257 and narrowed by a shift of 8), halveImage_ubyte and
// halve1Dimage_ubyte for the levels.
#include "web/gl/Mipmaps.h"

#include <cmath>
#include <cstring>

namespace tavikgl {

namespace {
// GLU's scale_internal on 16-bit components, tightly packed.
void ScaleWide(int components, int widthIn, int heightIn, const uint16_t* in, int widthOut,
               int heightOut, uint16_t* out) {
    const float convy = static_cast<float>(heightIn) / heightOut;
    const float convx = static_cast<float>(widthIn) / widthOut;
    const float halfconvx = convx / 2;
    const float halfconvy = convy / 2;
    for (int i = 0; i < heightOut; i++) {
        const float centreY = convy * (i + 0.5f);
        const float lowy = heightIn > heightOut ? centreY - halfconvy : centreY - 0.5f;
        const float highy = heightIn > heightOut ? centreY + halfconvy : centreY + 0.5f;
        for (int j = 0; j < widthOut; j++) {
            const float centreX = convx * (j + 0.5f);
            const float lowx = widthIn > widthOut ? centreX - halfconvx : centreX - 0.5f;
            const float highx = widthIn > widthOut ? centreX + halfconvx : centreX + 0.5f;
            float totals[4] = {0, 0, 0, 0};
            float area = 0.0f;
            float y = lowy;
            int yint = static_cast<int>(std::floor(y));
            while (y < highy) {
                const int yindex = (yint + heightIn) % heightIn;
                const float ypercent = highy < yint + 1 ? highy - y : yint + 1 - y;
                float x = lowx;
                int xint = static_cast<int>(std::floor(x));
                while (x < highx) {
                    const int xindex = (xint + widthIn) % widthIn;
                    const float xpercent = highx < xint + 1 ? highx - x : xint + 1 - x;
                    const float percent = xpercent * ypercent;
                    area += percent;
                    const int at = (xindex + yindex * widthIn) * components;
                    for (int k = 0; k < components; k++) {
                        totals[k] += in[at + k] * percent;
                    }
                    xint++;
                    x = static_cast<float>(xint);
                }
                yint++;
                y = static_cast<float>(yint);
            }
            const int at = (j + i * widthOut) * components;
            for (int k = 0; k < components; k++) {
                out[at + k] = static_cast<uint16_t>((totals[k] + 0.5f) / area);
            }
        }
    }
}

// One level down: 2 by 2 averages, or pairs once a side is 1. Tightly packed.
void Halve(int components, int width, int height, const uint8_t* in, uint8_t* out) {
    const int row = width * components;
    if (width == 1 || height == 1) {
        const int step = width == 1 ? row : components;
        const int count = (width == 1 ? height : width) / 2;
        for (int i = 0; i < count; ++i) {
            for (int k = 0; k < components; ++k) {
                const uint8_t* p = in + 2 * i * step + k;
                *out++ = static_cast<uint8_t>((p[0] + p[step]) / 2);
            }
        }
        return;
    }
    for (int i = 0; i < height / 2; ++i) {
        for (int j = 0; j < width / 2; ++j) {
            for (int k = 0; k < components; ++k) {
                const uint8_t* p = in + 2 * i * row + 2 * j * components + k;
                *out++ = static_cast<uint8_t>(
                    (p[0] + p[components] + p[row] + p[row + components] + 2) / 4);
            }
        }
    }
}
}  // namespace

int ComponentsOf(GLenum format) {
    switch (format) {
        case GL_ALPHA:
        case GL_LUMINANCE:
            return 1;
        case GL_LUMINANCE_ALPHA:
            return 2;
        case GL_RGB:
            return 3;
        case GL_RGBA:
            return 4;
        default:
            return 0;
    }
}

size_t RowBytes(int width, int components, int alignment) {
    const size_t bytes = static_cast<size_t>(width) * components;
    const size_t a = alignment > 0 ? static_cast<size_t>(alignment) : 1;
    return (bytes + a - 1) / a * a;
}

void ScaleImage(int components, int widthIn, int heightIn, const uint8_t* in, int unpackAlignment,
                int widthOut, int heightOut, uint8_t* out, int packAlignment) {
    std::vector<uint16_t> wideIn(static_cast<size_t>(widthIn) * heightIn * components);
    std::vector<uint16_t> wideOut(static_cast<size_t>(widthOut) * heightOut * components);
    const size_t inRow = RowBytes(widthIn, components, unpackAlignment);
    for (int y = 0; y < heightIn; ++y) {
        for (int x = 0; x < widthIn * components; ++x) {
            wideIn[static_cast<size_t>(y) * widthIn * components + x] =
                static_cast<uint16_t>(in[y * inRow + x] * 257);
        }
    }
    ScaleWide(components, widthIn, heightIn, wideIn.data(), widthOut, heightOut, wideOut.data());
    const size_t outRow = RowBytes(widthOut, components, packAlignment);
    for (int y = 0; y < heightOut; ++y) {
        for (int x = 0; x < widthOut * components; ++x) {
            out[y * outRow + x] = static_cast<uint8_t>(
                wideOut[static_cast<size_t>(y) * widthOut * components + x] >> 8);
        }
    }
}

int NearestPowerOfTwo(int value) {
    int power = 1;
    for (unsigned rest = static_cast<unsigned>(value);; rest >>= 1, power *= 2) {
        if (rest <= 1) {
            return power;
        }
        if (rest == 3) {
            return power * 4;
        }
    }
}

void BuildMipmaps(int components, int width, int height, const uint8_t* pixels, int unpackAlignment,
                  int maxSize, const LevelUpload& upload) {
    int levelWidth = NearestPowerOfTwo(width);
    int levelHeight = NearestPowerOfTwo(height);
    while ((levelWidth > maxSize || levelHeight > maxSize) && (levelWidth > 1 || levelHeight > 1)) {
        levelWidth = levelWidth > 1 ? levelWidth / 2 : 1;
        levelHeight = levelHeight > 1 ? levelHeight / 2 : 1;
    }
    std::vector<uint8_t> level(static_cast<size_t>(levelWidth) * levelHeight * components);
    if (levelWidth == width && levelHeight == height) {
        const size_t inRow = RowBytes(width, components, unpackAlignment);
        for (int y = 0; y < height; ++y) {
            std::memcpy(&level[static_cast<size_t>(y) * width * components], pixels + y * inRow,
                        static_cast<size_t>(width) * components);
        }
    } else {
        ScaleImage(components, width, height, pixels, unpackAlignment, levelWidth, levelHeight,
                   level.data(), 1);
    }
    std::vector<uint8_t> next;
    for (int index = 0;; ++index) {
        upload(index, levelWidth, levelHeight, level.data());
        if (levelWidth == 1 && levelHeight == 1) {
            return;
        }
        const int nextWidth = levelWidth > 1 ? levelWidth / 2 : 1;
        const int nextHeight = levelHeight > 1 ? levelHeight / 2 : 1;
        next.resize(static_cast<size_t>(nextWidth) * nextHeight * components);
        Halve(components, levelWidth, levelHeight, level.data(), next.data());
        level.swap(next);
        levelWidth = nextWidth;
        levelHeight = nextHeight;
    }
}

}  // namespace tavikgl
