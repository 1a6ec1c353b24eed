// PNG files of 8-bit RGB pictures through libpng, for the snapshot tool's output and the
// visual regression tests that compare against committed references.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An 8-bit RGB picture, rows from the top, no padding between rows.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // width * height * 3 bytes

    void Resize(int w, int h) {
        width = w;
        height = h;
        rgb.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * 3u, 0);
    }
    uint8_t* At(int x, int y) { return &rgb[(static_cast<size_t>(y) * width + x) * 3u]; }
    const uint8_t* At(int x, int y) const {
        return &rgb[(static_cast<size_t>(y) * width + x) * 3u];
    }
};

// Writes picture as an 8-bit RGB PNG; false (with the reason in *error) on failure.
bool WritePng(const std::string& path, const RgbPicture& picture, std::string* error);
// Reads any PNG that libpng can turn into 8-bit RGB (palette, grey and alpha are converted,
// alpha dropped); false (with the reason in *error) on failure.
bool ReadPng(const std::string& path, RgbPicture* picture, std::string* error);
