// tavik-bench: times the demo's frames (AppFrame, swap, glFinish) in a real GLUT window beside
// an empty frame (clear and swap), counts heap allocations made by the demo's own per-frame
// code and reports start-up time. Run with --help for the options.
#include <GL/freeglut.h>
#include <dlfcn.h>
#include <execinfo.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <string>
#include <vector>

#include "shell/Settings.h"
#include "tools/DemoRunner.h"

// The allocation counter replaces the C allocator's entry points in this program, so it
// sees every allocation of every library. The build leaves it out of sanitizer builds, which
// bring their own allocator.
#ifdef TAVIK_COUNT_ALLOCATIONS
constexpr bool kCountAllocations = true;
#else
constexpr bool kCountAllocations = false;
#endif

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);
}

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

// ---- Allocation counter -------------------------------------------------------------------

// Allocations are counted on the main thread while `counting` is set (during AppFrame), each
// charged to the innermost caller outside the C and C++ runtime: this program (the demo's own
// code), or the shared object (GLUT, GLU, the OpenGL libraries) that asked for the memory.
constexpr int kMaxObjects = 32;
constexpr int kMaxSites = 8;

struct ObjectCount {
    const char* name;  // the loader's own string, valid for the object's lifetime
    long count;
};

struct AllocationLedger {
    bool counting = false;
    pthread_t mainThread{};
    const char* programName = nullptr;
    ObjectCount objects[kMaxObjects] = {};
    int objectCount = 0;
    long unattributed = 0;
    void* projectSites[kMaxSites] = {};
    int siteCount = 0;
};

AllocationLedger ledger;
thread_local bool insideCounter = false;

bool IsRuntime(const char* path) {
    const char* slash = std::strrchr(path, '/');
    const char* name = slash == nullptr ? path : slash + 1;
    static const char* const kRuntime[] = {"libc.so", "libstdc++.so", "libgcc_s.so",
                                           "libm.so", "ld-linux",     "libpthread.so"};
    for (const char* prefix : kRuntime) {
        if (std::strncmp(name, prefix, std::strlen(prefix)) == 0) {
            return true;
        }
    }
    return false;
}

void Charge(const char* object) {
    for (int i = 0; i < ledger.objectCount; ++i) {
        if (ledger.objects[i].name == object || std::strcmp(ledger.objects[i].name, object) == 0) {
            ++ledger.objects[i].count;
            return;
        }
    }
    if (ledger.objectCount < kMaxObjects) {
        ledger.objects[ledger.objectCount++] = ObjectCount{object, 1};
    } else {
        ++ledger.unattributed;
    }
}

// Called from the allocator entry points only. Frame 0 of the backtrace is this function,
// frame 1 the entry point, frame 2 its caller.
__attribute__((noinline)) void CountAllocation() {
    if (!ledger.counting || insideCounter || !pthread_equal(pthread_self(), ledger.mainThread)) {
        return;
    }
    insideCounter = true;
    void* frames[64];
    const int depth = backtrace(frames, 64);
    bool charged = false;
    for (int i = 2; i < depth && !charged; ++i) {
        Dl_info info;
        // The return address minus one lies inside the calling instruction.
        if (dladdr(static_cast<char*>(frames[i]) - 1, &info) == 0 || info.dli_fname == nullptr) {
            continue;
        }
        if (IsRuntime(info.dli_fname)) {
            continue;
        }
        Charge(info.dli_fname);
        if (std::strcmp(info.dli_fname, ledger.programName) == 0 && ledger.siteCount < kMaxSites) {
            ledger.projectSites[ledger.siteCount++] = frames[i];
        }
        charged = true;
    }
    if (!charged) {
        ++ledger.unattributed;
    }
    insideCounter = false;
}

void ClearLedger() {
    for (int i = 0; i < ledger.objectCount; ++i) {
        ledger.objects[i].count = 0;
    }
    ledger.unattributed = 0;
    ledger.siteCount = 0;
}

