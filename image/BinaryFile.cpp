// The binary file reader: exact-size reads from a standard I/O stream, little-endian word
// reads assembled byte by byte, and an end-of-file flag that only a failed read can change.
#include "image/BinaryFile.h"

#include <climits>

#include "image/RegularFile.h"

namespace {
// fseek with one of SEEK_SET, SEEK_CUR, SEEK_END; no stream means failure.
bool SeekStream(std::FILE* stream, int32_t offset, int origin) {
    return stream != nullptr && std::fseek(stream, offset, origin) == 0;
}
}  // namespace

BinaryFile::BinaryFile() : stream(nullptr), atEnd(true) {}

BinaryFile::~BinaryFile() {
    Close();
}

bool BinaryFile::Open(const char* fileName, const char* mode) {
    Close();
    std::FILE* opened = OpenRegularFile(fileName, mode);
    if (opened == nullptr) {
        return false;
    }
    stream = opened;
    atEnd = false;
    return true;
}

void BinaryFile::Close() {
    if (stream == nullptr) {
        return;
    }
    std::fclose(stream);
    stream = nullptr;
    atEnd = true;
}

bool BinaryFile::Read(void* buffer, uint32_t size) {
    if (stream == nullptr) {
        return false;
    }
    // One element of size bytes: fread counts it only when every byte arrived. A zero-byte
    // read yields no element and so fails too.
    if (std::fread(buffer, size, 1, stream) == 1) {
        return true;
    }
    atEnd = std::feof(stream) != 0;
    return false;
}

BinaryFile& BinaryFile::ReadByte(uint8_t& value) {
    uint8_t byte;
    if (Read(&byte, 1)) {
        value = byte;
    }
    return *this;
}

BinaryFile& BinaryFile::ReadWord(uint16_t& value) {
    uint8_t bytes[2];
    if (Read(bytes, sizeof bytes)) {
        value = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
    }
    return *this;
}

BinaryFile& BinaryFile::ReadDword(uint32_t& value) {
    uint8_t bytes[4];
    if (Read(bytes, sizeof bytes)) {
        value = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    }
    return *this;
}

bool BinaryFile::Write(const void* buffer, uint32_t size) {
    if (stream == nullptr) {
        return false;
    }
    return std::fwrite(buffer, size, 1, stream) == 1;
}

bool BinaryFile::Seek(int32_t offset) {
    return SeekStream(stream, offset, SEEK_SET);
}

bool BinaryFile::SeekRelative(int32_t offset) {
    return SeekStream(stream, offset, SEEK_CUR);
}

bool BinaryFile::SeekFromEnd(int32_t offset) {
    return SeekStream(stream, offset, SEEK_END);
}

int32_t BinaryFile::Tell() {
    if (stream == nullptr) {
        return -1;
    }
    const long position = std::ftell(stream);
    // A position that a signed 32-bit value cannot hold is reported as an error, not cut.
    if (position < 0 || position > INT32_MAX) {
        return -1;
    }
    return static_cast<int32_t>(position);
}
