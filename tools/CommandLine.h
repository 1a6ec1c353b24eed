// The tools' command line: getopt_long over each tool's table with the options every tool
// shares (the values their own options take are parsed by OptionValues), and the font a tool
// hands on.
#pragma once

#include <getopt.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/OptionValues.h"

// The options every tool has, beside its own.
struct CommonOptions {
    bool help = false;  // --help or -h: show the usage and do nothing else
    bool xvfb = false;  // --xvfb: draw on a private Xvfb server
    std::string font;   // --font PATH: the font given to the demo (see ChooseFont)
};
// What ReadOptions returns when the tool is to run; otherwise it returns the exit status.
constexpr int kRun = -1;
constexpr int kUsageError = 2;

// Takes the value of one of a tool's own options, by its code in the table; false for a bad
// value (it may set *error).
using OptionHandler = std::function<bool(int code, const std::string& value, std::string* error)>;

// Reads the command line with getopt_long over the tool's options (codes other than 'h', 'x'
// and 'n') and the common ones. Prints help, then the common options, for --help and returns 0;
// says what is wrong in one line on standard error and returns kUsageError for a bad option or
// value; kRun otherwise.
int ReadOptions(int argc, char** argv, std::vector<option> options, const char* help,
                CommonOptions* common, const OptionHandler& apply);
// The one-line complaint about the command line; returns kUsageError.
int UsageError(const std::string& message);

// The font the tool gives the demo (--font): requested when not empty (it must be readable),
// else font.bmp in the working directory, else the copy beside the executable, else "" (text
// is then drawn as white blocks, as the demo draws it without a font).
bool ChooseFont(const std::string& requested, std::string* path, std::string* error);
