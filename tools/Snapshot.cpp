// tavik-snapshot: renders the demo in a real GLUT window with a deterministic clock and writes
// chosen frames as PNG files; the same arguments give the same pictures on the same renderer.
// Run with --help for the options.
#include <GL/freeglut.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "driver/DemoSession.h"
#include "driver/DemoWindow.h"
#include "driver/Picture.h"
#include "tools/CommandLine.h"

namespace {
constexpr int kLastFrame = 1000000;
constexpr int kLargestStepMs = 1000000;

const char kHelp[] =
    "Usage: tavik-snapshot [options]\n"
    "Renders the Tavik demo (its own start-up and frame step) in a real GLUT window with a\n"
    "deterministic clock, frame N at N times the step (frame 0: the first after start-up),\n"
    "and writes chosen frames as PNG files, printing each file's path. Once Escape's fade-out\n"
    "has ended the demo no frame is drawn, and a requested frame left unwritten fails the run.\n"
    "\n"
    "  --size WxH        window size (default 640x480); must fit on the screen\n"
    "  --step-ms MS      clock step per frame in milliseconds (default 16)\n"
    "  --frame N         write frame N (repeatable; default: frame 0 alone)\n"
    "  --frames A-B      write every frame from A to B (repeatable)\n"
    "  --key FRAME:KEYS  type KEYS through the demo's key handlers just before frame FRAME\n"
    "                    (repeatable): names separated by commas, each a character (l, w, ?,\n"
    "                    <) or space, escape, left, right, up, down, comma; NAME*COUNT\n"
    "                    repeats one (--key 0:l*6 for letterbox 6, --key 10:?,space)\n"
    "  --out PATTERN     file names with one %d for the frame (default snapshot-%04d.png);\n"
    "                    without it only one frame may be written\n";

const std::vector<option> kOptions = {
    {"size", required_argument, nullptr, 's'},  {"step-ms", required_argument, nullptr, 't'},
    {"frame", required_argument, nullptr, 'f'}, {"frames", required_argument, nullptr, 'F'},
    {"key", required_argument, nullptr, 'k'},   {"out", required_argument, nullptr, 'o'}};

struct Options {
    int width = 640;
    int height = 480;
    int stepMs = 16;
    std::set<int> frames;                        // each frame to write, once
    std::map<int, std::vector<KeyStroke>> keys;  // typed just before their frame
    std::string pattern = "snapshot-%04d.png";
    CommonOptions common;
};

// Takes one option's value into options; false for a bad value.
bool Apply(int code, const std::string& value, Options* options, std::string* error) {
    int first = 0;
    int last = 0;
    const size_t split = value.find(code == 'F' ? '-' : ':');
    const bool firstCounted =
        split != std::string::npos && ParseCount(value.substr(0, split), &first, kLastFrame);
    const bool counted = firstCounted && ParseCount(value.substr(split + 1), &last, kLastFrame);
    switch (code) {
        case 's':
            return ParseSize(value, &options->width, &options->height);
        case 't':
            return ParseCount(value, &options->stepMs, kLargestStepMs);
        case 'f':
            if (!ParseCount(value, &first, kLastFrame)) {
                return false;
            }
            options->frames.insert(first);
            return true;
        case 'F':
            for (int frame = first; counted && frame <= last; ++frame) {
                options->frames.insert(frame);
            }
            return counted && first <= last;
        case 'k':
            if (!firstCounted) {
                *error = "--key takes FRAME:KEYS, e.g. 0:l*6, not \"" + value + "\"";
                return false;
            }
            return ParseKeys(value.substr(split + 1), &options->keys[first], error);
        default:
            options->pattern = value;
            return true;
    }
}

// The output name pattern: text with %% for a percent sign and at most one %d conversion (a 0
// flag and a width up to 12 allowed), so that snprintf can fill in the frame and no other
// conversion reaches it. The group holds the conversion and the text after it, if any.
const std::regex kPattern("(?:[^%]|%%)*(%0?(?:1[0-2]|[0-9])?d(?:[^%]|%%)*)?");

int Fail(const std::string& message) {
    std::fprintf(stderr, "tavik-snapshot: %s\n", message.c_str());
    return 1;
}
}  // namespace

int main(int argc, char** argv) {
    Options options;
    const auto apply = [&options](int code, const std::string& value, std::string* error) {
        return Apply(code, value, &options, error);
    };
    const int usage = ReadOptions(argc, argv, kOptions, kHelp, &options.common, apply);
    if (usage != kRun) {
        return usage;
    }
    std::smatch pattern;
    if (options.pattern.empty() || !std::regex_match(options.pattern, pattern, kPattern)) {
        return UsageError(
            "--out takes a file name with at most one %d conversion, e.g. "
            "shot-%04d.png, at most 12 wide");
    }
    if (options.frames.empty()) {
        options.frames.insert(0);
    }
    const int lastFrame = *options.frames.rbegin();
    if (options.frames.size() > 1 && !pattern[1].matched) {
        return UsageError("--out needs a %d conversion for several frames");
    }
    if (!options.keys.empty() && options.keys.rbegin()->first > lastFrame) {
        return UsageError("keys at frame " + std::to_string(options.keys.rbegin()->first) +
                          " come after the last frame");
    }

    std::string font;
    std::string error;
    DemoWindow window;
    DemoSession session;
    if (!ChooseFont(options.common.font, &font, &error) ||
        (options.common.xvfb &&
         !window.StartVirtualDisplay(options.width, options.height, &error)) ||
        !window.Open(argv[0], &error) || !session.Start(font, AfterEnd::Stop, &error) ||
        !ResizeWindow(options.width, options.height, &error)) {
        return Fail(error);
    }
    if (font.empty()) {
        std::fprintf(stderr, "tavik-snapshot: no font.bmp found; text is drawn as blocks\n");
    }
    size_t written = 0;
    bool running = true;
    for (int frame = 0; frame <= lastFrame && running; ++frame) {
        // Keys arrive between frames, while the clock still shows the previous frame's time.
        for (const KeyStroke& key : options.keys[frame]) {
            session.Type(key);
        }
        session.SetClock(static_cast<uint32_t>(static_cast<uint64_t>(frame) *
                                               static_cast<uint64_t>(options.stepMs)));
        running = session.Frame();
        if (options.frames.count(frame) != 0) {
            char name[4096];
            std::snprintf(name, sizeof name, options.pattern.c_str(), frame);
            if (!WritePng(name, ReadFrame(), &error)) {
                return Fail(error);
            }
            std::printf("%s\n", name);
            ++written;
        }
        glutSwapBuffers();
        PumpEvents();
    }
    if (written < options.frames.size()) {
        return Fail("the demo faded out and ended; " +
                    std::to_string(options.frames.size() - written) +
                    " requested frame(s) not written");
    }
    return 0;
}
