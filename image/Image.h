// An in-memory raster: rows from the top of the picture down, channels red, green, blue
// (alpha), no padding between rows. Loader functions fill it from files.
#pragma once

#include <cstdint>

class Image;

// Fills image from the named file; true when it did.
using ImageLoader = bool (*)(const char* fileName, Image* image);

class Image {
public:
    Image();
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Releases the pixels and zeroes the sizes; does nothing when there are no pixels.
    virtual void Free();
    // Frees, then allocates width * height pixels of bitsPerPixel (not cleared).
    bool Create(uint32_t width, uint32_t height, uint32_t bitsPerPixel);
    bool Load(const char* fileName, ImageLoader loader) { return loader(fileName, this); }

    uint32_t BitsPerPixel() const { return bitsPerPixel; }
    uint32_t Width() const { return width; }
    uint32_t Height() const { return height; }
    uint32_t Stride() const { return stride; }
    uint8_t* Pixels() const { return pixels; }

private:
    uint32_t bitsPerPixel;
    uint32_t width;
    uint32_t height;
    uint32_t stride;
    uint32_t size;
    uint8_t* pixels;
};
