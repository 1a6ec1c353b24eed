// tavik-bench: times the demo's frames (AppFrame, swap, glFinish) in a real GLUT window beside
// an empty frame (clear and swap), counts heap allocations made by the demo's own per-frame
// code (AllocationCounter) and reports start-up time (BenchReport). Run with --help for the
// options.
#include <GL/freeglut.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "tools/AllocationCounter.h"
#include "tools/BenchReport.h"
#include "tools/CommandLine.h"
#include "driver/DemoSession.h"
#include "driver/DemoWindow.h"
#include "shell/Settings.h"
#include "shell/WindowSize.h"

namespace {
constexpr int kUsageError = 2;
constexpr int kCountedFrames = 20;  // frames run with the allocation counter on, untimed
constexpr int kLargestCount = 1000000;
constexpr int kDefaultScreenWidth = 1024;  // the private Xvfb's screen, unless a size needs more
constexpr int kDefaultScreenHeight = 768;

const char kHelp[] =
    "Usage: tavik-bench [options]\n"
    "Times the Tavik demo's frames (its own frame step, the buffer swap and glFinish) in a\n"
    "real GLUT window with a deterministic clock, beside an empty frame (clear and swap) in\n"
    "the same window, and prints a table: size, case, frames per second, the median, 95th\n"
    "and 99th percentile frame time, the empty frame's median and the ratio demo / empty,\n"
    "and the heap allocations per frame made by the demo's own code, by GLUT and by the\n"
    "OpenGL libraries. The first lines name the renderer and the multisample count granted,\n"
    "and the time from process start to the first swapped frame.\n"
    "\n"
    "  --size WxH|full   window size (repeatable; default 640x480 and full, the screen's size)\n"
    "  --frames N        timed frames per case (default 300)\n"
    "  --warmup N        untimed frames before them (default 30)\n"
    "  --step-ms MS      clock step per frame in milliseconds (default 16)\n"
    "  --preset NAME     case to time (repeatable; default: default):\n"
    "                      default     the scene as the demo starts\n"
    "                      tess50      tessellation 50 (> typed 30 times)\n"
    "                      help        the help page shown (?)\n"
    "                      points      points mode (w typed twice)\n"
    "                      hyperspace  hyperspace (space) from the end of the warm-up on\n"
    "                      all         every case above\n"
    "  --json PATH       also write the figures as JSON\n"
    "  --font PATH       the font given to the demo as font.bmp (default: font.bmp in the\n"
    "                    working directory, else the copy beside this program)\n"
    "  --xvfb            run on a private Xvfb server (1024x768, or larger for --size)\n"
    "  --help            show this text\n"
    "\n"
    "Each case starts the demo afresh (clock 0, start-up seed 0). The demo never ends\n"
    "through its fade-out here. A progress line runs on standard error.\n"
    "Exit status: 0 done, 1 failed, 2 bad options.\n";

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

struct Size {
    int width;
    int height;
    bool full;  // the screen's size, known once the window is open
};

struct Options {
    CommonOptions common;
    std::vector<Size> sizes;
    std::vector<const Preset*> presets;
    int frames = 300;
    int warmup = 30;
    int stepMs = 16;
    std::string json;
    std::string font;
};

// How the frames of one run are treated.
struct FrameRun {
    bool timed = false;           // their times are kept
    bool holdHyperspace = false;  // hyperspace is held on before each of them
};

using Clock = std::chrono::steady_clock;
using FrameFunction = void (*)(DemoSession&);

double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

class Progress {
public:
    Progress() : terminal(isatty(STDERR_FILENO) != 0) {}
    void Show(const std::string& what, int done, int total) {
        if (terminal) {
            std::fprintf(stderr, "\r%-40s %6d/%d", what.c_str(), done, total);
        } else if (done == 0) {
            std::fprintf(stderr, "tavik-bench: %s, %d frames\n", what.c_str(), total);
        }
    }
    void Done() {
        if (terminal) {
            std::fprintf(stderr, "\r%60s\r", "");
        }
    }

private:
    bool terminal;
};

class Bench {
public:
    // The options, the allocation counter's self-check, and the demo's start-up with its
    // first frame. False when nothing more is to be done: --help, or a failure.
    bool Init(int argc, char** argv);
    // Every case at every size, each in a fresh session.
    bool Update();
    // The table on standard output, and the JSON file when one was asked for.
    bool Draw();
    // The demo's session ended and its window closed.
    void DeInit();
    int ExitStatus() const { return status; }

private:
    bool ReadOptions(int argc, char** argv);
    bool AddPreset(const std::string& name);
    bool StartDemo(const char* programName);
    bool RunSize(int width, int height);
    bool RunCase(const Preset& preset, int width, int height, const FrameTimes& empty);
    std::vector<double> RunFrames(int count, const FrameRun& run, const std::string& what,
                                  FrameFunction frame);
    bool Fail(const std::string& message);

