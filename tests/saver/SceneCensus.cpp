// Ring and star pixels of a screenshot, for the screensaver's end-to-end tests.
#include "tests/saver/SceneCensus.h"

#include <algorithm>
#include <chrono>

namespace {
constexpr int kBright = 40;
constexpr int kDark = 20;
constexpr int kReach = 4;
}  // namespace

SceneCensus CountScene(const Picture& shot) {
    SceneCensus census;
    const auto level = [&](int col, int row) {
        if (col < 0 || row < 0 || col >= shot.width || row >= shot.height) {
            return 0;
        }
        const Rgb p = shot.At(col, row);
        return std::max({int{p.r}, int{p.g}, int{p.b}});
    };
    for (int row = 0; row < shot.height; ++row) {
        for (int col = 0; col < shot.width; ++col) {
            if (level(col, row) <= kBright) {
                continue;
            }
            const int left = level(col - kReach, row), right = level(col + kReach, row);
            const int up = level(col, row - kReach), down = level(col, row + kReach);
            if (std::min({left, right, up, down}) > kBright) {
                ++census.ringPixels;
            } else if ((left < kDark && right < kDark) || (up < kDark && down < kDark)) {
                ++census.starPixels;
            }
        }
    }
    return census;
}

bool ShowsRingsAndStars(const Picture& shot) {
    const SceneCensus census = CountScene(shot);
    return census.ringPixels * 100 >= shot.width * shot.height && census.starPixels >= 20;
}

bool WaitFor(const std::function<bool()>& condition, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        SleepSeconds(0.05);
    }
    return true;
}
