// Scene start-up and shut-down (the AppInit and AppShutdown hooks of AppHooks.h), and the
// pieces of start-up that the reset key and other hosts of the scene share.
#pragma once

class Texture;

// Specular level of the spotlights at start-up, and after the reset key.
constexpr float kStartSpecularLevel = 0.6f;
constexpr float kResetSpecularLevel = 0.9f;

// The scene's set-up after ResetSettings: channels seeded, two spotlights with the given
// specular level, and the star field built anew. Start-up and the reset key share it.
void SetupScene(float specularLevel);
// The start-up that every host of the scene runs once its OpenGL context is current and the
// settings are reset, in this order: the view, the fixed OpenGL state (colour material,
// local viewer, shininess, smooth shading, the blend function with blending itself off,
// point smoothing, the depth test), the scene with the start-up specular level, and the font
// from fontPath handed to the text overlay. A missing or broken font leaves the texture
// empty (text then draws as white blocks) and gives false.
bool StartScene(const char* fontPath);

// The font texture that start-up loads; null before the first load, and again once
// ForgetLoadedFont has run.
const Texture* LoadedFont();
// Lets go of the loaded font's handle without deleting the texture (AppShutdown has already
// released it through the text overlay) and leaves LoadedFont null, as the program starts.
void ForgetLoadedFont();
