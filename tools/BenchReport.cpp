// The report's table and JSON: one row, one object, a case.
#include "tools/BenchReport.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {
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

std::string SizeName(const CaseResult& r) {
    return std::to_string(r.width) + "x" + std::to_string(r.height);
}

// The demo's median frame time over the empty frame's.
double Ratio(const CaseResult& r) {
    return r.empty.median > 0.0 ? r.demo.median / r.empty.median : 0.0;
}
}  // namespace

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

void PrintReport(const BenchReport& report) {
    std::printf(
        "Tavik benchmark: %d timed frames after %d warm-up frames per case, clock step %d ms\n",
        report.frames, report.warmup, report.stepMs);
    std::printf("GL_VENDOR:   %s\n", report.vendor.c_str());
    std::printf("GL_RENDERER: %s\n", report.renderer.c_str());
    std::printf("GL_VERSION:  %s\n", report.version.c_str());
    std::printf("screen:      %dx%d; multisample: GL_SAMPLES %d, GL_SAMPLE_BUFFERS %d\n",
                report.screenWidth, report.screenHeight, report.samples, report.sampleBuffers);
    std::vector<std::string> sizes;
    std::string windows;
    for (const CaseResult& r : report.cases) {
        const std::string size = SizeName(r);
        if (std::find(sizes.begin(), sizes.end(), size) == sizes.end()) {
            windows += (sizes.empty() ? "" : ", ") + size;
            sizes.push_back(size);
        }
    }
    std::printf("windows:     %s, each as GLUT reported it before timing\n", windows.c_str());
    std::printf(
        "start-up:    %.1f ms from process start to the first swapped frame (%.1f ms from main)",
        report.startupMs, report.startupFromMainMs);
    if (report.xvfb) {
        std::printf(", not counting %.1f ms to start Xvfb", report.xvfbMs);
    }
    std::printf("\n");
    if (report.allocationsCounted) {
        std::printf("allocations: per frame, counted over %d frames after the warm-up\n",
                    report.countedFrames);
    } else {
        std::printf("allocations: not counted (sanitizer build)\n");
    }
    std::printf("\n%-10s %-10s %8s %9s %8s %8s %9s %7s %9s %8s %8s\n", "size", "case", "fps",
                "median_ms", "p95_ms", "p99_ms", "empty_ms", "ratio", "own_alloc", "glut_alloc",
                "gl_alloc");
    for (const CaseResult& r : report.cases) {
        std::printf("%-10s %-10s %8.1f %9.3f %8.3f %8.3f %9.3f %7.2f %9.2f %10.2f %8.2f\n",
                    SizeName(r).c_str(), r.preset.c_str(), r.demo.fps, r.demo.median, r.demo.p95,
                    r.demo.p99, r.empty.median, Ratio(r), r.allocationsOwn, r.allocationsGlut,
                    r.allocationsGl);
    }
}

bool WriteJsonReport(const BenchReport& report, const std::string& path, std::string* error) {
    FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        *error = path + ": cannot write";
        return false;
    }
    std::fprintf(file, "{\n  \"vendor\": %s,\n  \"renderer\": %s,\n  \"version\": %s,\n",
                 JsonString(report.vendor).c_str(), JsonString(report.renderer).c_str(),
                 JsonString(report.version).c_str());
    std::fprintf(file, "  \"screen\": {\"width\": %d, \"height\": %d},\n", report.screenWidth,
                 report.screenHeight);
    std::fprintf(file, "  \"samples\": %d,\n  \"sampleBuffers\": %d,\n", report.samples,
                 report.sampleBuffers);
    std::fprintf(file, "  \"frames\": %d,\n  \"warmupFrames\": %d,\n  \"stepMs\": %d,\n",
                 report.frames, report.warmup, report.stepMs);
    std::fprintf(file, "  \"startupMs\": %.3f,\n  \"startupFromMainMs\": %.3f,\n", report.startupMs,
                 report.startupFromMainMs);
    std::fprintf(file, "  \"xvfbStartMs\": %.3f,\n", report.xvfbMs);
    std::fprintf(file, "  \"allocationsCounted\": %s,\n  \"cases\": [",
                 report.allocationsCounted ? "true" : "false");
    for (size_t i = 0; i < report.cases.size(); ++i) {
        const CaseResult& r = report.cases[i];
        std::fprintf(file,
                     "%s\n    {\"width\": %d, \"height\": %d, \"case\": %s, \"fps\": %.3f, "
                     "\"medianMs\": %.4f, \"p95Ms\": %.4f, \"p99Ms\": %.4f, "
                     "\"emptyFps\": %.3f, \"emptyMedianMs\": %.4f, \"ratio\": %.4f, "
                     "\"allocationsPerFrame\": {\"own\": %.3f, \"glut\": %.3f, \"gl\": %.3f}}",
                     i == 0 ? "" : ",", r.width, r.height, JsonString(r.preset).c_str(), r.demo.fps,
                     r.demo.median, r.demo.p95, r.demo.p99, r.empty.fps, r.empty.median, Ratio(r),
                     r.allocationsOwn, r.allocationsGlut, r.allocationsGl);
    }
    std::fprintf(file, "\n  ]\n}\n");
    const bool closed = std::fclose(file) == 0;
    if (!closed) {
        *error = path + ": cannot write";
    }
    return closed;
}
