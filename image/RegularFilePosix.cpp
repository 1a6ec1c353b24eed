// Opening only regular files on POSIX systems: open without blocking, fstat, then stdio.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "image/RegularFile.h"

namespace {
// The open(2) flags that match a standard I/O mode string ("rb", "wb", "r+b", "ab"...).
int OpenFlags(const char* mode) {
    const bool update = std::strchr(mode, '+') != nullptr;
    switch (mode[0]) {
        case 'r':
            return update ? O_RDWR : O_RDONLY;
        case 'w':
            return (update ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC;
        case 'a':
            return (update ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
        default:
            return -1;
    }
}
}  // namespace

// fopen on a FIFO would wait for a writer (for ever, if none comes), and devices, sockets
// and directories are no files to read either: the file is opened without blocking, refused
// unless it is regular, and only then read normally.
std::FILE* OpenRegularFile(const char* fileName, const char* mode) {
    const int flags = OpenFlags(mode);
    if (flags < 0) {
        return nullptr;
    }
    const int fd = ::open(fileName, flags | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0) {
        return nullptr;
    }
    struct stat status;
    std::FILE* stream = nullptr;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0) {
        stream = ::fdopen(fd, mode);
    }
    if (stream == nullptr) {
        ::close(fd);
    }
    return stream;
}
