// Option values: counts, sizes and key names.
#include "tools/OptionValues.h"

#include <GL/glut.h>  // the GLUT_KEY_* codes, in the browser build too

#include <cstdlib>
#include <map>
#include <sstream>

namespace {
constexpr int kLargestSide = 16384;
constexpr unsigned char kEscapeKey = 27;

// The keys that have a name, beside the printable characters that stand for themselves.
const std::map<std::string, KeyStroke> kNamedKeys = {
    {"space", {false, ' '}},     {"escape", {false, kEscapeKey}}, {"esc", {false, kEscapeKey}},
    {"comma", {false, ','}},     {"left", {true, GLUT_KEY_LEFT}}, {"right", {true, GLUT_KEY_RIGHT}},
    {"up", {true, GLUT_KEY_UP}}, {"down", {true, GLUT_KEY_DOWN}},
};
}  // namespace

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
