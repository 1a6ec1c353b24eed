// tavik-bench: times the demo's frames (AppFrame, swap, glFinish) in its own GLUT window beside
// an empty frame (clear and swap), and checks that the demo's own per-frame code allocates
// nothing (AllocationCounter); BenchReport prints the figures. Run with --help for the options.
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "driver/DemoSession.h"
#include "driver/DemoWindow.h"
#include "shell/Settings.h"
#include "shell/WindowSize.h"
#include "tools/AllocationCounter.h"
#include "tools/BenchReport.h"
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
    "                    of the warm-up on), or all of them\n"
    "  --json PATH       also write the figures as JSON\n";

const std::vector<option> kOptions = {
    {"size", required_argument, nullptr, 's'},   {"frames", required_argument, nullptr, 'f'},
    {"warmup", required_argument, nullptr, 'w'}, {"step-ms", required_argument, nullptr, 't'},
    {"preset", required_argument, nullptr, 'p'}, {"json", required_argument, nullptr, 'j'}};

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
    std::string json;
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
        case 'p':
            for (const Preset& preset : kPresets) {
                std::vector<const Preset*>& chosen = options->presets;
                const bool named = value == "all" || value == preset.name;
                if (named && std::find(chosen.begin(), chosen.end(), &preset) == chosen.end()) {
                    chosen.push_back(&preset);
                }
                known = known || named;
            }
            return known;
        default:
            options->json = value;
            return true;
    }
}

// One demo frame: what the shell's display callback does, and glFinish so that the
// renderer's queued work is inside the measurement.
void DemoFrame(DemoSession& session) {
    session.Frame();
    session.Swap();
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
    session.Swap();
    glFinish();
}

// The empty frame: a clear of colour and depth and a swap, in the same window.
__attribute__((noinline)) void EmptyFrame(DemoSession& session) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    session.Swap();
    glFinish();
}

// The benchmark from start-up to the report.
struct Bench {
    Options options;
    DemoWindow window;
    DemoSession session;
    BenchReport report;
    uint32_t clockMs = 0;  // the clock of the next frame
    std::string error;

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
bool RunCase(Bench& bench, const Preset& preset, const FrameTimes& empty) {
    const int width = static_cast<int>(WindowSize.width);
    const int height = static_cast<int>(WindowSize.height);
    std::fprintf(stderr, "tavik-bench: %dx%d %s\n", width, height, preset.name);
    std::vector<KeyStroke> keys;
    if (!bench.session.Reset(&bench.error) ||
        (preset.keys[0] != '\0' && !ParseKeys(preset.keys, &keys, &bench.error))) {
        return false;
    }
    for (const KeyStroke& key : keys) {
        bench.session.Type(key);
    }
    const bool hold = preset.holdHyperspace;
    bench.clockMs = 0;
    bench.Run(hold ? std::max(bench.options.warmup, 1) : bench.options.warmup, DemoFrame);
    if (hold) {
        bench.session.Type(KeyStroke{false, ' '});
    }
    bench.Run(kCountedFrames, CountedDemoFrame, hold);
    const AllocationCount allocations = TakeAllocationCount();
    const FrameTimes demo = Summarise(bench.Run(bench.options.frames, TimedDemoFrame, hold));
    bench.report.cases.push_back(
        CaseResult{width, height, preset.name, demo, empty,
                   static_cast<double>(allocations.own) / kCountedFrames,
                   static_cast<double>(allocations.all - allocations.own) / kCountedFrames});
    bench.error = "the demo ended or the window changed size while it ran";
    return bench.session.Ends() == 0 && width == static_cast<int>(WindowSize.width) &&
           height == static_cast<int>(WindowSize.height);
}

// ---- Init / Update / Draw / De-init --------------------------------------------------------

// The allocation counter's self-check, the window (on a private Xvfb large enough for every
// size, if asked), the demo's start-up and the renderer's names.
bool Init(Bench& bench, const char* programName) {
    const Options& options = bench.options;
    int screenWidth = 1024;  // the private Xvfb's screen, unless a size needs more
    int screenHeight = 768;
    for (const auto& size : options.sizes) {
        screenWidth = std::max(screenWidth, size.first);
        screenHeight = std::max(screenHeight, size.second);
    }
    std::string font;
    bench.error = "the allocation counter failed its self-check";
    if (!PrepareAllocationCounter() || !ChooseFont(options.common.font, &font, &bench.error) ||
        (options.common.xvfb &&
         !bench.window.StartVirtualDisplay(screenWidth, screenHeight, &bench.error)) ||
        !bench.window.Open(programName, &bench.error) ||
        !bench.session.Start(font, AfterEnd::Stop, &bench.error)) {
        return false;
    }
    const auto glString = [](GLenum name) {
        const GLubyte* text = glGetString(name);
        return text == nullptr ? std::string("?") : reinterpret_cast<const char*>(text);
    };
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    bench.report = BenchReport{options.frames,
                               options.warmup,
                               options.stepMs,
                               AllocationsCounted() ? kCountedFrames : 0,
                               glString(GL_RENDERER) + ", OpenGL " + glString(GL_VERSION) + ", " +
                                   std::to_string(samples) + " samples per pixel",
                               {}};
    return true;
}

// Every size once, in the order given ("full" is the screen's), each with the empty frame
// timed first and then every case.
bool Update(Bench& bench) {
    std::vector<std::pair<int, int>> done;
    for (std::pair<int, int> size : bench.options.sizes) {
        if (size.first == 0) {
            size = {glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT)};
        }
        if (std::find(done.begin(), done.end(), size) != done.end()) {
            continue;
        }
        done.push_back(size);
        std::fprintf(stderr, "tavik-bench: %dx%d empty frame\n", size.first, size.second);
        if (!bench.session.Reset(&bench.error) ||
            !ResizeWindow(size.first, size.second, &bench.error)) {
            return false;
        }
        bench.clockMs = 0;
        bench.Run(bench.options.warmup, EmptyFrame);
        const FrameTimes empty = Summarise(bench.Run(bench.options.frames, EmptyFrame));
        for (const Preset* preset : bench.options.presets) {
            if (!RunCase(bench, *preset, empty)) {
                return false;
            }
        }
    }
    return true;
}

// The table on standard output, and the JSON file when one was asked for.
bool Draw(Bench& bench) {
    PrintReport(bench.report);
    return bench.options.json.empty() ||
           WriteJsonReport(bench.report, bench.options.json, &bench.error);
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
    const bool done = Init(bench, argv[0]) && Update(bench) && Draw(bench);
    DeInit(bench);
    if (!done) {
        std::fprintf(stderr, "tavik-bench: %s\n", bench.error.c_str());
    }
    return done ? 0 : 1;
}
