// tavik-bench: times the demo's frames (AppFrame, swap, glFinish) in its own GLUT window beside
// an empty frame (clear and swap), checks that the demo's own per-frame code allocates nothing
// (AllocationCounter), and prints the figures as a table. Run with --help for the options.
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "bench/AllocationCounter.h"
#include "driver/DemoSession.h"
#include "driver/DemoWindow.h"
#include "shell/Settings.h"
#include "shell/WindowSize.h"
#include "tools/CommandLine.h"

namespace {
constexpr int kCountedFrames = 20;  // frames run with the allocation counter on, untimed
constexpr int kLargestCount = 1000000;

const char kHelp[] =
    "Usage: tavik-bench [options]\n"
    "Times the Tavik demo's frames (its frame step, the buffer swap and glFinish) in a real\n"
    "GLUT window with a deterministic clock, beside an empty frame (clear and swap), and\n"
    "prints per case the frame rate, the median, 95th and 99th percentile frame times, the\n"
    "empty frame's median, the ratio of the two medians, and the heap allocations per frame\n"
    "made by the demo's own code and by everything else (GLUT, the OpenGL libraries). Each\n"
    "case starts the demo afresh; a progress line per case goes to standard error. A private\n"
    "Xvfb's screen is 1024x768, or larger for --size.\n"
    "\n"
    "  --size WxH|full   window size (repeatable; default 640x480 and full, the screen's size)\n"
    "  --frames N        timed frames per case (default 300)\n"
    "  --warmup N        untimed frames before them (default 30)\n"
    "  --step-ms MS      clock step per frame in milliseconds (default 16)\n"
    "  --preset NAME     case (repeatable; default: default): default, tess50 (> typed 30\n"
    "                    times), help (?), points (w twice), hyperspace (space, from the end\n"
    "                    of the warm-up on), or all of them\n";

const std::vector<option> kOptions = {{"size", required_argument, nullptr, 's'},
                                      {"frames", required_argument, nullptr, 'f'},
                                      {"warmup", required_argument, nullptr, 'w'},
                                      {"step-ms", required_argument, nullptr, 't'},
                                      {"preset", required_argument, nullptr, 'p'}};

struct Preset {
    const char* name;
    const char* keys;  // typed before the first frame
    // Hyperspace from the end of the warm-up on, held against the random rule. It cannot
    // start with the first frame: without one cleared frame the depth buffer hides everything.
    bool holdHyperspace;
};

const Preset kPresets[] = {
    {"default", "", false},   {"tess50", ">*30", false}, {"help", "?", false},
    {"points", "w*2", false}, {"hyperspace", "", true},
};

struct Options {
    CommonOptions common;
    std::vector<std::pair<int, int>> sizes;  // 0 x 0: the screen's size ("full")
    std::vector<const Preset*> presets;
    int frames = 300;
    int warmup = 30;
    int stepMs = 16;
};

// Takes one option's value into options; false for a bad value.
bool Apply(int code, const std::string& value, Options* options) {
    bool known = false;
    switch (code) {
        case 's':
            options->sizes.emplace_back(0, 0);
            return value == "full" ||
                   ParseSize(value, &options->sizes.back().first, &options->sizes.back().second);
        case 'f':
            return ParseCount(value, &options->frames, kLargestCount) && options->frames >= 1;
        case 'w':
            return ParseCount(value, &options->warmup, kLargestCount);
        case 't':
            return ParseCount(value, &options->stepMs, kLargestCount);
        default:  // 'p'
            for (const Preset& preset : kPresets) {
                std::vector<const Preset*>& chosen = options->presets;
                const bool named = value == "all" || value == preset.name;
                if (named && std::find(chosen.begin(), chosen.end(), &preset) == chosen.end()) {
                    chosen.push_back(&preset);
                }
                known = known || named;
            }
            return known;
    }
}

// Frame times summed up: the rate over their sum and nearest-rank percentiles, in ms.
struct FrameTimes {
    double fps;
    double median;
    double p95;
    double p99;
};

FrameTimes Summarise(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const auto rank = [&times](double share) {
        const size_t index = static_cast<size_t>(share * times.size() + 0.999999);
        return times[std::min(std::max<size_t>(index, 1), times.size()) - 1];
    };
    const double total = std::accumulate(times.begin(), times.end(), 0.0);
    return FrameTimes{1000.0 * times.size() / total, rank(0.50), rank(0.95), rank(0.99)};
}

// One demo frame: what the shell's display callback does, and glFinish so that the
// renderer's queued work is inside the measurement.
void DemoFrame(DemoSession& session) {
    session.Frame();
    glutSwapBuffers();
    glFinish();
}

// The timed frames alone run through this function, so that a profiler can collect exactly
// them: valgrind --tool=callgrind --toggle-collect='*TimedDemoFrame*'. The empty statement
// after the frame keeps glFinish from becoming a tail jump, which a profiler would count
// outside this function.
__attribute__((noipa)) void TimedDemoFrame(DemoSession& session) {
    DemoFrame(session);
    asm volatile("" ::: "memory");
}

// A demo frame with the allocation counter on for AppFrame alone.
void CountedDemoFrame(DemoSession& session) {
    CountAllocations(true);
    session.Frame();
    CountAllocations(false);
    glutSwapBuffers();
    glFinish();
}

// The empty frame: a clear of colour and depth and a swap, in the same window.
__attribute__((noinline)) void EmptyFrame(DemoSession&) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
    glFinish();
}

