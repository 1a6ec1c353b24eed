// tavik-snapshot: renders the demo in a real GLUT window with a deterministic clock and writes
// chosen frames as PNG files; the same arguments give the same pictures on the same renderer.
// Run with --help for the options.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "driver/DemoSession.h"
#include "driver/DemoWindow.h"
#include "driver/Picture.h"
#include "tools/CommandLine.h"

namespace {
constexpr int kUsageError = 2;
constexpr int kLastFrameLimit = 1000000;
constexpr int kLargestStepMs = 1000000;

const char kHelp[] =
    "Usage: tavik-snapshot [options]\n"
    "Renders the Tavik demo (its own start-up and frame step, in a real GLUT window) with a\n"
    "deterministic clock and writes chosen frames as PNG files. Frame N is drawn with the\n"
    "clock at N times the step; frame 0 is the first frame after start-up.\n"
    "\n"
    "  --size WxH          window size in pixels (default 640x480); must fit on the screen\n"
    "  --step-ms MS        clock step per frame in milliseconds (default 16)\n"
    "  --frame N           write frame N (repeatable; default: frame 0 alone)\n"
    "  --frames A-B        write every frame from A to B, for an animation (repeatable)\n"
    "  --key FRAME:KEYS    type KEYS through the demo's key handlers just before frame\n"
    "                      FRAME is drawn (repeatable). KEYS is a comma-separated list of\n"
    "                      key names: a single character (l, w, ?, <, ...), or space,\n"
    "                      escape, left, right, up, down, comma; NAME*COUNT repeats one,\n"
    "                      e.g. --key 0:l*6 for letterbox 6, --key 10:?,space\n"
    "  --out PATTERN       output file names, with one printf-style %d conversion for the\n"
    "                      frame number, e.g. out/shot-%04d.png (default snapshot-%04d.png);\n"
    "                      without a conversion only one frame may be written\n"
    "  --font PATH         the font given to the demo as font.bmp (default: font.bmp in the\n"
    "                      working directory, else the copy beside this program)\n"
    "  --xvfb              draw on a private Xvfb server started for this run instead of\n"
    "                      the display named by DISPLAY\n"
    "  --help              show this text\n"
    "\n"
    "Escape starts the demo's fade-out; when it ends the demo, no later frame is drawn and\n"
    "the program fails if a requested frame is left unwritten. Each written file's path is\n"
    "printed on standard output. Exit status: 0 done, 1 failed, 2 bad options.\n";

struct KeyAt {
    int frame;
    std::vector<KeyStroke> keys;
};

struct Options {
    int width = 640;
    int height = 480;
    int stepMs = 16;
    std::vector<int> frames;
    std::vector<KeyAt> keys;
    std::string pattern = "snapshot-%04d.png";
    std::string font;
    CommonOptions common;
};

// The output name pattern: text around at most one %[0]WIDTHd conversion; %% is a percent
// sign. Formatted here rather than by printf so that no other conversion can reach it.
class NamePattern {
public:
    bool Parse(const std::string& text, std::string* error) {
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '%') {
                (conversion ? after : before).push_back(text[i]);
                continue;
            }
            if (i + 1 < text.size() && text[i + 1] == '%') {
                (conversion ? after : before).push_back('%');
                ++i;
                continue;
            }
            size_t j = i + 1;
            zeroPad = j < text.size() && text[j] == '0';
            while (j < text.size() && text[j] >= '0' && text[j] <= '9') {
                width = width * 10 + (text[j] - '0');
                if (width > 12) {
                    *error = "the width in --out is too large";
                    return false;
                }
                ++j;
            }
            if (conversion || j >= text.size() || text[j] != 'd') {
                *error = "--out takes one %d conversion (e.g. shot-%04d.png) and no other";
                return false;
            }
            conversion = true;
            i = j;
        }
        if (before.empty() && after.empty()) {
            *error = "--out needs a file name";
            return false;
        }
        return true;
    }
    bool HasConversion() const { return conversion; }
    std::string Name(int frame) const {
        if (!conversion) {
            return before;
        }
        std::string digits = std::to_string(frame);
        if (static_cast<int>(digits.size()) < width) {
            digits.insert(0, static_cast<size_t>(width) - digits.size(), zeroPad ? '0' : ' ');
        }
        return before + digits + after;
    }

private:
    std::string before;
    std::string after;
    bool conversion = false;
    bool zeroPad = false;
    int width = 0;
};

bool ParseRange(const std::string& text, std::vector<int>* frames) {
    const size_t dash = text.find('-');
    int first = 0;
    int last = 0;
    if (dash == std::string::npos || !ParseCount(text.substr(0, dash), &first) ||
        !ParseCount(text.substr(dash + 1), &last) || first > last || last > kLastFrameLimit) {
        return false;
    }
    for (int frame = first; frame <= last; ++frame) {
        frames->push_back(frame);
    }
    return true;
}

