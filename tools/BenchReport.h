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
    FrameTimes empty;             // the empty frame at the same size
    double allocationsOwn = 0.0;  // per frame
    double allocationsGlut = 0.0;
    double allocationsGl = 0.0;
};

struct BenchReport {
    // How the cases ran.
    int frames = 0;
    int warmup = 0;
    int stepMs = 0;
    bool allocationsCounted = false;
    int countedFrames = 0;
    // The renderer and the screen.
    std::string vendor;
    std::string renderer;
    std::string version;
    int screenWidth = 0;
    int screenHeight = 0;
    int samples = 0;
    int sampleBuffers = 0;
    // Start-up, without the time spent starting a private Xvfb (xvfb), if there was one.
    double startupMs = 0.0;
    double startupFromMainMs = 0.0;
    bool xvfb = false;
    double xvfbMs = 0.0;

    std::vector<CaseResult> cases;
};

// The table, on standard output.
void PrintReport(const BenchReport& report);
// The same figures as JSON; false with the reason in *error.
bool WriteJsonReport(const BenchReport& report, const std::string& path, std::string* error);