// Sets the counter up: the name under which the loader knows this program, and a first
// backtrace (which loads the unwinder, allocating) done before any counting. Then checks
// that two allocations made here, one directly and one through the C++ runtime's operator
// new, are both charged to this program; false if they are not.
bool PrepareCounter() {
    ledger.mainThread = pthread_self();
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&PrepareCounter), &info) == 0) {
        return false;
    }
    ledger.programName = info.dli_fname;
    void* frames[4];
    backtrace(frames, 4);
    if (!kCountAllocations) {
        return true;
    }
    // Called through volatile pointers so that the compiler cannot leave them out.
    void* (*volatile allocate)(size_t) = std::malloc;
    void* (*volatile allocateObject)(size_t) = ::operator new;
    ledger.counting = true;
    void* direct = allocate(16);
    void* throughNew = allocateObject(16);
    ledger.counting = false;
    std::free(direct);
    ::operator delete(throughNew);
    const bool charged = ledger.objectCount == 1 && ledger.objects[0].count == 2;
    ledger.objectCount = 0;
    return charged;
}

struct AllocationFigures {
    long project = 0;
    long glut = 0;
    long gl = 0;  // the OpenGL and GLU libraries, the driver and everything else
};

AllocationFigures ReadLedger() {
    AllocationFigures figures;
    for (int i = 0; i < ledger.objectCount; ++i) {
        const ObjectCount& object = ledger.objects[i];
        if (ledger.programName != nullptr && std::strcmp(object.name, ledger.programName) == 0) {
            figures.project += object.count;
        } else if (std::strstr(object.name, "libglut") != nullptr) {
            figures.glut += object.count;
        } else {
            figures.gl += object.count;
        }
    }
    figures.gl += ledger.unattributed;
    return figures;
}

// Names the places in this program that allocated, for addr2line.
void ReportProjectSites() {
    for (int i = 0; i < ledger.siteCount; ++i) {
        Dl_info info;
        if (dladdr(ledger.projectSites[i], &info) != 0) {
            std::fprintf(
                stderr, "  allocation from the demo's code at %s+0x%zx (addr2line -fCe %s 0x%zx)\n",
                info.dli_fname,
                static_cast<size_t>(static_cast<char*>(ledger.projectSites[i]) -
                                    static_cast<char*>(info.dli_fbase)),
                info.dli_fname,
                static_cast<size_t>(static_cast<char*>(ledger.projectSites[i]) -
                                    static_cast<char*>(info.dli_fbase)) -
                    1);
        }
    }
}

// ---- Options ------------------------------------------------------------------------------

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
    std::vector<Size> sizes;
    std::vector<const Preset*> presets;
    int frames = 300;
    int warmup = 30;
    int stepMs = 16;
    std::string json;
    std::string font;
    bool xvfb = false;
    bool help = false;
};

bool AddPreset(const std::string& name, Options* options) {
    for (const Preset& preset : kPresets) {
        if (name == "all" || name == preset.name) {
            if (std::find(options->presets.begin(), options->presets.end(), &preset) ==
                options->presets.end()) {
                options->presets.push_back(&preset);
            }
            if (name != "all") {
                return true;
            }
        }
    }
    return name == "all";
}

bool ParseOptions(int argc, char** argv, Options* options, std::string* error) {
    const auto apply = [options](const std::string& option, const std::string& value,
                                 std::string*) {
        if (option == "--size") {
            Size size{0, 0, value == "full"};
            const bool good = size.full || ParseSize(value, &size.width, &size.height);
            options->sizes.push_back(size);
            return good;
        }
        if (option == "--frames") {
            return ParseCount(value, &options->frames) && options->frames >= 1 &&
                   options->frames <= kLargestCount;
        }
        if (option == "--warmup") {
            return ParseCount(value, &options->warmup) && options->warmup <= kLargestCount;
        }
        if (option == "--step-ms") {
            return ParseCount(value, &options->stepMs) && options->stepMs <= kLargestCount;
        }
        if (option == "--preset") {
            return AddPreset(value, options);
        }
        (option == "--json" ? options->json : options->font) = value;
        return true;
    };
    if (!WalkOptions(
            argc, argv,
            {"--size", "--frames", "--warmup", "--step-ms", "--preset", "--json", "--font"},
            &options->help, &options->xvfb, apply, error)) {
        return false;
    }
    if (options->help) {
        return true;
    }
    if (options->sizes.empty()) {
        options->sizes = {Size{640, 480, false}, Size{0, 0, true}};
    }
    if (options->presets.empty()) {
        options->presets.push_back(&kPresets[0]);
    }
    return true;
}