bool ParseKeyAt(const std::string& text, KeyAt* keyAt, std::string* error) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || !ParseCount(text.substr(0, colon), &keyAt->frame) ||
        keyAt->frame > kLastFrameLimit) {
        *error = "--key takes FRAME:KEYS, e.g. 0:l*6, not \"" + text + "\"";
        return false;
    }
    return ParseKeys(text.substr(colon + 1), &keyAt->keys, error);
}

// Fills options from the command line; false with a one-line reason in *error.
bool ParseOptions(int argc, char** argv, Options* options, std::string* error) {
    const auto apply = [options](const std::string& option, const std::string& value,
                                 std::string* reason) {
        if (option == "--size") {
            return ParseSize(value, &options->width, &options->height);
        }
        if (option == "--step-ms") {
            return ParseCount(value, &options->stepMs) && options->stepMs <= kLargestStepMs;
        }
        if (option == "--frame") {
            int frame = 0;
            const bool good = ParseCount(value, &frame) && frame <= kLastFrameLimit;
            options->frames.push_back(frame);
            return good;
        }
        if (option == "--frames") {
            return ParseRange(value, &options->frames);
        }
        if (option == "--key") {
            KeyAt keyAt;
            if (!ParseKeyAt(value, &keyAt, reason)) {
                return false;
            }
            options->keys.push_back(keyAt);
            return true;
        }
        (option == "--out" ? options->pattern : options->font) = value;
        return true;
    };
    if (!WalkOptions(argc, argv,
                     {"--size", "--step-ms", "--frame", "--frames", "--key", "--out", "--font"},
                     &options->common, apply, error)) {
        return false;
    }
    if (options->common.help) {
        return true;
    }
    if (options->frames.empty()) {
        options->frames.push_back(0);
    }
    return true;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "tavik-snapshot: %s\n", message.c_str());
    return 1;
}
}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    NamePattern pattern;
    if (!ParseOptions(argc, argv, &options, &error) || !pattern.Parse(options.pattern, &error)) {
        std::fprintf(stderr, "tavik-snapshot: %s\n", error.c_str());
        return kUsageError;
    }
    if (options.common.help) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    int lastFrame = 0;
    for (const int frame : options.frames) {
        lastFrame = frame > lastFrame ? frame : lastFrame;
    }
    std::vector<bool> wanted(static_cast<size_t>(lastFrame) + 1, false);
    size_t wantedCount = 0;
    for (const int frame : options.frames) {
        wantedCount += wanted[static_cast<size_t>(frame)] ? 0 : 1;
        wanted[static_cast<size_t>(frame)] = true;
    }
    if (wantedCount > 1 && !pattern.HasConversion()) {
        std::fprintf(stderr, "tavik-snapshot: --out needs a %%d conversion for several frames\n");
        return kUsageError;
    }
    for (const KeyAt& keyAt : options.keys) {
        if (keyAt.frame > lastFrame) {
            std::fprintf(stderr, "tavik-snapshot: keys at frame %d come after the last frame\n",
                         keyAt.frame);
            return kUsageError;
        }
    }

    std::string font;
    if (!FindFont(options.font, &font, &error)) {
        return Fail(error);
    }
    if (font.empty()) {
        std::fprintf(stderr, "tavik-snapshot: no font.bmp found; text is drawn as blocks\n");
    }
    DemoWindow window;
    DemoSession session;
    if (options.common.xvfb && !window.StartVirtualDisplay(options.width, options.height, &error)) {
        return Fail(error);
    }
    if (!window.Open(argv[0], &error) || !session.Start(font, AfterEnd::Stop, &error) ||
        !ResizeWindow(options.width, options.height, &error)) {
        return Fail(error);
    }

    size_t written = 0;
    for (int frame = 0; frame <= lastFrame; ++frame) {
        // Keys arrive between frames, while the clock still shows the previous frame's time.
        for (const KeyAt& keyAt : options.keys) {
            if (keyAt.frame == frame) {
                for (const KeyStroke& key : keyAt.keys) {
                    session.Type(key);
                }
            }
        }
        session.SetClock(static_cast<uint32_t>(static_cast<uint64_t>(frame) *
                                               static_cast<uint64_t>(options.stepMs)));
        const bool running = session.Frame();
        if (wanted[static_cast<size_t>(frame)]) {
            const std::string name = pattern.Name(frame);
            if (!WritePng(name, ReadFrame(), &error)) {
                return Fail(error);
            }
            std::printf("%s\n", name.c_str());
            ++written;
        }
        session.Swap();
        PumpEvents();
        if (!running) {
            break;
        }
    }
    if (written < wantedCount) {
        return Fail("the demo faded out and ended; " + std::to_string(wantedCount - written) +
                    " requested frame(s) not written");
    }
    return 0;
}
