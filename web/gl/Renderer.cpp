// The draw path: WebGL state and uniforms brought up to date from the State record (only
// what changed), then one draw call per group, list batch or torus.
#include "web/gl/Renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "web/gl/GlApi.h"
#include "web/gl/Shaders.h"
#include "web/gl/Torus.h"

namespace tavikgl {

namespace {
constexpr size_t kFirstStreamBytes = 256 * 1024;
constexpr size_t kMaxTori = 64;
constexpr uint32_t kMaxShortIndexed = 65536;
constexpr double kPi = 3.14159265358979323846;
constexpr GLuint kUnknown = ~0u;

GLuint Compile(GLenum type, const char* source) {
    const GlApi& gl = Gl();
    const GLuint shader = gl.CreateShader(type);
    gl.ShaderSource(shader, 1, &source, nullptr);
    gl.CompileShader(shader);
    GLint compiled = 0;
    gl.GetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == 0) {
        char log[1024] = "";
        gl.GetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "tavik gl layer: shader does not compile: %s\n", log);
        return 0;
    }
    return shader;
}

// Whether the texture can be sampled: level 0 and, for a mipmap filter, every level.
bool Complete(const TextureObject& texture) {
    if ((texture.levels & 1u) == 0) {
        return false;
    }
    if (texture.minFilter == GL_NEAREST || texture.minFilter == GL_LINEAR) {
        return true;
    }
    int last = 0;
    for (GLint side = std::max(texture.width, texture.height); side > 1; side /= 2) {
        ++last;
    }
    const uint32_t all = (2u << last) - 1u;
    return (texture.levels & all) == all;
}

GLint WrapOf(GLenum wrap) {
    return wrap == GL_REPEAT ? GL_REPEAT : GL_CLAMP_TO_EDGE;  // WebGL has no GL_CLAMP
}

bool Same(const float* a, const float* b, int n) {
    return std::memcmp(a, b, sizeof(float) * static_cast<size_t>(n)) == 0;
}
}  // namespace

void Renderer::ForgetAppliedState() {
    known_ = false;
    pending_.clear();
}

bool Renderer::InitialViewport(GLint out[4]) {
    if (!Ready()) {
        return false;
    }
    std::copy(initialViewport_, initialViewport_ + 4, out);
    return true;
}

bool Renderer::Ready() {
    if (ready_ || failed_) {
        return ready_;
    }
    const GlApi& gl = Gl();
    PrepareContext();
    const GLuint vertex = Compile(GL_VERTEX_SHADER, kVertexShader);
    const GLuint fragment = Compile(GL_FRAGMENT_SHADER, kFragmentShader);
    failed_ = vertex == 0 || fragment == 0;
    if (failed_) {
        return false;
    }
    program_ = gl.CreateProgram();
    gl.AttachShader(program_, vertex);
    gl.AttachShader(program_, fragment);
    gl.BindAttribLocation(program_, kPosition, "aPosition");
    gl.BindAttribLocation(program_, kColour, "aColour");
    gl.BindAttribLocation(program_, kNormal, "aNormal");
    gl.BindAttribLocation(program_, kTexCoord, "aTexCoord");
    gl.LinkProgram(program_);
    GLint linked = 0;
    gl.GetProgramiv(program_, GL_LINK_STATUS, &linked);
    if (linked == 0) {
        std::fprintf(stderr, "tavik gl layer: shaders do not link\n");
        failed_ = true;
        return false;
    }
    auto at = [&](const char* name) { return gl.GetUniformLocation(program_, name); };
    uniforms_ = Uniforms{at("uModelView"),        at("uProjection"),
                         at("uNormalMatrix"),     at("uTorus"),
                         at("uPointSize"),        at("uLighting"),
                         at("uNormalize"),        at("uLocalViewer"),
                         at("uColourMaterial"),   at("uModelAmbient"),
                         at("uMaterialAmbient"),  at("uMaterialDiffuse"),
                         at("uMaterialSpecular"), at("uMaterialEmission"),
                         at("uShininess"),        at("uLightCount"),
                         at("uLightAmbient"),     at("uLightDiffuse"),
                         at("uLightSpecular"),    at("uLightPosition"),
                         at("uLightSpot"),        at("uLightAttenuation"),
                         at("uTexture"),          at("uTexturing")};
    gl.GenBuffers(1, &streamBuffer_);
    gl.GetIntegerv(GL_VIEWPORT, initialViewport_);
    ready_ = true;
    known_ = false;
    return true;
}

