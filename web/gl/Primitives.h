// How a glBegin group becomes WebGL primitives: polygons as triangles, as their edges or as
// their vertices (glPolygonMode), drawn in the order OpenGL draws them.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

namespace tavikgl {

// The three ways a polygon is rasterised, as indices into per-mode tables.
enum Raster : int { kFill = 0, kLine = 1, kPoint = 2 };
constexpr int kRasterCount = 3;

Raster RasterOf(GLenum polygonMode);
bool IsPolygonMode(GLenum beginMode);
bool IsBeginMode(GLenum beginMode);

// The WebGL primitive a group of beginMode is drawn with under raster.
GLenum DrawModeOf(GLenum beginMode, Raster raster);

// Appends to out the indices (into the group's count vertices) of the WebGL primitives:
// polygons are cut into triangles; their edges are the polygons' own boundaries (a quad's
// diagonal is no edge, a triangle strip's triangles each have three); their points are the
// polygons' vertices, once per polygon.
void AppendIndices(GLenum beginMode, uint32_t count, Raster raster, std::vector<uint32_t>* out);

// The same for a triangle strip whose vertices are strip[0..count).
void AppendStripIndices(const uint32_t* strip, uint32_t count, Raster raster,
                        std::vector<uint32_t>* out);

}  // namespace tavikgl
