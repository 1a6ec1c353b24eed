// The layer's WebGL side: its shader program, its buffers and the WebGL state it last set.
// Created on first use once a context exists; draws what the State record describes.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <map>
#include <vector>

#include "web/gl/Primitives.h"
#include "web/gl/State.h"

namespace tavikgl {

class Renderer {
public:
    // Forgets what WebGL state was set (after a reset, or when someone else drew with the
    // context); the program and buffers stay.
    void ForgetAppliedState();
    // The window size the context started with (OpenGL's first viewport); zeros before the
    // context exists.
    bool InitialViewport(GLint out[4]);

    void Clear(State& state, GLbitfield mask);
    // An immediate-mode group, through the one streaming buffer. Filled groups are kept
    // until FlushPending, which the layer calls before any state changes.
    void DrawGroup(State& state, GLenum beginMode, const Vertex* vertices, uint32_t count);
    void FlushPending(State& state);
    // A display list's group: its vertices go to a buffer of their own once (glEndList),
    // its indices per polygon mode on first use.
    void UploadBatch(ListBatch& batch);
    void DrawBatch(State& state, ListBatch& batch);
    void DrawTorus(State& state, float innerRadius, float outerRadius, int sides, int rings);
    void ReleaseBatch(ListBatch& batch);

    // Textures: the WebGL texture behind one of the layer's texture objects.
    void UploadTexture(TextureObject& texture, GLint level, GLenum format, GLsizei width,
                       GLsizei height, const void* pixels, GLint unpackAlignment);
    void ApplyTextureParameters(const TextureObject& texture);
    void ReleaseTexture(TextureObject& texture);
    GLint MaxTextureSize();

    void Finish();
    void Flush();

private:
    struct TorusMesh {
        GLuint vertexBuffer = 0;
        GLuint indexBuffers[kRasterCount] = {0, 0, 0};
        GLsizei indexCounts[kRasterCount] = {0, 0, 0};
        GLsizei vertexCount = 0;
    };
    struct Uniforms {
        GLint modelView, projection, normalMatrix, torus, pointSize, lighting, normalize,
            localViewer, colourMaterial, modelAmbient, materialAmbient, materialDiffuse,
            materialSpecular, materialEmission, shininess, lightCount, lightAmbient, lightDiffuse,
            lightSpecular, lightPosition, lightSpot, lightAttenuation, texture, texturing;
    };
    // What a draw feeds the attributes from.
    enum class Source { kNone, kStream, kBatch, kTorus };

    bool Ready();
    void ApplyFixedState(State& state);
    void ApplyUniforms(State& state, GLenum drawMode, bool torus, float innerRadius,
                       float outerRadius);
    void BindVertexSource(Source source, GLuint buffer);
    void SetConstantAttribute(unsigned attribute, const float* value, int size);
    GLuint MakeIndexBuffer(const std::vector<uint32_t>& indices, GLsizei* count);
    void BindArrayBuffer(GLuint buffer);
    void BindElementBuffer(GLuint buffer);

    bool ready_ = false;
    bool failed_ = false;
    GLuint program_ = 0;
    Uniforms uniforms_{};
    GLint initialViewport_[4] = {0, 0, 0, 0};

    GLuint streamBuffer_ = 0;
    size_t streamCapacity_ = 0;  // bytes
    size_t streamOffset_ = 0;    // bytes, a whole number of vertices
    std::vector<uint32_t> indices_;
    std::vector<Vertex> pending_;  // filled groups not drawn yet, as triangles
    GLenum pendingMode_ = GL_TRIANGLES;
    std::vector<uint16_t> shortIndices_;

    std::map<uint32_t, TorusMesh> tori_;  // by sides << 16 | rings

    // The WebGL state last set; valid only while known_.
    bool known_ = false;
    Enables enabled_;
    GLenum blend_[2] = {0, 0};
    GLenum depthFunc_ = 0;
    bool depthMask_ = true;
    GLint viewport_[4] = {0, 0, 0, 0};
    GLint scissor_[4] = {0, 0, 0, 0};
    Colour clearColour_{{0, 0, 0, 0}};
    float clearDepth_ = 1.0f;
    GLenum cullFace_ = 0;
    GLenum frontFace_ = 0;
    GLuint arrayBuffer_ = 0;
    GLuint elementBuffer_ = 0;
    GLuint boundTexture_ = 0;
    Source source_ = Source::kNone;
    GLuint sourceBuffer_ = 0;
    bool arrayEnabled_[4] = {false, false, false, false};
    float constants_[4][4] = {};
    float lastTorus_[4] = {};
    float lastPointSize_ = 0.0f;
    GLint lastTexturing_ = -1;
};

}  // namespace tavikgl
