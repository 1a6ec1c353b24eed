// libFuzzer target of the BMP loader: each input becomes the contents of an in-memory file,
// LoadBmp reads it through the file's /proc/self/fd path, and a loaded image must agree with
// the headers it came from and hold every byte its sizes promise.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "image/BmpLoader.h"

namespace {
// Where the sum of every pixel goes, so that reading them all cannot be optimised away.
volatile unsigned pixelSum = 0;

// A little-endian header field of length bytes at offset; 0 when the input ends within it,
// as the loader leaves a field that it could not read.
uint32_t Field(const uint8_t* data, size_t size, size_t offset, size_t length) {
    if (offset + length > size) {
        return 0;
    }
    uint32_t value = 0;
    for (size_t i = 0; i < length; ++i) {
        value |= static_cast<uint32_t>(data[offset + i]) << (8 * i);
    }
    return value;
}

// Ends the run with a report that libFuzzer keeps as a crash, so a broken invariant counts
// like a sanitizer's finding.
void Require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

// Writes the input into the run's one in-memory file and returns that file's path.
std::string WriteInput(const uint8_t* data, size_t size) {
    static const int fd = memfd_create("tavik-bmp-fuzz", 0);
    Require(fd >= 0 && ftruncate(fd, 0) == 0);
    Require(pwrite(fd, data, size, 0) == static_cast<ssize_t>(size));
    return "/proc/self/fd/" + std::to_string(fd);
}

// What a loaded image must satisfy, checked against the input's own header fields. A file may
// end within its info header and still load when bfOffBits points at enough bytes before
// its end: the fields it lacks read as 0, and its pixel rows may overlap the headers.
void CheckLoadedImage(const Image& image, const uint8_t* data, size_t size) {
    const int32_t width = static_cast<int32_t>(Field(data, size, 18, 4));
    const int32_t height = static_cast<int32_t>(Field(data, size, 22, 4));
    const uint32_t bits = Field(data, size, 28, 2);
    const uint32_t offBits = Field(data, size, 10, 4);
    Require(Field(data, size, 30, 4) == 0);  // uncompressed, or the field is missing
    Require(bits == 8 || bits == 24 || bits == 32);
    Require(image.BitsPerPixel() == bits);
    Require(width > 0 && image.Width() == static_cast<uint32_t>(width));
    const uint64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
    Require(rows > 0 && image.Height() == rows);
    const uint64_t bytesPerPixel = bits / 8;
    Require(image.Stride() == image.Width() * bytesPerPixel);
    Require(image.Pixels() != nullptr);

    // The file held all the pixel rows the header promised.
    const uint64_t rowLength = (image.Width() * bytesPerPixel + 3) / 4 * 4;
    Require(offBits <= size && rowLength * rows <= size - offBits);

    // Every byte of the buffer is there (AddressSanitizer sees a short one), and the top
    // row's first pixel came from the right file row in the right channel order.
    unsigned sum = 0;
    for (uint64_t i = 0; i < image.Stride() * rows; ++i) {
        sum += image.Pixels()[i];
    }
    const uint64_t topFileRow = height > 0 ? rows - 1 : 0;
    const uint8_t* source = data + offBits + topFileRow * rowLength;
    const uint8_t* pixel = image.Pixels();
    if (bits == 8) {
        Require(pixel[0] == source[0]);
    } else {
        Require(pixel[0] == source[2] && pixel[1] == source[1] && pixel[2] == source[0]);
        if (bits == 32) {
            Require(pixel[3] == source[3]);
        }
    }
    pixelSum = sum;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = WriteInput(data, size);
    Image image;
    if (LoadBmp(path.c_str(), &image)) {
        CheckLoadedImage(image, data, size);
    } else {
        Require(image.Pixels() == nullptr);
    }
    return 0;
}