    static void DemoFrame(DemoSession& runner);
    static void TimedDemoFrame(DemoSession& runner);
    static void UntimedDemoFrame(DemoSession& runner);
    static void CountedDemoFrame(DemoSession& runner);
    static void EmptyFrame(DemoSession& runner);
    static double ProcessAgeMs();

    Options options;
    DemoWindow window;
    DemoSession runner;
    Progress progress;
    BenchReport report;
    uint32_t clockMs = 0;
    std::string error;
    int status = 0;
};
}  // namespace

int main(int argc, char** argv) {
    Bench bench;
    if (bench.Init(argc, argv) && bench.Update()) {
        bench.Draw();
    }
    bench.DeInit();
    return bench.ExitStatus();
}

// ---- Init / Update / Draw / De-init --------------------------------------------------------

bool Bench::Init(int argc, char** argv) {
    if (!PrepareAllocationCounter()) {
        return Fail("the allocation counter failed its self-check");
    }
    if (!ReadOptions(argc, argv)) {
        if (!error.empty()) {
            std::fprintf(stderr, "tavik-bench: %s\n", error.c_str());
        }
        status = kUsageError;
        return false;
    }
    if (options.common.help) {
        std::fputs(kHelp, stdout);
        return false;
    }
    report.frames = options.frames;
    report.warmup = options.warmup;
    report.stepMs = options.stepMs;
    report.allocationsCounted = AllocationsCounted();
    report.countedFrames = kCountedFrames;
    return StartDemo(argv[0]);
}

bool Bench::Update() {
    // Each size once, in the order given; "full" is the screen's size.
    std::vector<std::pair<int, int>> sizes;
    for (const Size& size : options.sizes) {
        const std::pair<int, int> wanted =
            size.full ? std::make_pair(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT))
                      : std::make_pair(size.width, size.height);
        if (std::find(sizes.begin(), sizes.end(), wanted) == sizes.end()) {
            sizes.push_back(wanted);
        }
    }
    for (const auto& size : sizes) {
        if (!RunSize(size.first, size.second)) {
            return false;
        }
    }
    return true;
}

bool Bench::Draw() {
    PrintReport(report);
    if (!options.json.empty() && !WriteJsonReport(report, options.json, &error)) {
        return Fail(error);
    }
    return true;
}

void Bench::DeInit() {
    runner.End();
    window.Close();
}

// ---- Options -------------------------------------------------------------------------------

bool Bench::ReadOptions(int argc, char** argv) {
    static const option kOptions[] = {{"size", required_argument, nullptr, 's'},
                                      {"frames", required_argument, nullptr, 'f'},
                                      {"warmup", required_argument, nullptr, 'w'},
                                      {"step-ms", required_argument, nullptr, 't'},
                                      {"preset", required_argument, nullptr, 'p'},
                                      {"json", required_argument, nullptr, 'j'},
                                      {"font", required_argument, nullptr, 'n'},
                                      kXvfbOption,
                                      kHelpOption,
                                      {nullptr, 0, nullptr, 0}};
    const auto apply = [this](int code, const std::string& value, std::string*) {
        switch (code) {
            case 's': {
                Size size{0, 0, value == "full"};
                options.sizes.push_back(size);
                return size.full ||
                       ParseSize(value, &options.sizes.back().width, &options.sizes.back().height);
            }
            case 'f':
                return ParseCount(value, &options.frames, kLargestCount) && options.frames >= 1;
            case 'w':
                return ParseCount(value, &options.warmup, kLargestCount);
            case 't':
                return ParseCount(value, &options.stepMs, kLargestCount);
            case 'p':
                return AddPreset(value);
            default:
                (code == 'j' ? options.json : options.font) = value;
                return true;
        }
    };
    if (!::ReadOptions(argc, argv, kOptions, &options.common, apply, &error)) {
        return false;
    }
    if (options.common.help) {
        return true;
    }
    if (options.sizes.empty()) {
        options.sizes = {Size{640, 480, false}, Size{0, 0, true}};
    }
    if (options.presets.empty()) {
        options.presets.push_back(&kPresets[0]);
    }
    return true;
}