void Renderer::ApplyFixedState(State& state) {
    const GlApi& gl = Gl();
    const AttribState& a = state.attribs;
    const bool all = !known_;
    if (all) {
        gl.UseProgram(program_);
        gl.Uniform1i(uniforms_.texture, 0);
        arrayBuffer_ = elementBuffer_ = boundTexture_ = kUnknown;
        source_ = Source::kNone;
        for (unsigned i = 0; i < 4; ++i) {
            gl.DisableVertexAttribArray(i);
            arrayEnabled_[i] = false;
            constants_[i][0] = NAN;
        }
        state.matricesChanged = true;
        state.lightingChanged = true;
        lastTorus_[0] = NAN;
        lastPointSize_ = NAN;
        lastTexturing_ = -1;
    }
    auto toggle = [&](bool want, bool& have, GLenum cap) {
        if (all || want != have) {
            (want ? gl.Enable : gl.Disable)(cap);
            have = want;
        }
    };
    toggle(a.enables.depthTest, enabled_.depthTest, GL_DEPTH_TEST);
    toggle(a.enables.blend, enabled_.blend, GL_BLEND);
    toggle(a.enables.cullFace, enabled_.cullFace, GL_CULL_FACE);
    toggle(a.enables.scissorTest, enabled_.scissorTest, GL_SCISSOR_TEST);
    if (all || blend_[0] != a.blendSource || blend_[1] != a.blendDestination) {
        gl.BlendFunc(a.blendSource, a.blendDestination);
        blend_[0] = a.blendSource;
        blend_[1] = a.blendDestination;
    }
    if (all || depthFunc_ != a.depthFunc) {
        gl.DepthFunc(a.depthFunc);
        depthFunc_ = a.depthFunc;
    }
    if (all || depthMask_ != a.depthMask) {
        gl.DepthMask(a.depthMask ? GL_TRUE : GL_FALSE);
        depthMask_ = a.depthMask;
    }
    if (all || !std::equal(a.viewport, a.viewport + 4, viewport_)) {
        gl.Viewport(a.viewport[0], a.viewport[1], a.viewport[2], a.viewport[3]);
        std::copy(a.viewport, a.viewport + 4, viewport_);
    }
    if (all || !std::equal(a.scissor, a.scissor + 4, scissor_)) {
        gl.Scissor(a.scissor[0], a.scissor[1], a.scissor[2], a.scissor[3]);
        std::copy(a.scissor, a.scissor + 4, scissor_);
    }
    if (all || !Same(a.clearColour.v, clearColour_.v, 4)) {
        gl.ClearColor(a.clearColour.v[0], a.clearColour.v[1], a.clearColour.v[2],
                      a.clearColour.v[3]);
        clearColour_ = a.clearColour;
    }
    if (all || clearDepth_ != a.clearDepth) {
        gl.ClearDepthf(a.clearDepth);
        clearDepth_ = a.clearDepth;
    }
    if (all || cullFace_ != a.cullFaceMode) {
        gl.CullFace(a.cullFaceMode);
        cullFace_ = a.cullFaceMode;
    }
    if (all || frontFace_ != a.frontFace) {
        gl.FrontFace(a.frontFace);
        frontFace_ = a.frontFace;
    }
    known_ = true;
}

