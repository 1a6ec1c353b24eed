// The layer's one shader pair (GLSL ES 1.00): OpenGL 1.1's vertex lighting and transform,
// the texture environment GL_MODULATE, and points of the point size.
#pragma once

namespace tavikgl {

extern const char* const kVertexShader;
extern const char* const kFragmentShader;

// Attribute locations, bound before linking.
enum Attribute : unsigned { kPosition = 0, kColour = 1, kNormal = 2, kTexCoord = 3 };

}  // namespace tavikgl
