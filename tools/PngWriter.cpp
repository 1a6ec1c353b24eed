// PNG reading and writing through libpng's simplified API (png_image), which reports
// failures through a message buffer instead of longjmp.
#include "tools/PngWriter.h"

#include <png.h>

#include <cstring>

namespace {
// libpng's message, or a fallback when it gave none.
std::string Reason(const png_image& image, const char* fallback) {
    return image.message[0] != '\0' ? std::string(image.message) : std::string(fallback);
}
}  // namespace

bool WritePng(const std::string& path, const RgbPicture& picture, std::string* error) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgb.size() != static_cast<size_t>(picture.width) * picture.height * 3u) {
        *error = "empty or inconsistent picture";
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path.c_str(), 0, picture.rgb.data(), 0, nullptr)) {
        *error = path + ": " + Reason(image, "cannot write");
        return false;
    }
    return true;
}

bool ReadPng(const std::string& path, RgbPicture* picture, std::string* error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        *error = path + ": " + Reason(image, "cannot read");
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    picture->Resize(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, picture->rgb.data(), 0, nullptr)) {
        *error = path + ": " + Reason(image, "cannot decode");
        png_image_free(&image);
        return false;
    }
    return true;
}