void Renderer::ApplyUniforms(State& state, GLenum drawMode, bool torus, float innerRadius,
                             float outerRadius) {
    const GlApi& gl = Gl();
    const AttribState& a = state.attribs;
    if (state.matricesChanged) {
        const Matrix& modelView = state.modelView.back();
        float normal[9];
        NormalMatrix(modelView, normal);
        gl.UniformMatrix4fv(uniforms_.modelView, 1, GL_FALSE, modelView.m);
        gl.UniformMatrix4fv(uniforms_.projection, 1, GL_FALSE, state.projection.back().m);
        gl.UniformMatrix3fv(uniforms_.normalMatrix, 1, GL_FALSE, normal);
        state.matricesChanged = false;
    }
    if (state.lightingChanged) {
        gl.Uniform1i(uniforms_.lighting, a.enables.lighting);
        gl.Uniform1i(uniforms_.normalize, a.enables.normalize);
        gl.Uniform1i(uniforms_.localViewer, a.localViewer);
        float terms[4] = {0, 0, 0, 0};
        if (a.enables.colourMaterial) {
            const GLenum mode = a.colourMaterialMode;
            terms[0] = mode == GL_AMBIENT || mode == GL_AMBIENT_AND_DIFFUSE;
            terms[1] = mode == GL_DIFFUSE || mode == GL_AMBIENT_AND_DIFFUSE;
            terms[2] = mode == GL_SPECULAR;
            terms[3] = mode == GL_EMISSION;
        }
        gl.Uniform4fv(uniforms_.colourMaterial, 1, terms);
        gl.Uniform4fv(uniforms_.modelAmbient, 1, a.modelAmbient.v);
        gl.Uniform4fv(uniforms_.materialAmbient, 1, a.material.ambient.v);
        gl.Uniform4fv(uniforms_.materialDiffuse, 1, a.material.diffuse.v);
        gl.Uniform4fv(uniforms_.materialSpecular, 1, a.material.specular.v);
        gl.Uniform4fv(uniforms_.materialEmission, 1, a.material.emission.v);
        gl.Uniform1f(uniforms_.shininess, a.material.shininess);
        // The lights that are on, packed to the front: the shader loops over those only.
        GLint count = 0;
        float ambient[kMaxLights][4], diffuse[kMaxLights][4], specular[kMaxLights][4];
        float position[kMaxLights][4], spot[kMaxLights][4], attenuation[kMaxLights][4];
        for (int l = 0; l < kMaxLights; ++l) {
            if (!a.enables.lights[l]) {
                continue;
            }
            const Light& light = a.lights[l];
            const int i = count++;
            std::copy(light.ambient.v, light.ambient.v + 4, ambient[i]);
            std::copy(light.diffuse.v, light.diffuse.v + 4, diffuse[i]);
            std::copy(light.specular.v, light.specular.v + 4, specular[i]);
            std::copy(light.position, light.position + 4, position[i]);
            const float* d = light.spotDirection;
            const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
            const float scale = length > 0.0f ? 1.0f / length : 0.0f;
            const float cosine = light.spotCutoff == 180.0f
                                     ? -2.0f
                                     : static_cast<float>(std::cos(light.spotCutoff * kPi / 180.0));
            const float spotValues[4] = {d[0] * scale, d[1] * scale, d[2] * scale, cosine};
            std::copy(spotValues, spotValues + 4, spot[i]);
            std::copy(light.attenuation, light.attenuation + 3, attenuation[i]);
            attenuation[i][3] = light.spotExponent;
        }
        gl.Uniform1i(uniforms_.lightCount, count);
        if (count > 0) {
            gl.Uniform4fv(uniforms_.lightAmbient, count, &ambient[0][0]);
            gl.Uniform4fv(uniforms_.lightDiffuse, count, &diffuse[0][0]);
            gl.Uniform4fv(uniforms_.lightSpecular, count, &specular[0][0]);
            gl.Uniform4fv(uniforms_.lightPosition, count, &position[0][0]);
            gl.Uniform4fv(uniforms_.lightSpot, count, &spot[0][0]);
            gl.Uniform4fv(uniforms_.lightAttenuation, count, &attenuation[0][0]);
        }
        state.lightingChanged = false;
    }

    // Smooth or not, a point is a square of the point size, as Mesa's renderer draws it.
    const float pointSize = drawMode == GL_POINTS ? a.pointSize : 0.0f;
    if (pointSize != lastPointSize_) {
        gl.Uniform1f(uniforms_.pointSize, pointSize);
        lastPointSize_ = pointSize;
    }
    const float torusValues[4] = {torus ? 1.0f : 0.0f, innerRadius, outerRadius, 0};
    if (!Same(torusValues, lastTorus_, 4)) {
        gl.Uniform4fv(uniforms_.torus, 1, torusValues);
        std::copy(torusValues, torusValues + 4, lastTorus_);
    }

    GLuint texture = 0;
    if (a.enables.texture2D) {
        const auto found = state.textures.find(a.boundTexture);
        if (found != state.textures.end() && Complete(found->second)) {
            texture = found->second.gpuName;
        }
    }
    if (texture != 0 && boundTexture_ != texture) {
        gl.BindTexture(GL_TEXTURE_2D, texture);
        boundTexture_ = texture;
    }
    const GLint texturing = texture != 0;
    if (texturing != lastTexturing_) {
        gl.Uniform1i(uniforms_.texturing, texturing);
        lastTexturing_ = texturing;
    }
}

