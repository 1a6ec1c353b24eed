// The font's places relative to the executable: beside it; two levels up for the installed
// <prefix>/libexec/xscreensaver/tavik-saver; one level up for <prefix>/bin.
#include "saver/FontLocation.h"

#include <unistd.h>

#include <climits>

namespace {
const char* const kPlaces[] = {"/font.bmp", "/../../share/tavik/font.bmp",
                               "/../share/tavik/font.bmp"};
}  // namespace

std::string ExecutableDirectory() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        return "";
    }
    const std::string executable(path, static_cast<size_t>(length));
    const size_t slash = executable.rfind('/');
    return slash == std::string::npos ? "" : executable.substr(0, slash);
}

std::string FindFont(const std::string& executableDirectory) {
    const std::string base = executableDirectory.empty() ? "." : executableDirectory;
    for (const char* place : kPlaces) {
        const std::string candidate = base + place;
        if (access(candidate.c_str(), R_OK) == 0) {
            return candidate;
        }
    }
    return base + kPlaces[0];
}
