// Scene start-up and shut-down (the AppInit and AppShutdown hooks of AppHooks.h), and the
// pieces of start-up that the reset key and other hosts of the scene share.
#pragma once

class Texture;

// Specular level of the spotlights at start-up, and after the reset key.
constexpr float kStartSpecularLevel = 0.6f;
constexpr float kResetSpecularLevel = 0.9f;

// The scene's set-up after ResetSettings: channels seeded, two spotlights with the given
// specular level, and the star field built anew. AppInit, the reset key and any other host
// of the scene run this one sequence.
void SetupScene(float specularLevel);
// The OpenGL state that start-up sets once and no frame changes: colour material, local
// viewer, shininess, smooth shading, the blend function (blending itself stays off), point
// smoothing and the depth test.
void SetFixedGlState();
// Loads the font from path into the loaded font and hands it to the text overlay. A missing
// or broken file leaves the texture empty (text then draws as white blocks) and gives false.
bool LoadOverlayFont(const char* path);

// The font texture that start-up loads; null before the first load.
const Texture* LoadedFont();