// The benchmark from start-up to the table.
struct Bench {
    Options options;
    DemoWindow window;
    DemoSession session;
    std::string font;
    std::vector<std::string> rows;  // of the table, a case at one window size each
    uint32_t clockMs = 0;           // the clock of the next frame
    std::string error;

    // The demo started afresh in a window of the given size, its clock at 0.
    bool Restart(int width, int height) {
        clockMs = 0;
        return session.Start(font, AfterEnd::Stop, &error) && ResizeWindow(width, height, &error);
    }

    // count frames on the clock, with hyperspace held on if asked; their times in ms.
    std::vector<double> Run(int count, void (*frame)(DemoSession&), bool hold = false) {
        std::vector<double> times;
        for (int i = 0; i < count; ++i, clockMs += static_cast<uint32_t>(options.stepMs)) {
            session.SetClock(clockMs);
            settings.clearEachFrame = hold ? 0 : settings.clearEachFrame;
            const auto start = std::chrono::steady_clock::now();
            frame(session);
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            times.push_back(took.count());
            PumpEvents();
        }
        return times;
    }
};

// One preset in a fresh session: its keys, the warm-up, frames with the allocation counter
// on, then the timed frames.
bool RunCase(Bench& bench, const Preset& preset, int width, int height, double emptyMedian) {
    std::fprintf(stderr, "tavik-bench: %dx%d %s\n", width, height, preset.name);
    std::vector<KeyStroke> keys;
    if (!bench.Restart(width, height) ||
        (preset.keys[0] != '\0' && !ParseKeys(preset.keys, &keys, &bench.error))) {
        return false;
    }
    for (const KeyStroke& key : keys) {
        bench.session.Type(key);
    }
    const bool hold = preset.holdHyperspace;
    bench.Run(hold ? std::max(bench.options.warmup, 1) : bench.options.warmup, DemoFrame);
    if (hold) {
        bench.session.Type(KeyStroke{false, ' '});
    }
    bench.Run(kCountedFrames, CountedDemoFrame, hold);
    const AllocationCount allocations = TakeAllocationCount();
    const FrameTimes demo = Summarise(bench.Run(bench.options.frames, TimedDemoFrame, hold));
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    char row[256];
    std::snprintf(row, sizeof row, "%-10s %-10s %8.1f %9.3f %8.3f %8.3f %9.3f %7.2f %9.2f %11.2f\n",
                  size.c_str(), preset.name, demo.fps, demo.median, demo.p95, demo.p99, emptyMedian,
                  demo.median / emptyMedian, static_cast<double>(allocations.own) / kCountedFrames,
                  static_cast<double>(allocations.all - allocations.own) / kCountedFrames);
    bench.rows.push_back(row);
    bench.error = "the demo ended or the window changed size while it ran";
    return bench.session.Ends() == 0 && width == static_cast<int>(WindowSize.width) &&
           height == static_cast<int>(WindowSize.height);
}

