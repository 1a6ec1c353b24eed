// The coloured spotlights that circle the scene, driven by channels 20 + 5 * light onward.
#pragma once

constexpr int kMaxLights = 8;

// Global ambient level, specular material and spot cone; enables count lights.
void SetupSpotlights(int count, float ambientLevel, float specularLevel);
// Colours and placement of count lights from the channels, through the current model-view matrix.
void UpdateSpotlights(int count, float ambientScale, float diffuseScale, float specularScale,
                      float intensity, float distance);
// A small textured square at a light's position, drawn with the bound texture.
void DrawLightSprite(int light, float distance);