// ---- Timing -------------------------------------------------------------------------------

using Clock = std::chrono::steady_clock;

double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Milliseconds since the kernel started this process (10 ms resolution), or -1.
double ProcessAgeMs() {
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

struct FrameTimes {
    double fps = 0.0;
    double median = 0.0;
    double p95 = 0.0;
    double p99 = 0.0;
};

// Nearest-rank percentiles of the frame times and the rate over their sum.
FrameTimes Summarise(std::vector<double> times) {
    FrameTimes result;
    if (times.empty()) {
        return result;
    }
    double total = 0.0;
    for (const double t : times) {
        total += t;
    }
    std::sort(times.begin(), times.end());
    auto rank = [&](double share) {
        size_t index = static_cast<size_t>(share * static_cast<double>(times.size()) + 0.999999);
        index = index == 0 ? 0 : index - 1;
        return times[std::min(index, times.size() - 1)];
    };
    result.fps = total > 0.0 ? 1000.0 * static_cast<double>(times.size()) / total : 0.0;
    result.median = rank(0.50);
    result.p95 = rank(0.95);
    result.p99 = rank(0.99);
    return result;
}

// One demo frame: what the shell's display callback does, and glFinish so that the
// renderer's queued work is inside the measurement.
void DemoFrame(DemoRunner& runner) {
    runner.Frame();
    runner.Swap();
    glFinish();
}

// The timed frames alone run through this function, so that a profiler can collect exactly
// them: valgrind --tool=callgrind --toggle-collect='*TimedDemoFrame*'.
// The empty statement after the frame keeps glFinish from becoming a tail jump, which a
// profiler would count outside this function.
__attribute__((noipa)) void TimedDemoFrame(DemoRunner& runner) {
    DemoFrame(runner);
    asm volatile("" ::: "memory");
}

// The frames before the timed ones (start-up's first frame and the warm-up).
__attribute__((noipa)) void UntimedDemoFrame(DemoRunner& runner) {
    DemoFrame(runner);
}

// A demo frame with the allocation counter on for AppFrame alone.
void CountedDemoFrame(DemoRunner& runner) {
    ledger.counting = kCountAllocations;
    runner.Frame();
    ledger.counting = false;
    runner.Swap();
    glFinish();
}

// The empty frame: a clear of colour and depth and a swap, in the same window.
__attribute__((noinline)) void EmptyFrame(DemoRunner& runner) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    runner.Swap();
    glFinish();
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

struct CaseResult {
    int width = 0;
    int height = 0;
    std::string preset;
    FrameTimes demo;
    FrameTimes empty;
    double allocationsProject = 0.0;
    double allocationsGlut = 0.0;
    double allocationsGl = 0.0;
};

class Bench {
public:
    explicit Bench(const Options& options) : options(options) {}

    bool StartUp(const char* programName, std::string* error);
    bool RunSize(int width, int height, std::string* error);
    void PrintTable() const;
    bool WriteJson(const std::string& path, std::string* error) const;
    DemoRunner& Runner() { return runner; }

private:
    std::vector<double> RunFrames(int count, uint32_t* clockMs, bool timed, bool hyperspace,
                                  const std::string& what, void (*frame)(DemoRunner&));

    const Options& options;
    DemoRunner runner;
    Progress progress;
    std::string vendor, renderer, version;
    int samples = 0;
    int sampleBuffers = 0;
    double startupMs = 0.0;
    double startupFromMainMs = 0.0;
    double xvfbMs = 0.0;  // spent starting the private Xvfb, left out of the start-up
    std::vector<CaseResult> results;
};

std::string GlString(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text == nullptr ? std::string("(none)") : reinterpret_cast<const char*>(text);
}

bool Bench::StartUp(const char* programName, std::string* error) {
    const Clock::time_point mainStart = Clock::now();
    std::string font;
    if (!FindFont(options.font, &font, error)) {
        return false;
    }
    if (options.xvfb) {
        int width = kDefaultScreenWidth;
        int height = kDefaultScreenHeight;
        for (const Size& size : options.sizes) {
            width = std::max(width, size.width);
            height = std::max(height, size.height);
        }
        const Clock::time_point xvfbStart = Clock::now();
        if (!runner.UseVirtualDisplay(width, height, error)) {
            return false;
        }
        xvfbMs = MillisecondsBetween(xvfbStart, Clock::now());
    }
    if (!runner.Open(programName, font, error)) {
        return false;
    }
    // The first frame, as the shell draws it once GLUT has handled the window's first events.
    runner.PumpEvents();
    runner.SetClock(0);
    UntimedDemoFrame(runner);
    // The private Xvfb is the tool's doing, not the demo's: its start is left out.
    startupFromMainMs = MillisecondsBetween(mainStart, Clock::now()) - xvfbMs;
    startupMs = ProcessAgeMs() - xvfbMs;

    vendor = GlString(GL_VENDOR);
    renderer = GlString(GL_RENDERER);
    version = GlString(GL_VERSION);
    glGetIntegerv(GL_SAMPLES, &samples);
    glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBuffers);
    return true;
}

