// The browser's OpenGL 1.1 and GLU, as far as Tavik uses them, drawn with WebGL 1. The
// OpenGL, GLU and glutSolidTorus entry points themselves are the usual C names (web build
// only); this header holds what the page's host needs besides them.
#pragma once

// Puts back the state OpenGL starts with: matrices, lights, material, switches, current
// colour, no display lists and no textures. The context, the layer's shaders and buffers
// stay. A session started again in the same page begins from here.
void ResetGlLayerState();