// ---- Init / Update / PrintTable / DeInit, in the order main calls them ----------------------

// The allocation counter's self-check, the font, and the window (on a private Xvfb large
// enough for every size, if asked).
bool Init(Bench& bench, const char* programName) {
    const Options& options = bench.options;
    int screenWidth = 1024;  // the private Xvfb's screen, unless a size needs more
    int screenHeight = 768;
    for (const auto& size : options.sizes) {
        screenWidth = std::max(screenWidth, size.first);
        screenHeight = std::max(screenHeight, size.second);
    }
    bench.error = "the allocation counter failed its self-check";
    return PrepareAllocationCounter() &&
           ChooseFont(options.common.font, &bench.font, &bench.error) &&
           (!options.common.xvfb ||
            bench.window.StartVirtualDisplay(screenWidth, screenHeight, &bench.error)) &&
           bench.window.Open(programName, &bench.error);
}

// Every size in the order given ("full" is the screen's), each with the empty frame timed
// first and then every case.
bool Update(Bench& bench) {
    for (std::pair<int, int> size : bench.options.sizes) {
        if (size.first == 0) {
            size = {glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT)};
        }
        std::fprintf(stderr, "tavik-bench: %dx%d empty frame\n", size.first, size.second);
        if (!bench.Restart(size.first, size.second)) {
            return false;
        }
        bench.Run(bench.options.warmup, EmptyFrame);
        const double emptyMedian = Summarise(bench.Run(bench.options.frames, EmptyFrame)).median;
        for (const Preset* preset : bench.options.presets) {
            if (!RunCase(bench, *preset, size.first, size.second, emptyMedian)) {
                return false;
            }
        }
    }
    return true;
}

// The table, on standard output: the renderer, then a row per case. The benchmark draws
// nothing here; its frames were drawn and timed in Update.
void PrintTable(const Bench& bench) {
    const Options& options = bench.options;
    GLint samples = 0;  // the multisample count granted
    glGetIntegerv(GL_SAMPLES, &samples);
    std::printf(
        "Tavik benchmark: %d timed frames after %d warm-up frames per case, clock step %d ms\n"
        "renderer:    %s, OpenGL %s, %d samples per pixel\n",
        options.frames, options.warmup, options.stepMs,
        reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
        reinterpret_cast<const char*>(glGetString(GL_VERSION)), samples);
    if (kAllocationsCounted) {
        std::printf("allocations: per frame, counted over %d frames after the warm-up\n",
                    kCountedFrames);
    } else {
        std::printf("allocations: not counted (sanitizer build)\n");
    }
    std::printf("\n%-10s %-10s %8s %9s %8s %8s %9s %7s %9s %11s\n", "size", "case", "fps",
                "median_ms", "p95_ms", "p99_ms", "empty_ms", "ratio", "own_alloc", "other_alloc");
    for (const std::string& row : bench.rows) {
        std::fputs(row.c_str(), stdout);
    }
}

void DeInit(Bench& bench) {
    bench.session.End();
    bench.window.Close();
}
}  // namespace

int main(int argc, char** argv) {
    Bench bench;
    Options& options = bench.options;
    const auto apply = [&options](int code, const std::string& value, std::string*) {
        return Apply(code, value, &options);
    };
    const int usage = ReadOptions(argc, argv, kOptions, kHelp, &options.common, apply);
    if (usage != kRun) {
        return usage;
    }
    if (options.sizes.empty()) {
        options.sizes = {{640, 480}, {0, 0}};
    }
    if (options.presets.empty()) {
        options.presets.push_back(&kPresets[0]);
    }
    const bool done = Init(bench, argv[0]) && Update(bench);
    if (done) {
        PrintTable(bench);
    } else {
        std::fprintf(stderr, "tavik-bench: %s\n", bench.error.c_str());
    }
    DeInit(bench);
    return done ? 0 : 1;
}
