// Helpers of the image tests: BMP files assembled byte by byte, temporary files that remove
// themselves, and the number of open file descriptors (to see that a load closed its file).
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void PutWord(Bytes* out, uint32_t value) {
    out->push_back(static_cast<uint8_t>(value));
    out->push_back(static_cast<uint8_t>(value >> 8));
}

inline void PutDword(Bytes* out, uint32_t value) {
    PutWord(out, value & 0xFFFFu);
    PutWord(out, value >> 16);
}

// A BMP file as the tests want it: size, depth and palette size settable, the rows given in
// file order (first stored row first) as their pixel bytes only. Each row is padded to a
// multiple of 4 bytes with kPadByte, so a loader that copies padding shows it.
struct BmpBuilder {
    static constexpr uint8_t kPadByte = 0xEE;

    int32_t width = 1;
    int32_t height = 1;
    uint16_t bitCount = 24;
    uint32_t paletteEntries = 0;  // 4 bytes each, between the headers and the pixels
    std::vector<Bytes> rows;

    BmpBuilder(int32_t w, int32_t h, uint16_t bits) : width(w), height(h), bitCount(bits) {}

    BmpBuilder& Row(Bytes pixels) {
        rows.push_back(std::move(pixels));
        return *this;
    }

    Bytes Build() const {
        Bytes data;
        for (const Bytes& row : rows) {
            data.insert(data.end(), row.begin(), row.end());
            for (size_t n = row.size(); n % 4 != 0; ++n) {
                data.push_back(kPadByte);
            }
        }
        const uint32_t headerBytes = 14 + 40 + paletteEntries * 4;
        Bytes out;
        out.push_back('B');
        out.push_back('M');
        PutDword(&out, static_cast<uint32_t>(headerBytes + data.size()));
        PutDword(&out, 0);
        PutDword(&out, headerBytes);
        PutDword(&out, 40);
        PutDword(&out, static_cast<uint32_t>(width));
        PutDword(&out, static_cast<uint32_t>(height));
        PutWord(&out, 1);
        PutWord(&out, bitCount);
        PutDword(&out, 0);  // no compression
        PutDword(&out, static_cast<uint32_t>(data.size()));
        PutDword(&out, 2835);
        PutDword(&out, 2835);
        PutDword(&out, paletteEntries);
        PutDword(&out, 0);
        for (uint32_t i = 0; i < paletteEntries; ++i) {
            // A palette that maps index i to a colour unlike i, so applying it would show.
            out.insert(out.end(), {static_cast<uint8_t>(255 - i), 0x11, 0x22, 0});
        }
        out.insert(out.end(), data.begin(), data.end());
        return out;
    }
};

// A file in the temporary directory holding the given bytes, removed when this goes away.
class TempFile {
public:
    explicit TempFile(const Bytes& contents) {
        char name[] = "/tmp/tavik-image-test-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) {
            close(fd);
            path = name;
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(contents.data()),
                       static_cast<std::streamsize>(contents.size()));
        }
    }
    ~TempFile() {
        if (!path.empty()) {
            std::remove(path.c_str());
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const char* Path() const { return path.c_str(); }

private:
    std::string path;
};

// Entries of /proc/self/fd: a load that leaves its file open raises this by one.
inline int OpenDescriptorCount() {
    const std::filesystem::directory_iterator entries("/proc/self/fd");
    return static_cast<int>(std::distance(begin(entries), end(entries)));
}

inline Bytes ReadWholeFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
