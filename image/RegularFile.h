// Opening a path as a standard I/O stream only when it names a regular file, from the
// platform's file (RegularFilePosix.cpp, RegularFileWindows.cpp).
#pragma once

#include <cstdio>

// Opens fileName, UTF-8 on every platform, with a standard I/O mode ("rb", "wb", "r+b",
// "ab"...). A FIFO, pipe, device, socket or directory fails at once, without waiting for a
// peer; null on failure.
std::FILE* OpenRegularFile(const char* fileName, const char* mode);