void Renderer::BindArrayBuffer(GLuint buffer) {
    if (arrayBuffer_ != buffer) {
        Gl().BindBuffer(GL_ARRAY_BUFFER, buffer);
        arrayBuffer_ = buffer;
        source_ = Source::kNone;
    }
}

void Renderer::BindElementBuffer(GLuint buffer) {
    if (elementBuffer_ != buffer) {
        Gl().BindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
        elementBuffer_ = buffer;
    }
}

void Renderer::BindVertexSource(Source source, GLuint buffer) {
    const GlApi& gl = Gl();
    BindArrayBuffer(buffer);
    auto enable = [&](unsigned attribute, bool on) {
        if (arrayEnabled_[attribute] != on) {
            (on ? gl.EnableVertexAttribArray : gl.DisableVertexAttribArray)(attribute);
            arrayEnabled_[attribute] = on;
        }
    };
    const bool vertices = source != Source::kTorus;
    if (source_ != source || sourceBuffer_ != buffer) {
        if (vertices) {
            const GLsizei stride = sizeof(Vertex);
            auto at = [](size_t offset) { return reinterpret_cast<const void*>(offset); };
            gl.VertexAttribPointer(kPosition, 3, GL_FLOAT, GL_FALSE, stride,
                                   at(offsetof(Vertex, position)));
            gl.VertexAttribPointer(kColour, 4, GL_FLOAT, GL_FALSE, stride,
                                   at(offsetof(Vertex, colour)));
            gl.VertexAttribPointer(kNormal, 3, GL_FLOAT, GL_FALSE, stride,
                                   at(offsetof(Vertex, normal)));
            gl.VertexAttribPointer(kTexCoord, 2, GL_FLOAT, GL_FALSE, stride,
                                   at(offsetof(Vertex, texCoord)));
        } else {
            gl.VertexAttribPointer(kPosition, 4, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
        }
        source_ = source;
        sourceBuffer_ = buffer;
    }
    enable(kPosition, true);
    for (unsigned attribute : {kColour, kNormal, kTexCoord}) {
        enable(attribute, vertices);
    }
}

void Renderer::SetConstantAttribute(unsigned attribute, const float* value, int size) {
    const GlApi& gl = Gl();
    if (arrayEnabled_[attribute]) {
        gl.DisableVertexAttribArray(attribute);
        arrayEnabled_[attribute] = false;
    }
    float full[4] = {0, 0, 0, 1};
    std::copy(value, value + size, full);
    if (!Same(full, constants_[attribute], 4)) {
        gl.VertexAttrib4fv(attribute, full);
        std::copy(full, full + 4, constants_[attribute]);
    }
}

GLuint Renderer::MakeIndexBuffer(const std::vector<uint32_t>& indices, GLsizei* count) {
    shortIndices_.assign(indices.begin(), indices.end());
    GLuint buffer = 0;
    Gl().GenBuffers(1, &buffer);
    BindElementBuffer(buffer);
    Gl().BufferData(GL_ELEMENT_ARRAY_BUFFER,
                    static_cast<std::ptrdiff_t>(shortIndices_.size() * sizeof(uint16_t)),
                    shortIndices_.data(), GL_STATIC_DRAW);
    *count = static_cast<GLsizei>(shortIndices_.size());
    return buffer;
}

void Renderer::Clear(State& state, GLbitfield mask) {
    FlushPending(state);
    if (!Ready()) {
        return;
    }
    ApplyFixedState(state);
    Gl().Clear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT));
}

