// The layer's one record of OpenGL state: what the entry points write and the draw path
// reads. Its initial values are the ones OpenGL 1.1 starts with.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "web/gl/Matrix.h"

namespace tavikgl {

constexpr int kMaxLights = 8;
constexpr size_t kModelViewDepth = 32;  // Mesa's stack depths
constexpr size_t kProjectionDepth = 32;
constexpr size_t kTextureDepth = 10;
constexpr size_t kAttribDepth = 16;

struct Colour {
    float v[4];
};

// One vertex as immediate mode and display lists keep it.
struct Vertex {
    float position[3];
    float colour[4];
    float normal[3];
    float texCoord[2];
};

struct Light {
    Colour ambient{{0, 0, 0, 1}};
    Colour diffuse{{0, 0, 0, 1}};
    Colour specular{{0, 0, 0, 1}};
    float position[4] = {0, 0, 1, 0};  // in eye coordinates
    float spotDirection[3] = {0, 0, -1};
    float spotExponent = 0.0f;
    float spotCutoff = 180.0f;
    float attenuation[3] = {1, 0, 0};  // constant, linear, quadratic
};

struct Material {
    Colour ambient{{0.2f, 0.2f, 0.2f, 1}};
    Colour diffuse{{0.8f, 0.8f, 0.8f, 1}};
    Colour specular{{0, 0, 0, 1}};
    Colour emission{{0, 0, 0, 1}};
    float shininess = 0.0f;
};

// The switches of glEnable and glDisable that change what the layer draws.
struct Enables {
    bool lighting = false;
    bool lights[kMaxLights] = {};
    bool colourMaterial = false;
    bool normalize = false;
    bool depthTest = false;
    bool blend = false;
    bool texture2D = false;
    bool pointSmooth = false;
    bool cullFace = false;
    bool scissorTest = false;
};

// Everything glPushAttrib can save, grouped as its bits are.
struct AttribState {
    Enables enables;
    // GL_CURRENT_BIT
    Colour colour{{1, 1, 1, 1}};
    float normal[3] = {0, 0, 1};
    float texCoord[2] = {0, 0};
    // GL_POLYGON_BIT
    GLenum polygonMode[2] = {GL_FILL, GL_FILL};  // front, back
    GLenum cullFaceMode = GL_BACK;
    GLenum frontFace = GL_CCW;
    // GL_VIEWPORT_BIT
    GLint viewport[4] = {0, 0, 0, 0};
    // GL_SCISSOR_BIT
    GLint scissor[4] = {0, 0, 0, 0};
    // GL_COLOR_BUFFER_BIT
    GLenum blendSource = GL_ONE;
    GLenum blendDestination = GL_ZERO;
    Colour clearColour{{0, 0, 0, 0}};
    // GL_DEPTH_BUFFER_BIT
    GLenum depthFunc = GL_LESS;
    bool depthMask = true;
    float clearDepth = 1.0f;
    // GL_POINT_BIT
    float pointSize = 1.0f;
    // GL_LIGHTING_BIT
    GLenum colourMaterialMode = GL_AMBIENT_AND_DIFFUSE;
    Colour modelAmbient{{0.2f, 0.2f, 0.2f, 1}};
    bool localViewer = false;
    Light lights[kMaxLights];
    Material material;
    // GL_TEXTURE_BIT
    GLuint boundTexture = 0;
};

struct SavedAttribs {
    GLbitfield mask;
    AttribState state;
};

struct TextureObject {
    GLuint gpuName = 0;  // 0 until an image is uploaded
    GLint width = 0;     // of level 0
    GLint height = 0;
    uint32_t levels = 0;  // bit n: level n has an image
    GLenum wrapS = GL_REPEAT;
    GLenum wrapT = GL_REPEAT;
    GLenum minFilter = GL_NEAREST_MIPMAP_LINEAR;
    GLenum magFilter = GL_LINEAR;
};

// A glBegin/glEnd group recorded into a display list, and its buffer once uploaded.
struct ListBatch {
    GLenum mode = GL_POINTS;
    std::vector<Vertex> vertices;
    bool setsColour = false;  // a colour, normal or texture coordinate given inside the
    bool setsNormal = false;  // group before its first vertex; otherwise the current one
    bool setsTexCoord = false;
    GLuint vertexBuffer = 0;
    GLuint indexBuffers[3] = {0, 0, 0};  // per polygon mode: fill, line, point
    GLsizei indexCounts[3] = {0, 0, 0};
};

// One step of a display list, in the order it was compiled.
struct ListOp {
    enum class Kind { kBatch, kColour, kNormal, kTexCoord, kCallList } kind;
    std::unique_ptr<ListBatch> batch;
    float values[4] = {0, 0, 0, 0};
    GLuint list = 0;
};

struct DisplayList {
    std::vector<ListOp> ops;
};

struct State {
    AttribState attribs;
    GLenum matrixMode = GL_MODELVIEW;
    std::vector<Matrix> modelView{Identity()};
    std::vector<Matrix> projection{Identity()};
    std::vector<Matrix> texture{Identity()};
    std::vector<SavedAttribs> attribStack;
    GLint packAlignment = 4;
    GLint unpackAlignment = 4;
    GLenum error = GL_NO_ERROR;
    // Whether the viewport and scissor box were set, or taken from the context's first size.
    bool viewportKnown = false;
    bool scissorKnown = false;

    // Immediate mode: the group between glBegin and glEnd.
    bool inBegin = false;
    GLenum beginMode = GL_POINTS;
    std::vector<Vertex> vertices;
    bool groupSetsColour = false;
    bool groupSetsNormal = false;
    bool groupSetsTexCoord = false;

    // Display lists: the one being compiled, and the ones that exist.
    GLuint compilingList = 0;
    GLenum compileMode = GL_COMPILE;
    DisplayList compiling;
    Vertex recording{};  // the colour, normal and texture coordinate the list has given
    std::map<GLuint, DisplayList> lists;
    GLuint listNamesUsed = 0;

    std::map<GLuint, TextureObject> textures;
    GLuint textureNamesUsed = 0;

    // What the shader's uniforms depend on changed since the last draw.
    bool matricesChanged = true;
    bool lightingChanged = true;
};

}  // namespace tavikgl
