// The tools' command line, and where a tool finds the font it gives the demo.
#include "tools/CommandLine.h"

#include <GL/freeglut.h>  // the GLUT_KEY_* codes
#include <errno.h>        // program_invocation_short_name

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "shell/FontLocation.h"

namespace {
const char kCommonHelp[] =
    "  --font PATH       the font given to the demo as font.bmp (default: font.bmp in the\n"
    "                    working directory, else the copy beside this program)\n"
    "  --xvfb            draw on a private Xvfb server instead of the display named by\n"
    "                    DISPLAY\n"
    "  --help            show this text\n"
    "\n"
    "Exit status: 0 done, 1 failed, 2 bad options.\n";
constexpr int kLargestSide = 16384;
constexpr unsigned char kEscapeKey = 27;

// The keys that have a name, beside the printable characters that stand for themselves.
const std::map<std::string, KeyStroke> kNamedKeys = {
    {"space", {false, ' '}},     {"escape", {false, kEscapeKey}}, {"esc", {false, kEscapeKey}},
    {"comma", {false, ','}},     {"left", {true, GLUT_KEY_LEFT}}, {"right", {true, GLUT_KEY_RIGHT}},
    {"up", {true, GLUT_KEY_UP}}, {"down", {true, GLUT_KEY_DOWN}},
};
}  // namespace

int UsageError(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, message.c_str());
    return kUsageError;
}

int ReadOptions(int argc, char** argv, std::vector<option> options, const char* help,
                CommonOptions* common, const OptionHandler& apply) {
    options.insert(options.end(), {{"help", no_argument, nullptr, 'h'},
                                   {"xvfb", no_argument, nullptr, 'x'},
                                   {"font", required_argument, nullptr, 'n'},
                                   {nullptr, 0, nullptr, 0}});
    int index = 0;  // of the long option found, which the tool's own options all are
    for (int code; (code = getopt_long(argc, argv, "h", options.data(), &index)) != -1;) {
        std::string error;
        if (code == '?') {
            return kUsageError;  // getopt_long has named the option
        }
        if (code == 'h' || code == 'x') {
            (code == 'h' ? common->help : common->xvfb) = true;
        } else if (code == 'n') {
            common->font = optarg;
        } else if (!apply(code, optarg, &error)) {
            return UsageError(!error.empty() ? error
                                             : "bad value \"" + std::string(optarg) + "\" for --" +
                                                   options[index].name + " (see --help)");
        }
    }
    if (optind < argc) {
        return UsageError("unexpected argument \"" + std::string(argv[optind]) + "\" (see --help)");
    }
    if (common->help) {
        std::printf("%s%s", help, kCommonHelp);
        return 0;
    }
    return kRun;
}

bool ParseCount(const std::string& text, int* value, int limit) {
    const bool digits = !text.empty() && text.size() <= 9 &&
                        text.find_first_not_of("0123456789") == std::string::npos;
    if (!digits || std::atoi(text.c_str()) > limit) {
        return false;
    }
    *value = std::atoi(text.c_str());
    return true;
}

bool ParseSize(const std::string& text, int* width, int* height) {
    const size_t x = text.find('x');
    return x != std::string::npos && ParseCount(text.substr(0, x), width, kLargestSide) &&
           ParseCount(text.substr(x + 1), height, kLargestSide) && *width >= 1 && *height >= 1;
}

bool ParseKeys(const std::string& text, std::vector<KeyStroke>* keys, std::string* error) {
    // The comma added at the end makes an empty last name (of "l," or "") an unknown key.
    std::istringstream items(text + ",");
    for (std::string item; std::getline(items, item, ',');) {
        int count = 1;
        const size_t star = item.find('*', 1);  // "*" alone is the key itself
        if (star != std::string::npos &&
            (!ParseCount(item.substr(star + 1), &count, 1000) || count < 1)) {
            *error = "bad repeat count in key \"" + item + "\"";
            return false;
        }
        const std::string name = item.substr(0, star);
        const auto named = kNamedKeys.find(name);
        const bool printable = name.size() == 1 && name[0] > ' ' && name[0] < 127;
        if (!printable && named == kNamedKeys.end()) {
            *error = "unknown key \"" + item + "\"";
            return false;
        }
        const KeyStroke key = printable ? KeyStroke{false, name[0]} : named->second;
        keys->insert(keys->end(), static_cast<size_t>(count), key);
    }
    return true;
}

bool ChooseFont(const std::string& requested, std::string* path, std::string* error) {
    if (!requested.empty() && FindFont({requested}).empty()) {
        *error = requested + ": cannot read the font";
        return false;
    }
    *path = !requested.empty() ? requested
                               : FindFont({"font.bmp", ExecutableDirectory() + "/font.bmp"});
    return true;
}
