// What tavik-bench reports: the figures gathered while it runs, printed as a table on
// standard output and written as JSON.
#pragma once

#include <string>
#include <vector>

struct FrameTimes {
    double fps = 0.0;
    double median = 0.0;
    double p95 = 0.0;
    double p99 = 0.0;
};

// Nearest-rank percentiles of frame times in milliseconds, and the rate over their sum.
FrameTimes Summarise(std::vector<double> times);

// One case (a preset at one window size).
struct CaseResult {
    int width = 0;
    int height = 0;
    std::string preset;
    FrameTimes demo;
    FrameTimes empty;               // the empty frame at the same size
    double ownAllocations = 0.0;    // per frame, by the demo's own code
    double otherAllocations = 0.0;  // per frame, by GLUT, the OpenGL libraries and the runtime
};

struct BenchReport {
    int frames = 0;
    int warmup = 0;
    int stepMs = 0;
    int countedFrames = 0;  // 0: allocations not counted (sanitizer build)
    std::string renderer;   // GL_RENDERER, GL_VERSION and the multisample count granted
    std::vector<CaseResult> cases;
};

// The table, on standard output.
void PrintReport(const BenchReport& report);
// The same figures as JSON; false with the reason in *error.
bool WriteJsonReport(const BenchReport& report, const std::string& path, std::string* error);