std::vector<double> Bench::RunFrames(int count, uint32_t* clockMs, bool timed, bool hyperspace,
                                     const std::string& what, void (*frame)(DemoRunner&)) {
    std::vector<double> times;
    times.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (i % 10 == 0) {
            progress.Show(what, i, count);
        }
        runner.SetClock(*clockMs);
        *clockMs += static_cast<uint32_t>(options.stepMs);
        if (hyperspace) {
            settings.clearEachFrame = 0;  // the random rule may not end it meanwhile
        }
        const Clock::time_point start = Clock::now();
        frame(runner);
        const Clock::time_point end = Clock::now();
        if (timed) {
            times.push_back(MillisecondsBetween(start, end));
        }
        runner.PumpEvents();
    }
    return times;
}

bool Bench::RunSize(int width, int height, std::string* error) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    if (!runner.Restart(error) || !runner.Resize(width, height, error)) {
        return false;
    }
    uint32_t clockMs = 0;
    RunFrames(options.warmup, &clockMs, false, false, size + " empty, warm-up", EmptyFrame);
    const FrameTimes empty = Summarise(
        RunFrames(options.frames, &clockMs, true, false, size + " empty frame", EmptyFrame));

    for (const Preset* preset : options.presets) {
        if (!runner.Restart(error)) {
            return false;
        }
        std::vector<KeyStroke> keys;
        if (preset->keys[0] != '\0' && !ParseKeys(preset->keys, &keys, error)) {
            return false;
        }
        for (const KeyStroke& key : keys) {
            runner.Type(key);
        }
        const std::string what = size + " " + preset->name;
        clockMs = 0;
        const bool hold = preset->holdHyperspace;
        const int warmup = hold ? std::max(options.warmup, 1) : options.warmup;
        RunFrames(warmup, &clockMs, false, false, what + ", warm-up", UntimedDemoFrame);
        if (hold) {
            runner.Type(KeyStroke{false, ' '});
        }
        ClearLedger();
        RunFrames(kCountedFrames, &clockMs, false, hold, what + ", counting allocations",
                  CountedDemoFrame);
        const AllocationFigures allocations = ReadLedger();
        if (allocations.project > 0) {
            std::fprintf(stderr,
                         "\ntavik-bench: the demo's own code allocated %ld times in %d frames\n",
                         allocations.project, kCountedFrames);
            ReportProjectSites();
        }
        CaseResult result;
        result.width = runner.Width();
        result.height = runner.Height();
        result.preset = preset->name;
        result.demo =
            Summarise(RunFrames(options.frames, &clockMs, true, hold, what, TimedDemoFrame));
        result.empty = empty;
        result.allocationsProject = static_cast<double>(allocations.project) / kCountedFrames;
        result.allocationsGlut = static_cast<double>(allocations.glut) / kCountedFrames;
        result.allocationsGl = static_cast<double>(allocations.gl) / kCountedFrames;
        if (runner.Ended() || result.width != width || result.height != height) {
            *error = what + ": the demo ended or the window changed size while it ran";
            return false;
        }
        results.push_back(result);
    }
    progress.Done();
    return true;
}

