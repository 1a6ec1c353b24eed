// Primitive assembly as Mesa's draw module does it: every polygon is cut into triangles, each
// with flags for the edges that belong to the polygon's outline, and each triangle is then
// filled, drawn as its outline edges or as the corners that start them.
#include "web/gl/Primitives.h"

namespace tavikgl {

namespace {
constexpr unsigned kEdge0 = 1;  // v0 to v1
constexpr unsigned kEdge1 = 2;  // v1 to v2
constexpr unsigned kEdge2 = 4;  // v2 to v0
constexpr unsigned kAllEdges = kEdge0 | kEdge1 | kEdge2;

// One triangle of a polygon with the edges that are the polygon's own: its three corners
// when filled, those edges (v2-v0, v0-v1, v1-v2 in Mesa's order) as lines, and as points
// the corners that start such an edge.
void AppendTriangle(uint32_t v0, uint32_t v1, uint32_t v2, unsigned edges, Raster raster,
                    std::vector<uint32_t>* out) {
    switch (raster) {
        case kFill:
            out->insert(out->end(), {v0, v1, v2});
            break;
        case kLine:
            if (edges & kEdge2) out->insert(out->end(), {v2, v0});
            if (edges & kEdge0) out->insert(out->end(), {v0, v1});
            if (edges & kEdge1) out->insert(out->end(), {v1, v2});
            break;
        case kPoint:
            if (edges & kEdge0) out->push_back(v0);
            if (edges & kEdge1) out->push_back(v1);
            if (edges & kEdge2) out->push_back(v2);
            break;
    }
}

// A quad a b c d as Mesa cuts it: (a b d) and (b c d), the diagonal b-d hidden.
void AppendQuad(uint32_t a, uint32_t b, uint32_t c, uint32_t d, Raster raster,
                std::vector<uint32_t>* out) {
    AppendTriangle(a, b, d, kEdge0 | kEdge2, raster, out);
    AppendTriangle(b, c, d, kEdge0 | kEdge1, raster, out);
}

// The i-th triangle of a strip, every other one turned to keep the strip's winding.
void AppendStripTriangle(const uint32_t* strip, uint32_t i, Raster raster,
                         std::vector<uint32_t>* out) {
    AppendTriangle(strip[i + (i & 1)], strip[i + 1 - (i & 1)], strip[i + 2], kAllEdges, raster,
                   out);
}
}  // namespace

Raster RasterOf(GLenum polygonMode) {
    return polygonMode == GL_LINE ? kLine : polygonMode == GL_POINT ? kPoint : kFill;
}

bool IsBeginMode(GLenum beginMode) {
    return beginMode <= GL_POLYGON;  // GL_POINTS (0) to GL_POLYGON (9)
}

bool IsPolygonMode(GLenum beginMode) {
    return beginMode >= GL_TRIANGLES && beginMode <= GL_POLYGON;
}

GLenum DrawModeOf(GLenum beginMode, Raster raster) {
    if (beginMode == GL_POINTS) {
        return GL_POINTS;
    }
    if (!IsPolygonMode(beginMode)) {
        return GL_LINES;
    }
    return raster == kFill ? GL_TRIANGLES : raster == kLine ? GL_LINES : GL_POINTS;
}

void AppendIndices(GLenum beginMode, uint32_t count, Raster raster, std::vector<uint32_t>* out) {
    switch (beginMode) {
        case GL_POINTS:
            for (uint32_t i = 0; i < count; ++i) {
                out->push_back(i);
            }
            break;
        case GL_LINES:
            for (uint32_t i = 0; i + 1 < count; i += 2) {
                out->insert(out->end(), {i, i + 1});
            }
            break;
        case GL_LINE_LOOP:
        case GL_LINE_STRIP:
            for (uint32_t i = 0; i + 1 < count; ++i) {
                out->insert(out->end(), {i, i + 1});
            }
            if (beginMode == GL_LINE_LOOP && count > 1) {
                out->insert(out->end(), {count - 1, 0});
            }
            break;
        case GL_TRIANGLES:
            for (uint32_t i = 0; i + 2 < count; i += 3) {
                AppendTriangle(i, i + 1, i + 2, kAllEdges, raster, out);
            }
            break;
        case GL_TRIANGLE_STRIP:
            for (uint32_t i = 0; i + 2 < count; ++i) {
                AppendTriangle(i + (i & 1), i + 1 - (i & 1), i + 2, kAllEdges, raster, out);
            }
            break;
        case GL_TRIANGLE_FAN:
            for (uint32_t i = 1; i + 1 < count; ++i) {
                AppendTriangle(0, i, i + 1, kAllEdges, raster, out);
            }
            break;
        case GL_QUADS:
            for (uint32_t i = 0; i + 3 < count; i += 4) {
                AppendQuad(i, i + 1, i + 2, i + 3, raster, out);
            }
            break;
        case GL_QUAD_STRIP:
            for (uint32_t i = 0; i + 3 < count; i += 2) {
                AppendQuad(i + 2, i, i + 1, i + 3, raster, out);
            }
            break;
        case GL_POLYGON:
            // A fan around the first vertex, each triangle (i, i + 1, 0); only the outline's
            // edges count.
            for (uint32_t i = 1; i + 1 < count; ++i) {
                const unsigned edges =
                    kEdge0 | (i + 2 == count ? kEdge1 : 0u) | (i == 1 ? kEdge2 : 0u);
                AppendTriangle(i, i + 1, 0, edges, raster, out);
            }
            break;
        default:
            break;
    }
}

void AppendStripIndices(const uint32_t* strip, uint32_t count, Raster raster,
                        std::vector<uint32_t>* out) {
    for (uint32_t i = 0; i + 2 < count; ++i) {
        AppendStripTriangle(strip, i, raster, out);
    }
}

}  // namespace tavikgl
