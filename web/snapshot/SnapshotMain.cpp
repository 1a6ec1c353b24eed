// snapshot.html's program: the demo started as the page starts it, then frames 0 to N drawn
// on tavik-snapshot's deterministic clock (frame F at F times the step), each frame's keys
// typed through the demo's own handlers just before it. Frame N stays on the canvas and the
// page's title becomes "done", or "error: <reason>" for a bad parameter or a failed start.
// With timed=1 every frame is finished (glFinish, and a pixel read back) and timed with the
// page's clock (performance.now), and the times are handed to the page as tavikFrameTimes.
#include <GL/freeglut.h>
#include <emscripten.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "shell/AppHooks.h"
#include "shell/Clock.h"
#include "shell/Keyboard.h"
#include "shell/Shell.h"
#include "tools/OptionValues.h"

namespace {
constexpr int kLastFrame = 1000000;
constexpr int kLargestStepMs = 1000000;

// The page's query parameters, as tavik-snapshot's options of the same names.
struct Options {
    int width = 640;
    int height = 480;
    int stepMs = 16;
    int frame = 0;                               // the last frame, left on the canvas
    std::map<int, std::vector<KeyStroke>> keys;  // typed just before their frame
    bool timed = false;
};

// Takes one parameter, "name=value"; false, with the reason in *error, for a bad one.
bool Apply(const std::string& parameter, Options* options, std::string* error) {
    const size_t equals = parameter.find('=');
    const std::string name = parameter.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : parameter.substr(equals + 1);
    const size_t colon = value.find(':');
    int keyFrame = 0;
    bool good = false;
    if (name == "size") {
        good = ParseSize(value, &options->width, &options->height);
    } else if (name == "step-ms") {
        good = ParseCount(value, &options->stepMs, kLargestStepMs);
    } else if (name == "frame") {
        good = ParseCount(value, &options->frame, kLastFrame);
    } else if (name == "timed") {
        good = value == "0" || value == "1";
        options->timed = value == "1";
    } else if (name == "key") {
        if (colon == std::string::npos ||
            !ParseCount(value.substr(0, colon), &keyFrame, kLastFrame)) {
            *error = "key takes FRAME:KEYS, e.g. 0:l*6, not \"" + value + "\"";
            return false;
        }
        return ParseKeys(value.substr(colon + 1), &options->keys[keyFrame], error);
    } else {
        *error = "unknown parameter \"" + name + "\"";
        return false;
    }
    if (!good) {
        *error = "bad value \"" + value + "\" for " + name;
    }
    return good;
}

int ends = 0;

void RecordEnd(int) {
    ++ends;
}

void SetTitle(const std::string& title) {
    EM_ASM({ document.title = UTF8ToString($0); }, title.c_str());
}

// The demo's start-up as AppMain runs it, without the main loop: the frames are drawn here,
// never by GLUT's idle and display callbacks on the browser's clock (the browser calls neither
// before main returns, so taking them away after AppInit is soon enough).
bool StartDemo(int* argc, char** argv) {
    if (!PreInit()) {
        return false;
    }
    CreateMainWindow(argc, argv);
    endProcess = RecordEnd;
    const bool started = StartInMainWindow();
    glutIdleFunc(nullptr);
    glutDisplayFunc([] {});
    return started;
}

void Type(const KeyStroke& key) {
    if (key.special) {
        OnDemoSpecialKey(key.code, 0, 0);
    } else {
        OnDemoKey(static_cast<unsigned char>(key.code), 0, 0);
    }
}

void PublishFrameTimes(const std::vector<double>& times) {
    EM_ASM({ window.tavikFrameTimes = Array.from(HEAPF64.subarray($0 >> 3, ($0 >> 3) + $1)); },
           times.data(), times.size());
}
}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    for (int i = 1; i < argc; ++i) {
        if (!Apply(argv[i], &options, &error)) {
            SetTitle("error: " + error);
            return 1;
        }
    }
    if (!options.keys.empty() && options.keys.rbegin()->first > options.frame) {
        SetTitle("error: keys after the last frame");
        return 1;
    }
    if (!StartDemo(&argc, argv)) {
        SetTitle("error: the demo did not start");
        return 1;
    }
    // As tavik-snapshot settles its window: the start-up's full screen gives way to a window of
    // the requested size, which the page makes the canvas's size, one pixel to one CSS pixel.
    glutReshapeWindow(options.width, options.height);
    std::vector<double> times;
    for (int frame = 0; frame <= options.frame && ends == 0; ++frame) {
        // Keys arrive between frames, while the clock still shows the previous frame's time.
        for (const KeyStroke& key : options.keys[frame]) {
            Type(key);
        }
        const double start = emscripten_get_now();
        ElapsedMs = static_cast<uint32_t>(static_cast<uint64_t>(frame) *
                                          static_cast<uint64_t>(options.stepMs));
        AppFrame();
        if (options.timed) {
            // Chromium's WebGL finish returns before the drawing is done (frames then seem to
            // take 0.1 ms); reading a pixel back has to wait for it.
            glFinish();
            GLubyte pixel[4];
            glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
            times.push_back(emscripten_get_now() - start);
        }
    }
    PublishFrameTimes(times);
    SetTitle(ends == 0 ? "done" : "error: the demo faded out and ended before the last frame");
    return 0;
}
