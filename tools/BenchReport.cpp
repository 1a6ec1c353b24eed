// The report's table and JSON: one row, one object, a case.
#include "tools/BenchReport.h"

#include <algorithm>
#include <cstdio>

namespace {
std::string SizeName(const CaseResult& r) {
    return std::to_string(r.width) + "x" + std::to_string(r.height);
}

// The demo's median frame time over the empty frame's.
double Ratio(const CaseResult& r) {
    return r.empty.median > 0.0 ? r.demo.median / r.empty.median : 0.0;
}

// A JSON string: quotes and backslashes escaped, control characters left out.
std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        if (static_cast<unsigned char>(c) >= 0x20) {
            out += c;
        }
    }
    return out + "\"";
}
}  // namespace

FrameTimes Summarise(std::vector<double> times) {
    FrameTimes result;
    double total = 0.0;
    for (const double t : times) {
        total += t;
    }
    std::sort(times.begin(), times.end());
    const auto rank = [&times](double share) {
        const size_t index = static_cast<size_t>(share * times.size() + 0.999999);
        return times.empty() ? 0.0 : times[std::min(std::max<size_t>(index, 1), times.size()) - 1];
    };
    result.fps = total > 0.0 ? 1000.0 * times.size() / total : 0.0;
    result.median = rank(0.50);
    result.p95 = rank(0.95);
    result.p99 = rank(0.99);
    return result;
}

void PrintReport(const BenchReport& report) {
    std::printf(
        "Tavik benchmark: %d timed frames after %d warm-up frames per case, clock step "
        "%d ms\nrenderer:    %s\n",
        report.frames, report.warmup, report.stepMs, report.renderer.c_str());
    if (report.countedFrames > 0) {
        std::printf("allocations: per frame, counted over %d frames after the warm-up\n",
                    report.countedFrames);
    } else {
        std::printf("allocations: not counted (sanitizer build)\n");
    }
    std::printf("\n%-10s %-10s %8s %9s %8s %8s %9s %7s %9s %11s\n", "size", "case", "fps",
                "median_ms", "p95_ms", "p99_ms", "empty_ms", "ratio", "own_alloc", "other_alloc");
    for (const CaseResult& r : report.cases) {
        std::printf("%-10s %-10s %8.1f %9.3f %8.3f %8.3f %9.3f %7.2f %9.2f %11.2f\n",
                    SizeName(r).c_str(), r.preset.c_str(), r.demo.fps, r.demo.median, r.demo.p95,
                    r.demo.p99, r.empty.median, Ratio(r), r.ownAllocations, r.otherAllocations);
    }
}

bool WriteJsonReport(const BenchReport& report, const std::string& path, std::string* error) {
    FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        *error = path + ": cannot write";
        return false;
    }
    std::fprintf(file,
                 "{\n  \"renderer\": %s,\n  \"frames\": %d,\n  \"warmupFrames\": %d,\n"
                 "  \"stepMs\": %d,\n  \"allocationsCounted\": %s,\n  \"cases\": [",
                 JsonString(report.renderer).c_str(), report.frames, report.warmup, report.stepMs,
                 report.countedFrames > 0 ? "true" : "false");
    for (size_t i = 0; i < report.cases.size(); ++i) {
        const CaseResult& r = report.cases[i];
        std::fprintf(file,
                     "%s\n    {\"width\": %d, \"height\": %d, \"case\": %s, \"fps\": %.3f, "
                     "\"medianMs\": %.4f, \"p95Ms\": %.4f, \"p99Ms\": %.4f, "
                     "\"emptyFps\": %.3f, \"emptyMedianMs\": %.4f, \"ratio\": %.4f, "
                     "\"allocationsPerFrame\": {\"own\": %.3f, \"other\": %.3f}}",
                     i == 0 ? "" : ",", r.width, r.height, JsonString(r.preset).c_str(), r.demo.fps,
                     r.demo.median, r.demo.p95, r.demo.p99, r.empty.fps, r.empty.median, Ratio(r),
                     r.ownAllocations, r.otherAllocations);
    }
    std::fprintf(file, "\n  ]\n}\n");
    const bool written = std::fclose(file) == 0;
    *error = written ? "" : path + ": cannot write";
    return written;
}