void Bench::PrintTable() const {
    std::printf(
        "Tavik benchmark: %d timed frames after %d warm-up frames per case, clock step %d ms\n",
        options.frames, options.warmup, options.stepMs);
    std::printf("GL_VENDOR:   %s\n", vendor.c_str());
    std::printf("GL_RENDERER: %s\n", renderer.c_str());
    std::printf("GL_VERSION:  %s\n", version.c_str());
    std::printf("screen:      %dx%d; multisample: GL_SAMPLES %d, GL_SAMPLE_BUFFERS %d\n",
                runner.ScreenWidth(), runner.ScreenHeight(), samples, sampleBuffers);
    std::vector<std::string> sizes;
    std::string windows;
    for (const CaseResult& r : results) {
        const std::string size = std::to_string(r.width) + "x" + std::to_string(r.height);
        if (std::find(sizes.begin(), sizes.end(), size) == sizes.end()) {
            windows += (sizes.empty() ? "" : ", ") + size;
            sizes.push_back(size);
        }
    }
    std::printf("windows:     %s, each as GLUT reported it before timing\n", windows.c_str());
    std::printf(
        "start-up:    %.1f ms from process start to the first swapped frame (%.1f ms from main)",
        startupMs, startupFromMainMs);
    if (options.xvfb) {
        std::printf(", not counting %.1f ms to start Xvfb", xvfbMs);
    }
    std::printf("\n");
    if (kCountAllocations) {
        std::printf("allocations: per frame, counted over %d frames after the warm-up\n",
                    kCountedFrames);
    } else {
        std::printf("allocations: not counted (sanitizer build)\n");
    }
    std::printf("\n%-10s %-10s %8s %9s %8s %8s %9s %7s %9s %8s %8s\n", "size", "case", "fps",
                "median_ms", "p95_ms", "p99_ms", "empty_ms", "ratio", "own_alloc", "glut_alloc",
                "gl_alloc");
    for (const CaseResult& r : results) {
        const std::string size = std::to_string(r.width) + "x" + std::to_string(r.height);
        const double ratio = r.empty.median > 0.0 ? r.demo.median / r.empty.median : 0.0;
        std::printf("%-10s %-10s %8.1f %9.3f %8.3f %8.3f %9.3f %7.2f %9.2f %10.2f %8.2f\n",
                    size.c_str(), r.preset.c_str(), r.demo.fps, r.demo.median, r.demo.p95,
                    r.demo.p99, r.empty.median, ratio, r.allocationsProject, r.allocationsGlut,
                    r.allocationsGl);
    }
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

bool Bench::WriteJson(const std::string& path, std::string* error) const {
    FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        *error = path + ": cannot write";
        return false;
    }
    std::fprintf(file, "{\n  \"vendor\": %s,\n  \"renderer\": %s,\n  \"version\": %s,\n",
                 JsonString(vendor).c_str(), JsonString(renderer).c_str(),
                 JsonString(version).c_str());
    std::fprintf(file, "  \"screen\": {\"width\": %d, \"height\": %d},\n", runner.ScreenWidth(),
                 runner.ScreenHeight());
    std::fprintf(file, "  \"samples\": %d,\n  \"sampleBuffers\": %d,\n", samples, sampleBuffers);
    std::fprintf(file, "  \"frames\": %d,\n  \"warmupFrames\": %d,\n  \"stepMs\": %d,\n",
                 options.frames, options.warmup, options.stepMs);
    std::fprintf(file, "  \"startupMs\": %.3f,\n  \"startupFromMainMs\": %.3f,\n", startupMs,
                 startupFromMainMs);
    std::fprintf(file, "  \"xvfbStartMs\": %.3f,\n", xvfbMs);
    std::fprintf(file, "  \"allocationsCounted\": %s,\n  \"cases\": [",
                 kCountAllocations ? "true" : "false");
    for (size_t i = 0; i < results.size(); ++i) {
        const CaseResult& r = results[i];
        const double ratio = r.empty.median > 0.0 ? r.demo.median / r.empty.median : 0.0;
        std::fprintf(file,
                     "%s\n    {\"width\": %d, \"height\": %d, \"case\": %s, \"fps\": %.3f, "
                     "\"medianMs\": %.4f, \"p95Ms\": %.4f, \"p99Ms\": %.4f, "
                     "\"emptyFps\": %.3f, \"emptyMedianMs\": %.4f, \"ratio\": %.4f, "
                     "\"allocationsPerFrame\": {\"own\": %.3f, \"glut\": %.3f, \"gl\": %.3f}}",
                     i == 0 ? "" : ",", r.width, r.height, JsonString(r.preset).c_str(), r.demo.fps,
                     r.demo.median, r.demo.p95, r.demo.p99, r.empty.fps, r.empty.median, ratio,
                     r.allocationsProject, r.allocationsGlut, r.allocationsGl);
    }
    std::fprintf(file, "\n  ]\n}\n");
    const bool closed = std::fclose(file) == 0;
    if (!closed) {
        *error = path + ": cannot write";
    }
    return closed;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "tavik-bench: %s\n", message.c_str());
    return 1;
}
}  // namespace

