// Tolerant picture comparison for the visual regression tests.
#include "tests/golden/PictureCompare.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {
bool Near(Rgb a, Rgb b, int channel) {
    return std::abs(a.r - b.r) <= channel && std::abs(a.g - b.g) <= channel &&
           std::abs(a.b - b.b) <= channel;
}

// True when some pixel of other within radius of (x, y) is near picture's pixel there.
bool HasMatch(const Picture& picture, const Picture& other, int x, int y,
              const CompareTolerance& tolerance) {
    const Rgb pixel = picture.At(x, y);
    for (int dy = -tolerance.radius; dy <= tolerance.radius; ++dy) {
        const int oy = y + dy;
        if (oy < 0 || oy >= other.height) {
            continue;
        }
        for (int dx = -tolerance.radius; dx <= tolerance.radius; ++dx) {
            const int ox = x + dx;
            if (ox >= 0 && ox < other.width && Near(pixel, other.At(ox, oy), tolerance.channel)) {
                return true;
            }
        }
    }
    return false;
}
}  // namespace

std::string CompareResult::Describe() const {
    if (!sameSize) {
        return "the pictures differ in size";
    }
    return std::to_string(mismatched) + " of " + std::to_string(pixels) +
           " pixels mismatch; the worst tile, at (" + std::to_string(worstTileX) + ", " +
           std::to_string(worstTileY) + "), holds " + std::to_string(worstTile);
}

CompareResult ComparePictures(const Picture& reference, const Picture& actual,
                              const CompareTolerance& tolerance, Picture* difference) {
    CompareResult result;
    result.sameSize = reference.width == actual.width && reference.height == actual.height &&
                      reference.width > 0 && reference.height > 0;
    if (!result.sameSize) {
        return result;
    }
    const int width = reference.width;
    const int height = reference.height;
    result.pixels = static_cast<long>(width) * height;
    const int tilesAcross = (width + tolerance.tile - 1) / tolerance.tile;
    const int tilesDown = (height + tolerance.tile - 1) / tolerance.tile;
    std::vector<int> tiles(static_cast<size_t>(tilesAcross) * tilesDown, 0);
    if (difference != nullptr) {
        *difference = Picture(width, height);
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool mismatch = !HasMatch(actual, reference, x, y, tolerance) ||
                                  !HasMatch(reference, actual, x, y, tolerance);
            if (mismatch) {
                ++result.mismatched;
                ++tiles[static_cast<size_t>(y / tolerance.tile) * tilesAcross + x / tolerance.tile];
            }
            if (difference != nullptr) {
                const Rgb r = reference.At(x, y);
                const uint8_t grey = static_cast<uint8_t>((r.r + r.g + r.b) / 9);
                difference->At(x, y) = mismatch ? Rgb{255, 0, 255} : Rgb{grey, grey, grey};
            }
        }
    }
    const auto worst = std::max_element(tiles.begin(), tiles.end());
    const int worstIndex = static_cast<int>(worst - tiles.begin());
    result.worstTile = *worst;
    result.worstTileX = worstIndex % tilesAcross * tolerance.tile;
    result.worstTileY = worstIndex / tilesAcross * tolerance.tile;
    result.passed = result.mismatched <= static_cast<long>(tolerance.maxShare * result.pixels) &&
                    result.worstTile <= tolerance.maxPerTile;
    return result;
}
