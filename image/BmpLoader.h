// The BMP loader: uncompressed 8, 24 and 32 bits per pixel, bottom-up or top-down.
#pragma once

#include "image/Image.h"

bool LoadBmp(const char* fileName, Image* image);