// ---- The C allocator's entry points, counted ----------------------------------------------

#ifdef TAVIK_COUNT_ALLOCATIONS
extern "C" {
void* malloc(size_t size) {
    CountAllocation();
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
    CountAllocation();
    return __libc_calloc(count, size);
}

void* realloc(void* pointer, size_t size) {
    CountAllocation();
    return __libc_realloc(pointer, size);
}

void free(void* pointer) {
    __libc_free(pointer);
}

void* memalign(size_t alignment, size_t size) {
    CountAllocation();
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size) {
    CountAllocation();
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** pointer, size_t alignment, size_t size) {
    CountAllocation();
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) {
        return EINVAL;
    }
    void* memory = __libc_memalign(alignment, size);
    if (memory == nullptr) {
        return ENOMEM;
    }
    *pointer = memory;
    return 0;
}
}
#endif

int main(int argc, char** argv) {
    if (!PrepareCounter()) {
        std::fprintf(stderr, "tavik-bench: the allocation counter failed its self-check\n");
        return 1;
    }
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "tavik-bench: %s\n", error.c_str());
        return kUsageError;
    }
    if (options.help) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    Bench bench(options);
    if (!bench.StartUp(argv[0], &error)) {
        return Fail(error);
    }
    // Each size once, in the order given; "full" is the screen's size.
    std::vector<std::pair<int, int>> sizes;
    for (const Size& size : options.sizes) {
        const std::pair<int, int> wanted =
            size.full ? std::make_pair(bench.Runner().ScreenWidth(), bench.Runner().ScreenHeight())
                      : std::make_pair(size.width, size.height);
        if (std::find(sizes.begin(), sizes.end(), wanted) == sizes.end()) {
            sizes.push_back(wanted);
        }
    }
    for (const auto& size : sizes) {
        if (!bench.RunSize(size.first, size.second, &error)) {
            return Fail(error);
        }
    }
    bench.PrintTable();
    if (!options.json.empty() && !bench.WriteJson(options.json, &error)) {
        return Fail(error);
    }
    return 0;
}
