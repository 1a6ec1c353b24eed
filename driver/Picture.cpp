// Pixel counts and picture files. PNG goes through libpng's simplified API (png_image), which
// reports failures through a message buffer instead of longjmp.
#include "driver/Picture.h"

#include <png.h>

#include <fstream>

namespace {
// Pixels in the rectangle, cut to the picture, with a channel above threshold, or with every
// channel above it.
int CountAbove(const Picture& picture, int x, int y, int w, int h, int threshold, bool every) {
    int count = 0;
    for (int row = y; row < y + h && row < picture.height; ++row) {
        for (int col = x; col < x + w && col < picture.width; ++col) {
            const Rgb p = picture.At(col, row);
            const int above = (p.r > threshold) + (p.g > threshold) + (p.b > threshold);
            count += every ? above == 3 : above > 0;
        }
    }
    return count;
}

bool Failed(const png_image& image, const std::string& path, const char* what, std::string* error) {
    *error = path + ": " + (image.message[0] != '\0' ? image.message : what);
    return false;
}
}  // namespace

Picture::Picture(int w, int h)
    : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), Rgb{0, 0, 0}) {}

int Picture::CountBrighter(int x, int y, int w, int h, int threshold) const {
    return CountAbove(*this, x, y, w, h, threshold, false);
}

int Picture::CountWhite(int x, int y, int w, int h, int threshold) const {
    return CountAbove(*this, x, y, w, h, threshold, true);
}

bool Picture::WritePpm(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << width << " " << height << "\n255\n";
    out.write(reinterpret_cast<const char*>(pixels.data()),
              static_cast<std::streamsize>(pixels.size() * sizeof(Rgb)));
    return static_cast<bool>(out);
}

bool WritePng(const std::string& path, const Picture& picture, std::string* error) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height) {
        *error = "empty or inconsistent picture";
        return false;
    }
    png_image image{};  // cleared, as libpng asks
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, picture.pixels.data(), 0, nullptr) ||
           Failed(image, path, "cannot write", error);
}

bool ReadPng(const std::string& path, Picture* picture, std::string* error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return Failed(image, path, "cannot read", error);
    }
    image.format = PNG_FORMAT_RGB;
    *picture = Picture(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, picture->pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return Failed(image, path, "cannot decode", error);
    }
    return true;
}