void Renderer::DrawGroup(State& state, GLenum beginMode, const Vertex* vertices, uint32_t count) {
    const Raster raster = RasterOf(state.attribs.polygonMode[0]);
    const GLenum drawMode = DrawModeOf(beginMode, raster);
    indices_.clear();
    AppendIndices(beginMode, count, raster, &indices_);
    if (drawMode != GL_TRIANGLES) {
        FlushPending(state);
    }
    for (uint32_t index : indices_) {
        pending_.push_back(vertices[index]);
    }
    // Filled groups wait for the next state change (or the end of the frame's calls) and are
    // drawn together: a line of text is one draw call rather than one per glyph.
    pendingMode_ = drawMode;
    if (drawMode != GL_TRIANGLES) {
        FlushPending(state);
    }
}

void Renderer::FlushPending(State& state) {
    if (pending_.empty()) {
        return;
    }
    if (!Ready()) {
        pending_.clear();
        return;
    }
    ApplyFixedState(state);
    const size_t bytes = pending_.size() * sizeof(Vertex);
    const GlApi& gl = Gl();
    BindArrayBuffer(streamBuffer_);
    if (bytes > streamCapacity_) {
        streamCapacity_ = std::max({bytes, 2 * streamCapacity_, kFirstStreamBytes});
        streamCapacity_ -= streamCapacity_ % sizeof(Vertex);
        gl.BufferData(GL_ARRAY_BUFFER, static_cast<std::ptrdiff_t>(streamCapacity_), nullptr,
                      GL_DYNAMIC_DRAW);
        streamOffset_ = 0;
    }
    if (streamOffset_ + bytes > streamCapacity_) {
        streamOffset_ = 0;
    }
    gl.BufferSubData(GL_ARRAY_BUFFER, static_cast<std::ptrdiff_t>(streamOffset_),
                     static_cast<std::ptrdiff_t>(bytes), pending_.data());
    BindVertexSource(Source::kStream, streamBuffer_);
    ApplyUniforms(state, pendingMode_, false, 0.0f, 0.0f);
    gl.DrawArrays(pendingMode_, static_cast<GLint>(streamOffset_ / sizeof(Vertex)),
                  static_cast<GLsizei>(pending_.size()));
    streamOffset_ += bytes;
    pending_.clear();
}

