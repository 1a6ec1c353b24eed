// Command-line rules of the screensaver, in the manner of xscreensaver's hacks: -root,
// -window, -window-id ID, -delay MICROSECONDS, -fps, each also with two dashes.
#include "saver/SaverOptions.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {
// Longest delay accepted: one minute between frames.
constexpr unsigned long kLongestDelay = 60000000;
constexpr unsigned long kLargestWindowId = 0xffffffffUL;

// "-name" or "--name" with the given name.
bool IsOption(const char* argument, const char* name) {
    if (argument[0] != '-') {
        return false;
    }
    const char* rest = argument[1] == '-' ? argument + 2 : argument + 1;
    return std::strcmp(rest, name) == 0;
}

// A whole unsigned number in the given base, nothing before or after it (strtoull alone
// would take leading blanks and a sign).
bool ParseUnsigned(const char* text, int base, unsigned long largest, unsigned long* value) {
    const int first = static_cast<unsigned char>(text[0]);
    if (base == 16 ? !std::isxdigit(first) : !std::isdigit(first)) {
        return false;
    }
    // strtoull would read a second "0x" in base 16.
    if (base == 16 && (text[1] == 'x' || text[1] == 'X')) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text, &end, base);
    if (errno != 0 || *end != '\0' || parsed > largest) {
        return false;
    }
    *value = static_cast<unsigned long>(parsed);
    return true;
}
}  // namespace

bool ParseWindowId(const char* text, unsigned long* id) {
    if (text == nullptr) {
        return false;
    }
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    unsigned long value = 0;
    if (!ParseUnsigned(hex ? text + 2 : text, hex ? 16 : 10, kLargestWindowId, &value) ||
        value == 0) {
        return false;
    }
    *id = value;
    return true;
}

bool ParseSaverOptions(int argc, const char* const* argv, const char* xscreensaverWindow,
                       SaverOptions* options, std::string* error) {
    *options = SaverOptions();
    bool root = false;
    bool ownWindow = false;
    bool windowIdGiven = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (IsOption(argument, "help") || IsOption(argument, "h")) {
            options->help = true;
        } else if (IsOption(argument, "fps")) {
            options->showFrameRate = true;
        } else if (IsOption(argument, "root")) {
            root = true;
        } else if (IsOption(argument, "window")) {
            ownWindow = true;
        } else if (IsOption(argument, "window-id")) {
            if (!ParseWindowId(value, &options->windowId)) {
                *error = std::string("-window-id needs a window id (decimal or 0x-hex), not '") +
                         (value ? value : "") + "'";
                return false;
            }
            windowIdGiven = true;
            ++i;
        } else if (IsOption(argument, "delay")) {
            unsigned long delay = 0;
            if (value == nullptr || !ParseUnsigned(value, 10, kLongestDelay, &delay)) {
                *error = std::string("-delay needs microseconds from 0 to 60000000, not '") +
                         (value ? value : "") + "'";
                return false;
            }
            options->delayMicroseconds = static_cast<uint32_t>(delay);
            ++i;
        } else {
            *error = std::string("unknown option '") + argument + "'";
            return false;
        }
    }
    if (windowIdGiven) {
        options->target = SaverTarget::GivenWindow;
    } else if (ownWindow) {
        options->target = SaverTarget::OwnWindow;
    } else if (xscreensaverWindow != nullptr && xscreensaverWindow[0] != '\0') {
        if (!ParseWindowId(xscreensaverWindow, &options->windowId)) {
            *error =
                std::string("XSCREENSAVER_WINDOW is not a window id: '") + xscreensaverWindow + "'";
            return false;
        }
        options->target = SaverTarget::GivenWindow;
    } else if (root) {
        options->target = SaverTarget::RootWindow;
    }
    return true;
}

const char* SaverUsage() {
    return "usage: tavik-saver [-root | -window | -window-id ID] [-delay MICROSECONDS] [-fps]\n"
           "  Tavik's rings and stars as a screensaver hack.\n"
           "  -root               draw on the root window (or on XSCREENSAVER_WINDOW if set)\n"
           "  -window             draw in a 640x480 window of its own (the default)\n"
           "  -window-id ID       draw into an existing window (decimal or 0x-hex id)\n"
           "  -delay MICROSECONDS pause between frames (default 20000; 0 = no pause)\n"
           "  -fps                show the frame-rate readout\n"
           "  --help              show this text\n"
           "XSCREENSAVER_WINDOW names the window to draw into when neither -window-id\n"
           "nor -window is given. SIGTERM, SIGINT or SIGHUP end it.\n";
}
