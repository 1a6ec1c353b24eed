// The in-memory raster: one block of pixel bytes, rows packed with no padding, sized by
// Create and released by Free and the destructor.
#include "image/Image.h"

#include <cstdlib>  // malloc and free: an allocation that reports failure instead of throwing

Image::Image() : bitsPerPixel(0), width(0), height(0), stride(0), size(0), pixels(nullptr) {}

Image::~Image() {
    Image::Free();
}

void Image::Free() {
    if (pixels == nullptr) {
        return;
    }
    std::free(pixels);
    pixels = nullptr;
    size = 0;
    bitsPerPixel = 0;
    stride = 0;
    height = 0;
    width = 0;
}

bool Image::Create(uint32_t newWidth, uint32_t newHeight, uint32_t newBitsPerPixel) {
    Free();
    if (newWidth == 0 || newHeight == 0 || newBitsPerPixel == 0) {
        return false;
    }
    // Sizes that do not fit in 32 bits would wrap round to a buffer shorter than its rows.
    const uint64_t bytesPerPixel = (static_cast<uint64_t>(newBitsPerPixel) + 7) >> 3;
    const uint64_t newStride = newWidth * bytesPerPixel;
    const uint64_t newSize = newStride * newHeight;
    if (newStride > UINT32_MAX || newSize > UINT32_MAX) {
        return false;
    }
    width = newWidth;
    stride = static_cast<uint32_t>(newStride);
    height = newHeight;
    bitsPerPixel = newBitsPerPixel;
    size = static_cast<uint32_t>(newSize);
    pixels = static_cast<uint8_t*>(std::malloc(size));
    return pixels != nullptr;
}
