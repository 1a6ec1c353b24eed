// Windows' screensaver switches. Windows itself sends "/s", "/p 1234" and "/c:1234"; other
// programs write "-S" or "/p:1234", so case, the dash and the colon are all accepted.
#include "winsaver/ScreensaverArguments.h"

#include <cctype>
#include <limits>

namespace {
// A whole decimal window handle, nothing else around it; 0 is no window.
bool ParseWindow(const std::string& text, uintptr_t* window) {
    if (text.empty() || text.size() > 20) {
        return false;
    }
    uintptr_t value = 0;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
        const uintptr_t digit = static_cast<uintptr_t>(c - '0');
        if (value > (std::numeric_limits<uintptr_t>::max() - digit) / 10) {
            return false;
        }
        value = value * 10 + digit;
    }
    *window = value;
    return true;
}
}  // namespace

bool ParseScreensaverArguments(const std::vector<std::string>& arguments,
                               ScreensaverRequest* request) {
    *request = ScreensaverRequest();
    if (arguments.empty()) {
        return true;
    }
    const std::string& first = arguments[0];
    if (first.size() < 2 || (first[0] != '/' && first[0] != '-')) {
        return false;
    }
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(first[1])));
    std::string window;
    if (first.size() > 2) {
        if (first[2] != ':' || arguments.size() > 1) {
            return false;
        }
        window = first.substr(3);
    } else if (arguments.size() == 2) {
        window = arguments[1];
    } else if (arguments.size() > 2) {
        return false;
    }
    switch (letter) {
        case 's':
            request->mode = ScreensaverMode::kFullScreen;
            return window.empty() && arguments.size() == 1;
        case 'p':
            request->mode = ScreensaverMode::kPreview;
            return ParseWindow(window, &request->window) && request->window != 0;
        case 'c':
            request->mode = ScreensaverMode::kSettings;
            return window.empty() || ParseWindow(window, &request->window);
        default:
            return false;
    }
}
