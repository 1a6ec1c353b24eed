// The one picture type of the tools and the tests: 8-bit RGB pixels, rows from the top, with
// the counts the tests judge screens by and the files it is kept in (PNG through libpng, PPM).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
// glReadPixels and libpng fill arrays of Rgb as packed bytes.
static_assert(sizeof(Rgb) == 3, "Rgb must be three packed bytes");

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // width * height, rows from the top

    Picture() = default;
    // A black picture of the given size.
    Picture(int width, int height);
    Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    Rgb& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    // Pixels in the rectangle (cut to the picture) brighter than threshold in any channel.
    int CountBrighter(int x, int y, int w, int h, int threshold) const;
    // Pixels in the rectangle whose every channel is above threshold (white text, say).
    int CountWhite(int x, int y, int w, int h, int threshold) const;
    bool WritePpm(const std::string& path) const;
};

// Writes picture as an 8-bit RGB PNG; false (with the reason in *error) on failure.
bool WritePng(const std::string& path, const Picture& picture, std::string* error);
// Reads any PNG that libpng can turn into 8-bit RGB (palette, grey and alpha converted, alpha
// dropped); false (with the reason in *error) on failure.
bool ReadPng(const std::string& path, Picture* picture, std::string* error);
