// Reads an uncompressed BMP file of 8, 24 or 32 bits per pixel into an Image, top row first,
// colours turned from the file's blue-green-red order into red-green-blue. Sizes taken from
// the file are checked against 32-bit arithmetic and against the file's length before use.
#include "image/BmpLoader.h"

#include <cstdint>
#include <cstdlib>  // malloc and free: an allocation that reports failure instead of throwing
#include <memory>

#include "image/BinaryFile.h"

namespace {
struct FreeDeleter {
    void operator()(uint8_t* block) const { std::free(block); }
};
using PixelBuffer = std::unique_ptr<uint8_t[], FreeDeleter>;

// The two headers' fields that the loader uses; fields that could not be read stay 0.
struct BmpHeader {
    uint32_t offBits = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
};

// Reads both headers; false for a wrong signature or a file that ends within the file header.
bool ReadHeader(BinaryFile& file, BmpHeader* header) {
    uint8_t type0 = 0;
    uint8_t type1 = 0;
    uint32_t fileSize = 0;
    uint32_t reserved = 0;
    file.ReadByte(type0).ReadByte(type1).ReadDword(fileSize).ReadDword(reserved);
    file.ReadDword(header->offBits);
    if (type0 != 'B' || type1 != 'M' || file.AtEnd()) {
        return false;
    }
    uint32_t infoSize = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t planes = 0;
    uint32_t sizeImage = 0;
    uint32_t xPelsPerMeter = 0;
    uint32_t yPelsPerMeter = 0;
    uint32_t colorsUsed = 0;
    uint32_t colorsImportant = 0;
    file.ReadDword(infoSize).ReadDword(width).ReadDword(height).ReadWord(planes);
    file.ReadWord(header->bitCount).ReadDword(header->compression).ReadDword(sizeImage);
    file.ReadDword(xPelsPerMeter).ReadDword(yPelsPerMeter);
    file.ReadDword(colorsUsed).ReadDword(colorsImportant);
    header->width = static_cast<int32_t>(width);
    header->height = static_cast<int32_t>(height);
    return true;
}

// Only uncompressed files of a positive width, a height other than 0 (whose magnitude fits in
// 32 signed bits) and 8, 24 or 32 bits per pixel are read.
bool IsSupported(const BmpHeader& header) {
    return header.compression == 0 && header.height != 0 && header.height != INT32_MIN &&
           header.width > 0 &&
           (header.bitCount == 8 || header.bitCount == 24 || header.bitCount == 32);
}

// The byte length of the file, or -1 when it cannot be learnt. Leaves the position anywhere.
int64_t FileLength(BinaryFile& file) {
    if (!file.SeekFromEnd(0)) {
        return -1;
    }
    return file.Tell();
}

// Copies one file row into one image row, turning blue-green-red(-alpha) into
// red-green-blue(-alpha); 8-bit palette indices are kept as they are.
void ConvertRow(const uint8_t* source, uint8_t* destination, uint32_t width,
                uint32_t bytesPerPixel) {
    if (bytesPerPixel == 1) {
        for (uint32_t x = 0; x < width; ++x) {
            destination[x] = source[x];
        }
        return;
    }
    for (uint32_t x = 0; x < width; ++x) {
        destination[0] = source[2];
        destination[1] = source[1];
        destination[2] = source[0];
        if (bytesPerPixel == 4) {
            destination[3] = source[3];
        }
        source += bytesPerPixel;
        destination += bytesPerPixel;
    }
}
}  // namespace

bool LoadBmp(const char* fileName, Image* image) {
    if (image == nullptr) {
        return false;
    }
    BinaryFile file;
    if (!file.Open(fileName, "rb")) {
        return false;
    }
    BmpHeader header;
    if (!ReadHeader(file, &header) || !IsSupported(header)) {
        return false;
    }

    const uint64_t width = static_cast<uint64_t>(header.width);
    const uint64_t rows = header.height < 0 ? -static_cast<int64_t>(header.height)
                                            : static_cast<int64_t>(header.height);
    const uint64_t bytesPerPixel = header.bitCount / 8u;
    const uint64_t pixelBytesPerRow = width * bytesPerPixel;
    const uint64_t rowLength = (pixelBytesPerRow + 3) / 4 * 4;
    const uint64_t dataLength = rowLength * rows;
    if (rowLength > UINT32_MAX || dataLength > UINT32_MAX) {
        return false;
    }
    // A header may claim any size; the pixel data must be there, between bfOffBits and the
    // end of the file, before a buffer of that size is asked for.
    const int64_t fileLength = FileLength(file);
    if (fileLength < 0 || header.offBits > static_cast<uint64_t>(fileLength) ||
        dataLength > static_cast<uint64_t>(fileLength) - header.offBits) {
        return false;
    }
    if (!file.Seek(static_cast<int32_t>(header.offBits))) {
        return false;
    }

    PixelBuffer data(static_cast<uint8_t*>(std::malloc(dataLength)));
    if (!data) {
        return false;
    }
    if (!file.Read(data.get(), static_cast<uint32_t>(dataLength))) {
        return false;
    }
    if (!image->Create(static_cast<uint32_t>(width), static_cast<uint32_t>(rows),
                       header.bitCount)) {
        return false;
    }
    // A positive height stores the picture bottom-up: the last file row is the top row.
    const bool bottomUp = header.height > 0;
    for (uint64_t i = 0; i < rows; ++i) {
        const uint64_t fileRow = bottomUp ? rows - 1 - i : i;
        ConvertRow(data.get() + fileRow * rowLength, image->Pixels() + i * image->Stride(),
                   static_cast<uint32_t>(width), static_cast<uint32_t>(bytesPerPixel));
    }
    file.Close();
    return true;
}