void Renderer::DrawBatch(State& state, ListBatch& batch) {
    FlushPending(state);
    const AttribState& a = state.attribs;
    const uint32_t count = static_cast<uint32_t>(batch.vertices.size());
    if (count > kMaxShortIndexed) {
        // Too many vertices for 16-bit indices: drawn as an immediate group instead.
        std::vector<Vertex> copy = batch.vertices;
        for (Vertex& v : copy) {
            if (!batch.setsColour) std::copy(a.colour.v, a.colour.v + 4, v.colour);
            if (!batch.setsNormal) std::copy(a.normal, a.normal + 3, v.normal);
            if (!batch.setsTexCoord) std::copy(a.texCoord, a.texCoord + 2, v.texCoord);
        }
        DrawGroup(state, batch.mode, copy.data(), count);
        return;
    }
    if (!Ready() || count == 0) {
        return;
    }
    ApplyFixedState(state);
    const GlApi& gl = Gl();
    const Raster raster = IsPolygonMode(batch.mode) ? RasterOf(a.polygonMode[0]) : kFill;
    const GLenum drawMode = DrawModeOf(batch.mode, raster);
    UploadBatch(batch);
    BindVertexSource(Source::kBatch, batch.vertexBuffer);
    if (!batch.setsColour) SetConstantAttribute(kColour, a.colour.v, 4);
    if (!batch.setsNormal) SetConstantAttribute(kNormal, a.normal, 3);
    if (!batch.setsTexCoord) SetConstantAttribute(kTexCoord, a.texCoord, 2);
    ApplyUniforms(state, drawMode, false, 0.0f, 0.0f);
    if (batch.mode == GL_POINTS) {
        gl.DrawArrays(GL_POINTS, 0, static_cast<GLsizei>(count));
        return;
    }
    if (batch.indexBuffers[raster] == 0) {
        indices_.clear();
        AppendIndices(batch.mode, count, raster, &indices_);
        batch.indexBuffers[raster] = MakeIndexBuffer(indices_, &batch.indexCounts[raster]);
    }
    BindElementBuffer(batch.indexBuffers[raster]);
    gl.DrawElements(drawMode, batch.indexCounts[raster], GL_UNSIGNED_SHORT, nullptr);
}

void Renderer::UploadBatch(ListBatch& batch) {
    const size_t count = batch.vertices.size();
    if (batch.vertexBuffer != 0 || count == 0 || count > kMaxShortIndexed || !Ready()) {
        return;
    }
    Gl().GenBuffers(1, &batch.vertexBuffer);
    BindArrayBuffer(batch.vertexBuffer);
    Gl().BufferData(GL_ARRAY_BUFFER, static_cast<std::ptrdiff_t>(count * sizeof(Vertex)),
                    batch.vertices.data(), GL_STATIC_DRAW);
}

void Renderer::DrawTorus(State& state, float innerRadius, float outerRadius, int sides, int rings) {
    if (!Ready()) {
        return;
    }
    ApplyFixedState(state);
    const GlApi& gl = Gl();
    const uint32_t key = static_cast<uint32_t>(sides) << 16 | static_cast<uint32_t>(rings);
    auto found = tori_.find(key);
    if (found == tori_.end()) {
        TorusGeometry geometry;
        if (sides > 0xffff || rings > 0xffff || !MakeTorus(sides, rings, &geometry)) {
            return;
        }
        if (tori_.size() >= kMaxTori) {
            for (auto& entry : tori_) {
                gl.DeleteBuffers(1, &entry.second.vertexBuffer);
                gl.DeleteBuffers(kRasterCount, entry.second.indexBuffers);
            }
            tori_.clear();
            elementBuffer_ = arrayBuffer_ = kUnknown;
            source_ = Source::kNone;
        }
        TorusMesh mesh;
        mesh.vertexCount = static_cast<GLsizei>(geometry.angles.size() / 4);
        gl.GenBuffers(1, &mesh.vertexBuffer);
        BindArrayBuffer(mesh.vertexBuffer);
        gl.BufferData(GL_ARRAY_BUFFER,
                      static_cast<std::ptrdiff_t>(geometry.angles.size() * sizeof(float)),
                      geometry.angles.data(), GL_STATIC_DRAW);
        for (Raster raster : {kFill, kLine}) {
            indices_.clear();
            for (uint32_t strip = 0; strip < geometry.stripCount; ++strip) {
                AppendStripIndices(&geometry.strips[strip * geometry.stripLength],
                                   geometry.stripLength, raster, &indices_);
            }
            mesh.indexBuffers[raster] = MakeIndexBuffer(indices_, &mesh.indexCounts[raster]);
        }
        found = tori_.emplace(key, mesh).first;
    }
    const TorusMesh& mesh = found->second;
    const AttribState& a = state.attribs;
    BindVertexSource(Source::kTorus, mesh.vertexBuffer);
    SetConstantAttribute(kColour, a.colour.v, 4);
    SetConstantAttribute(kTexCoord, a.texCoord, 2);
    const Raster raster = RasterOf(a.polygonMode[0]);
    const GLenum drawMode = DrawModeOf(GL_TRIANGLE_STRIP, raster);
    ApplyUniforms(state, drawMode, true, innerRadius, outerRadius);
    if (raster == kPoint) {
        // Every vertex belongs to some triangle: each is drawn once.
        gl.DrawArrays(GL_POINTS, 0, mesh.vertexCount);
        return;
    }
    BindElementBuffer(mesh.indexBuffers[raster]);
    gl.DrawElements(drawMode, mesh.indexCounts[raster], GL_UNSIGNED_SHORT, nullptr);
}

