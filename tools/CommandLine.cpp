// The tools' command line, and where a tool finds the font it gives the demo.
#include "tools/CommandLine.h"

#include <errno.h>  // program_invocation_short_name

#include <cstdio>

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

bool ChooseFont(const std::string& requested, std::string* path, std::string* error) {
    if (!requested.empty() && FindFont({requested}).empty()) {
        *error = requested + ": cannot read the font";
        return false;
    }
    *path = !requested.empty() ? requested
                               : FindFont({"font.bmp", ExecutableDirectory() + "/font.bmp"});
    return true;
}
