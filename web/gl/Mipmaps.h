// GLU's image work for 8-bit images: gluScaleImage's box filter and the chain of mipmap
// levels gluBuild2DMipmaps makes (the image fitted to powers of two, then halved by 2 by 2
// averages down to 1 by 1).
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace tavikgl {

// Bytes per pixel of an 8-bit image of the format; 0 for a format WebGL 1 cannot take.
int ComponentsOf(GLenum format);

// Bytes from one row to the next for the row alignment (1, 2, 4 or 8).
size_t RowBytes(int width, int components, int alignment);

// gluScaleImage for 8-bit components: the input's rows aligned to unpackAlignment, the
// output's to packAlignment.
void ScaleImage(int components, int widthIn, int heightIn, const uint8_t* in, int unpackAlignment,
                int widthOut, int heightOut, uint8_t* out, int packAlignment);

// The power of two GLU fits a side to (3 -> 4, 5 -> 4, 6 -> 8).
int NearestPowerOfTwo(int value);

// Every level of the mipmap chain of the image (rows aligned to unpackAlignment), handed to
// upload tightly packed, level 0 first. Sides are fitted to powers of two no larger than
// maxSize first.
using LevelUpload = std::function<void(int level, int width, int height, const uint8_t* pixels)>;
void BuildMipmaps(int components, int width, int height, const uint8_t* pixels, int unpackAlignment,
                  int maxSize, const LevelUpload& upload);

}  // namespace tavikgl