void Renderer::ReleaseBatch(ListBatch& batch) {
    if (!ready_) {
        return;
    }
    const GlApi& gl = Gl();
    if (batch.vertexBuffer != 0) {
        gl.DeleteBuffers(1, &batch.vertexBuffer);
    }
    for (GLuint& buffer : batch.indexBuffers) {
        if (buffer != 0) {
            gl.DeleteBuffers(1, &buffer);
        }
        buffer = 0;
    }
    batch.vertexBuffer = 0;
    arrayBuffer_ = elementBuffer_ = kUnknown;
    source_ = Source::kNone;
}

void Renderer::UploadTexture(TextureObject& texture, GLint level, GLenum format, GLsizei width,
                             GLsizei height, const void* pixels, GLint unpackAlignment) {
    if (!Ready()) {
        return;
    }
    const GlApi& gl = Gl();
    if (texture.gpuName == 0) {
        gl.GenTextures(1, &texture.gpuName);
        ApplyTextureParameters(texture);
    }
    if (boundTexture_ != texture.gpuName) {
        gl.BindTexture(GL_TEXTURE_2D, texture.gpuName);
        boundTexture_ = texture.gpuName;
    }
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
    gl.TexImage2D(GL_TEXTURE_2D, level, static_cast<GLint>(format), width, height, 0, format,
                  GL_UNSIGNED_BYTE, pixels);
}

void Renderer::ApplyTextureParameters(const TextureObject& texture) {
    if (!ready_ || texture.gpuName == 0) {
        return;
    }
    const GlApi& gl = Gl();
    gl.BindTexture(GL_TEXTURE_2D, texture.gpuName);
    boundTexture_ = texture.gpuName;
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, WrapOf(texture.wrapS));
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, WrapOf(texture.wrapT));
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(texture.minFilter));
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(texture.magFilter));
}

void Renderer::ReleaseTexture(TextureObject& texture) {
    if (ready_ && texture.gpuName != 0) {
        Gl().DeleteTextures(1, &texture.gpuName);
        if (boundTexture_ == texture.gpuName) {
            boundTexture_ = kUnknown;
        }
    }
    texture.gpuName = 0;
}

GLint Renderer::MaxTextureSize() {
    GLint size = 2048;
    if (Ready()) {
        Gl().GetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    }
    return size;
}

void Renderer::Finish() {
    if (ready_) {
        Gl().Finish();
    }
}

void Renderer::Flush() {
    if (ready_) {
        Gl().Flush();
    }
}

}  // namespace tavikgl