bool Bench::AddPreset(const std::string& name) {
    for (const Preset& preset : kPresets) {
        if (name == "all" || name == preset.name) {
            if (std::find(options.presets.begin(), options.presets.end(), &preset) ==
                options.presets.end()) {
                options.presets.push_back(&preset);
            }
            if (name != "all") {
                return true;
            }
        }
    }
    return name == "all";
}

// ---- Start-up ------------------------------------------------------------------------------

bool Bench::StartDemo(const char* programName) {
    const Clock::time_point mainStart = Clock::now();
    std::string font;
    if (!FindFont(options.font, &font, &error)) {
        return Fail(error);
    }
    if (options.common.xvfb) {
        int width = kDefaultScreenWidth;
        int height = kDefaultScreenHeight;
        for (const Size& size : options.sizes) {
            width = std::max(width, size.width);
            height = std::max(height, size.height);
        }
        const Clock::time_point xvfbStart = Clock::now();
        if (!window.StartVirtualDisplay(width, height, &error)) {
            return Fail(error);
        }
        report.xvfb = true;
        report.xvfbMs = MillisecondsBetween(xvfbStart, Clock::now());
    }
    if (!window.Open(programName, &error) || !runner.Start(font, AfterEnd::Stop, &error)) {
        return Fail(error);
    }
    // The first frame, as the shell draws it once GLUT has handled the window's first events.
    PumpEvents();
    runner.SetClock(0);
    UntimedDemoFrame(runner);
    // The private Xvfb is the tool's doing, not the demo's: its start is left out.
    report.startupFromMainMs = MillisecondsBetween(mainStart, Clock::now()) - report.xvfbMs;
    report.startupMs = ProcessAgeMs() - report.xvfbMs;

    const auto glString = [](GLenum name) {
        const GLubyte* text = glGetString(name);
        return text == nullptr ? std::string("(none)") : reinterpret_cast<const char*>(text);
    };
    report.vendor = glString(GL_VENDOR);
    report.renderer = glString(GL_RENDERER);
    report.version = glString(GL_VERSION);
    report.screenWidth = glutGet(GLUT_SCREEN_WIDTH);
    report.screenHeight = glutGet(GLUT_SCREEN_HEIGHT);
    glGetIntegerv(GL_SAMPLES, &report.samples);
    glGetIntegerv(GL_SAMPLE_BUFFERS, &report.sampleBuffers);
    return true;
}

// Milliseconds since the kernel started this process (10 ms resolution), or -1.
double Bench::ProcessAgeMs() {
    FILE* stat = std::fopen("/proc/self/stat", "r");
    if (stat == nullptr) {
        return -1.0;
    }
    char line[1024];
    const bool read = std::fgets(line, sizeof line, stat) != nullptr;
    std::fclose(stat);
    // Field 22, the start time in clock ticks since boot, counts after the command name,
    // which ends at the last ')'.
    const char* field = read ? std::strrchr(line, ')') : nullptr;
    if (field == nullptr) {
        return -1.0;
    }
    unsigned long long startTicks = 0;
    if (std::sscanf(field + 2,
                    "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d "
                    "%*d %*d %*d %llu",
                    &startTicks) != 1) {
        return -1.0;
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = static_cast<double>(now.tv_sec) * 1000.0 + now.tv_nsec / 1.0e6;
    return nowMs - static_cast<double>(startTicks) * 1000.0 / sysconf(_SC_CLK_TCK);
}

// ---- The cases -----------------------------------------------------------------------------

bool Bench::RunSize(int width, int height) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    if (!runner.Reset(&error) || !ResizeWindow(width, height, &error)) {
        return Fail(error);
    }
    clockMs = 0;
    RunFrames(options.warmup, FrameRun{}, size + " empty, warm-up", EmptyFrame);
    const FrameTimes empty = Summarise(
        RunFrames(options.frames, FrameRun{true, false}, size + " empty frame", EmptyFrame));
    for (const Preset* preset : options.presets) {
        if (!RunCase(*preset, width, height, empty)) {
            return false;
        }
    }
    progress.Done();
    return true;
}

