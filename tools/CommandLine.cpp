// The tools' command line, and where a tool finds the font it gives the demo.
#include "tools/CommandLine.h"

#include <GL/freeglut.h>  // the GLUT_KEY_* codes

#include <cstdlib>

#include "shell/FontLocation.h"

namespace {
constexpr int kLargestSide = 16384;
constexpr unsigned char kEscapeKey = 27;

struct NamedKey {
    const char* name;
    KeyStroke key;
};

const NamedKey kNamedKeys[] = {
    {"space", {false, ' '}},     {"escape", {false, kEscapeKey}}, {"esc", {false, kEscapeKey}},
    {"comma", {false, ','}},     {"left", {true, GLUT_KEY_LEFT}}, {"right", {true, GLUT_KEY_RIGHT}},
    {"up", {true, GLUT_KEY_UP}}, {"down", {true, GLUT_KEY_DOWN}},
};

bool ParseKeyName(const std::string& name, KeyStroke* key) {
    if (name.size() == 1 && name[0] > ' ' && name[0] < 127) {
        *key = KeyStroke{false, static_cast<unsigned char>(name[0])};
        return true;
    }
    for (const NamedKey& named : kNamedKeys) {
        if (name == named.name) {
            *key = named.key;
            return true;
        }
    }
    return false;
}

}  // namespace

bool ReadOptions(int argc, char** argv, const option* options, CommonOptions* common,
                 const OptionHandler& apply, std::string* error) {
    error->clear();
    for (int code; (code = getopt_long(argc, argv, "h", options, nullptr)) != -1;) {
        if (code == '?') {
            return false;  // getopt_long has named the option
        }
        if (code == kHelpOption.val || code == kXvfbOption.val) {
            (code == kHelpOption.val ? common->help : common->xvfb) = true;
            continue;
        }
        if (!apply(code, optarg, error)) {
            const option* named = options;
            while (named->val != code) {
                ++named;
            }
            if (error->empty()) {
                *error = "bad value \"" + std::string(optarg) + "\" for --" + named->name +
                         " (see --help)";
            }
            return false;
        }
    }
    if (optind < argc) {
        *error = "unexpected argument \"" + std::string(argv[optind]) + "\" (see --help)";
        return false;
    }
    return true;
}

bool ParseCount(const std::string& text, int* value, int limit) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos ||
        std::atoi(text.c_str()) > limit) {
        return false;
    }
    *value = std::atoi(text.c_str());
    return true;
}

bool ParseSize(const std::string& text, int* width, int* height) {
    const size_t x = text.find('x');
    if (x == std::string::npos) {
        return false;
    }
    int w = 0;
    int h = 0;
    if (!ParseCount(text.substr(0, x), &w, kLargestSide) ||
        !ParseCount(text.substr(x + 1), &h, kLargestSide) || w < 1 || h < 1) {
        return false;
    }
    *width = w;
    *height = h;
    return true;
}

bool ParseKeys(const std::string& text, std::vector<KeyStroke>* keys, std::string* error) {
    std::vector<KeyStroke> parsed;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string item = text.substr(start, end - start);
        int count = 1;
        const size_t star = item.find('*', 1);  // "*" alone is the key itself
        if (star != std::string::npos) {
            if (!ParseCount(item.substr(star + 1), &count, 1000) || count < 1) {
                *error = "bad repeat count in key \"" + item + "\"";
                return false;
            }
            item.resize(star);
        }
        KeyStroke key;
        if (!ParseKeyName(item, &key)) {
            *error = "unknown key \"" + item + "\"";
            return false;
        }
        parsed.insert(parsed.end(), static_cast<size_t>(count), key);
        start = end + 1;
    }
    *keys = std::move(parsed);
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
