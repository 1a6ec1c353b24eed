// The tools' command line: the options every tool shares, the walk over the arguments, and
// the parsers of the values their own options take.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "driver/DemoSession.h"  // KeyStroke

// The options every tool has.
struct CommonOptions {
    bool help = false;  // --help or -h: show the usage and do nothing else
    bool xvfb = false;  // --xvfb: draw on a private Xvfb server
};

// Takes the value of one of a tool's own options; false for a bad value (it may set *error).
using OptionHandler =
    std::function<bool(const std::string& option, const std::string& value, std::string* error)>;

// Walks the arguments: --help/-h and --xvfb set *common; each option named in valued takes
// the next argument, handed to apply. Anything else is an unknown option. False with a
// one-line *error.
bool WalkOptions(int argc, char** argv, const std::vector<std::string>& valued,
                 CommonOptions* common, const OptionHandler& apply, std::string* error);

// Parses a comma-separated list of key names into strokes. A name is a single character
// ("l", "?", "<"), one of space, escape, left, right, up, down, comma, or either followed by
// *COUNT to repeat it ("l*6"). False, with the reason in *error, for an unknown name.
bool ParseKeys(const std::string& text, std::vector<KeyStroke>* keys, std::string* error);
// Parses "WIDTHxHEIGHT" with both sides from 1 to 16384.
bool ParseSize(const std::string& text, int* width, int* height);
// Parses a whole non-negative decimal number that fits an int.
bool ParseCount(const std::string& text, int* value);

// The font the tool gives the demo (--font): requested when not empty (it must exist), else
// font.bmp in the working directory, else the copy beside the executable, else "" (text is
// then drawn as white blocks, as the demo draws it without a font).
bool FindFont(const std::string& requested, std::string* path, std::string* error);
