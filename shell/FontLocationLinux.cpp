// The font's places on Linux: the executable's directory through /proc/self/exe, which is
// Linux's own, and the places tried in order. Tavik.scr carries its font inside.
#include "shell/FontLocation.h"

#include <unistd.h>

#include <climits>

std::string ExecutableDirectory() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    const std::string executable(path, length > 0 ? static_cast<size_t>(length) : 0);
    const size_t slash = executable.rfind('/');
    return slash == std::string::npos ? "." : executable.substr(0, slash);
}

std::string FindFont(const std::vector<std::string>& places) {
    for (const std::string& place : places) {
        if (access(place.c_str(), R_OK) == 0) {
            return place;
        }
    }
    return "";
}
