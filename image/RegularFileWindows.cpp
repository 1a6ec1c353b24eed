// Opening only regular files on Windows: CreateFileW, which fails at once on a directory
// and on a busy pipe, then a check that the handle is a disk file and no directory, and only
// then a C runtime stream on the handle.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "image/RegularFile.h"

namespace {
// What CreateFileW and the C runtime need for one standard I/O mode string.
struct OpenRequest {
    DWORD access;
    DWORD disposition;
    int runtimeFlags;
};

bool RequestForMode(const char* mode, OpenRequest& request) {
    const bool update = std::strchr(mode, '+') != nullptr;
    const DWORD readWrite = GENERIC_READ | GENERIC_WRITE;
    switch (mode[0]) {
        case 'r':
            request = {update ? readWrite : GENERIC_READ, OPEN_EXISTING,
                       update ? _O_RDWR : _O_RDONLY};
            return true;
        case 'w':
            request = {update ? readWrite : GENERIC_WRITE, CREATE_ALWAYS,
                       update ? _O_RDWR : _O_WRONLY};
            return true;
        case 'a':
            request = {update ? readWrite : GENERIC_WRITE, OPEN_ALWAYS,
                       (update ? _O_RDWR : _O_WRONLY) | _O_APPEND};
            return true;
        default:
            return false;
    }
}

// File names are UTF-8 inside Tavik on every platform; Windows takes them as UTF-16. A name
// that is not valid UTF-8 fails rather than opening some other file.
bool WideName(const char* fileName, std::vector<wchar_t>& wide) {
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, fileName, -1, nullptr, 0);
    if (length <= 0) {
        return false;
    }
    wide.resize(static_cast<size_t>(length));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, fileName, -1, wide.data(), length) ==
           length;
}

bool IsRegularFile(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION information;
    return GetFileType(handle) == FILE_TYPE_DISK &&
           GetFileInformationByHandle(handle, &information) != 0 &&
           (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
}  // namespace

std::FILE* OpenRegularFile(const char* fileName, const char* mode) {
    OpenRequest request;
    std::vector<wchar_t> wideName;
    if (!RequestForMode(mode, request) || !WideName(fileName, wideName)) {
        return nullptr;
    }
    // Without FILE_FLAG_BACKUP_SEMANTICS a directory does not open at all.
    const HANDLE handle =
        CreateFileW(wideName.data(), request.access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    request.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    if (!IsRegularFile(handle)) {
        CloseHandle(handle);
        return nullptr;
    }
    // From here the runtime owns the handle: closing the descriptor or stream closes it.
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), request.runtimeFlags);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* stream = _fdopen(fd, mode);
    if (stream == nullptr) {
        _close(fd);
    }
    return stream;
}
