// One OpenGL texture object built from an Image (optionally with a separate 8-bit alpha
// image) as a mipmapped 2-D texture. A Texture is a plain value: copies share the texture.
#pragma once

#include <cstdint>

#include "image/Image.h"

class Texture {
public:
    Texture() : handle(0) {}
    ~Texture() { Release(); }
    Texture(const Texture&) = default;
    Texture& operator=(const Texture&) = default;

    // Deletes the held texture, if any.
    void Release();
    // Binds the held texture to GL_TEXTURE_2D; an empty texture binds texture 0.
    void Bind() const;
    // Loads an image with loader and creates the texture from it; a failed load changes nothing.
    bool Load(const char* fileName, ImageLoader loader);
    // Replaces the held texture with one built from image (and alphaImage, may be null).
    bool Create(const Image& image, const Image* alphaImage);

    // The OpenGL texture name plus one; 0 when empty.
    uint32_t handle;
};
