// Primitive assembly: every polygon of a group as a face (its vertices in order), then the
// face's triangles, edges or points. Mesa cuts a quad into (v0 v1 v3) and (v1 v2 v3) and
// draws a triangle's edges v2-v0, v0-v1, v1-v2; the layer does the same.
#include "web/gl/Primitives.h"

namespace tavikgl {

namespace {
void AppendFace(const uint32_t* face, uint32_t size, Raster raster, std::vector<uint32_t>* out) {
    switch (raster) {
        case kFill:
            if (size == 4) {
                out->insert(out->end(), {face[0], face[1], face[3], face[1], face[2], face[3]});
            } else {
                for (uint32_t i = 1; i + 1 < size; ++i) {
                    out->insert(out->end(), {face[0], face[i], face[i + 1]});
                }
            }
            break;
        case kLine:
            out->insert(out->end(), {face[size - 1], face[0]});
            for (uint32_t i = 0; i + 1 < size; ++i) {
                out->insert(out->end(), {face[i], face[i + 1]});
            }
            break;
        case kPoint:
            out->insert(out->end(), face, face + size);
            break;
    }
}

// The i-th triangle of a strip, keeping every triangle's winding.
void AppendStripTriangle(const uint32_t* strip, uint32_t i, Raster raster,
                         std::vector<uint32_t>* out) {
    const uint32_t face[3] = {strip[i + (i & 1)], strip[i + 1 - (i & 1)], strip[i + 2]};
    AppendFace(face, 3, raster, out);
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
                const uint32_t face[3] = {i, i + 1, i + 2};
                AppendFace(face, 3, raster, out);
            }
            break;
        case GL_TRIANGLE_STRIP:
            for (uint32_t i = 0; i + 2 < count; ++i) {
                const uint32_t face[3] = {i + (i & 1), i + 1 - (i & 1), i + 2};
                AppendFace(face, 3, raster, out);
            }
            break;
        case GL_TRIANGLE_FAN:
            for (uint32_t i = 1; i + 1 < count; ++i) {
                const uint32_t face[3] = {0, i, i + 1};
                AppendFace(face, 3, raster, out);
            }
            break;
        case GL_QUADS:
            for (uint32_t i = 0; i + 3 < count; i += 4) {
                const uint32_t face[4] = {i, i + 1, i + 2, i + 3};
                AppendFace(face, 4, raster, out);
            }
            break;
        case GL_QUAD_STRIP:
            for (uint32_t i = 0; i + 3 < count; i += 2) {
                const uint32_t face[4] = {i, i + 1, i + 3, i + 2};
                AppendFace(face, 4, raster, out);
            }
            break;
        case GL_POLYGON:
            if (count >= 3) {
                std::vector<uint32_t> face(count);
                for (uint32_t i = 0; i < count; ++i) {
                    face[i] = i;
                }
                AppendFace(face.data(), count, raster, out);
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
