// Comparison of a rendered picture with its reference, tolerant of what differs between
// renderers (small colour steps, edges moved by a pixel, a few scattered pixels) but not of
// what a person would see as wrong (a colour, a missing shape, a moved or mirrored glyph).
#pragma once

#include <string>

#include "driver/Picture.h"

struct CompareTolerance {
    int channel = 24;         // largest difference in any channel that still matches
    int radius = 1;           // a match may lie this many pixels away (edges move by one)
    double maxShare = 0.002;  // share of the picture's pixels allowed to mismatch
    int tile = 16;            // side of the square tiles in which mismatches are counted ...
    int maxPerTile = 12;      // ... and how many one tile may hold (a glyph is about 8 x 12)
};

struct CompareResult {
    bool sameSize = false;
    long mismatched = 0;  // pixels without a match in the other picture near by
    long pixels = 0;
    int worstTile = 0;   // mismatches in the tile that holds the most
    int worstTileX = 0;  // that tile's top-left corner
    int worstTileY = 0;
    bool passed = false;

    std::string Describe() const;
};

// A pixel mismatches when no pixel of the other picture within the radius is within the
// channel tolerance of it, looking both ways (so that a shape missing from either picture
// counts). The pictures match when they have the same size, the mismatches stay within the
// share and no tile holds more than its limit. When difference is not null it receives the
// reference dimmed to grey with the mismatched pixels in magenta.
CompareResult ComparePictures(const Picture& reference, const Picture& actual,
                              const CompareTolerance& tolerance = CompareTolerance(),
                              Picture* difference = nullptr);