// One preset in a fresh session: its keys, the warm-up, frames with the allocation counter
// on, then the timed frames.
bool Bench::RunCase(const Preset& preset, int width, int height, const FrameTimes& empty) {
    if (!runner.Reset(&error)) {
        return Fail(error);
    }
    std::vector<KeyStroke> keys;
    if (preset.keys[0] != '\0' && !ParseKeys(preset.keys, &keys, &error)) {
        return Fail(error);
    }
    for (const KeyStroke& key : keys) {
        runner.Type(key);
    }
    const std::string what =
        std::to_string(width) + "x" + std::to_string(height) + " " + preset.name;
    clockMs = 0;
    const bool hold = preset.holdHyperspace;
    const int warmup = hold ? std::max(options.warmup, 1) : options.warmup;
    RunFrames(warmup, FrameRun{}, what + ", warm-up", UntimedDemoFrame);
    if (hold) {
        runner.Type(KeyStroke{false, ' '});
    }
    ClearAllocations();
    RunFrames(kCountedFrames, FrameRun{false, hold}, what + ", counting allocations",
              CountedDemoFrame);
    const AllocationFigures allocations = CountedAllocations();
    if (allocations.own > 0) {
        std::fprintf(stderr,
                     "\ntavik-bench: the demo's own code allocated %ld times in %d frames\n",
                     allocations.own, kCountedFrames);
        ReportOwnAllocationSites();
    }
    CaseResult result;
    result.width = static_cast<int>(WindowSize.width);
    result.height = static_cast<int>(WindowSize.height);
    result.preset = preset.name;
    result.demo = Summarise(RunFrames(options.frames, FrameRun{true, hold}, what, TimedDemoFrame));
    result.empty = empty;
    result.allocationsOwn = static_cast<double>(allocations.own) / kCountedFrames;
    result.allocationsGlut = static_cast<double>(allocations.glut) / kCountedFrames;
    result.allocationsGl = static_cast<double>(allocations.gl) / kCountedFrames;
    if (runner.Ends() > 0 || result.width != width || result.height != height) {
        return Fail(what + ": the demo ended or the window changed size while it ran");
    }
    report.cases.push_back(result);
    return true;
}

std::vector<double> Bench::RunFrames(int count, const FrameRun& run, const std::string& what,
                                     FrameFunction frame) {
    std::vector<double> times;
    times.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (i % 10 == 0) {
            progress.Show(what, i, count);
        }
        runner.SetClock(clockMs);
        clockMs += static_cast<uint32_t>(options.stepMs);
        if (run.holdHyperspace) {
            settings.clearEachFrame = 0;
        }
        const Clock::time_point start = Clock::now();
        frame(runner);
        const Clock::time_point end = Clock::now();
        if (run.timed) {
            times.push_back(MillisecondsBetween(start, end));
        }
        PumpEvents();
    }
    return times;
}

bool Bench::Fail(const std::string& message) {
    std::fprintf(stderr, "tavik-bench: %s\n", message.c_str());
    status = 1;
    return false;
}

// ---- The frames ----------------------------------------------------------------------------

// One demo frame: what the shell's display callback does, and glFinish so that the
// renderer's queued work is inside the measurement.
void Bench::DemoFrame(DemoSession& runner) {
    runner.Frame();
    runner.Swap();
    glFinish();
}

// The timed frames alone run through this function, so that a profiler can collect exactly
// them: valgrind --tool=callgrind --toggle-collect='*TimedDemoFrame*'.
// The empty statement after the frame keeps glFinish from becoming a tail jump, which a
// profiler would count outside this function.
__attribute__((noipa)) void Bench::TimedDemoFrame(DemoSession& runner) {
    DemoFrame(runner);
    asm volatile("" ::: "memory");
}

// The frames before the timed ones (start-up's first frame and the warm-up).
__attribute__((noipa)) void Bench::UntimedDemoFrame(DemoSession& runner) {
    DemoFrame(runner);
}

// A demo frame with the allocation counter on for AppFrame alone.
void Bench::CountedDemoFrame(DemoSession& runner) {
    CountAllocations(true);
    runner.Frame();
    CountAllocations(false);
    runner.Swap();
    glFinish();
}

// The empty frame: a clear of colour and depth and a swap, in the same window.
__attribute__((noinline)) void Bench::EmptyFrame(DemoSession& runner) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    runner.Swap();
    glFinish();
}
