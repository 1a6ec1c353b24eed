// A small reader round a standard I/O stream for binary files read by exact byte counts.
// Its end-of-file flag lets a caller make a run of reads and test once whether it ran off the end.
#pragma once

#include <cstdint>
#include <cstdio>

class BinaryFile {
public:
    BinaryFile();
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // Closes any open stream first, then opens fileName with the standard I/O mode. Only a
    // regular file opens: a FIFO, device, socket or directory fails at once.
    bool Open(const char* fileName, const char* mode);
    void Close();
    // One fread of one element of size bytes; true only if it was read whole.
    bool Read(void* buffer, uint32_t size);
    // Little-endian reads; failures show only through AtEnd.
    BinaryFile& ReadByte(uint8_t& value);
    BinaryFile& ReadWord(uint16_t& value);
    BinaryFile& ReadDword(uint32_t& value);
    bool Write(const void* buffer, uint32_t size);
    bool Seek(int32_t offset);
    bool SeekRelative(int32_t offset);
    bool SeekFromEnd(int32_t offset);
    int32_t Tell();
    bool AtEnd() const { return atEnd; }

private:
    std::FILE* stream;
    bool atEnd;
};
