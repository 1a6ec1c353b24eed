// The layer's OpenGL 1.1 state machine: every entry point checks its arguments as OpenGL
// does (recording the first error for glGetError), updates the State record, and hands
// drawing to the Renderer. Display lists are compiled into batches that the Renderer keeps
// in buffers of their own.
#include "web/gl/Core.h"

#include <GL/glu.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "web/gl/GlLayer.h"
#include "web/gl/Mipmaps.h"
#include "web/gl/Renderer.h"

namespace tavikgl {

namespace {
constexpr GLfloat kMaxSpotExponent = 128.0f;  // Mesa's limits
constexpr GLfloat kMaxShininess = 128.0f;
constexpr GLint kMaxViewport = 16384;
constexpr int kMaxListNesting = 64;

State InitialState() {
    State initial;
    initial.attribs.lights[0].diffuse = Colour{{1, 1, 1, 1}};
    initial.attribs.lights[0].specular = Colour{{1, 1, 1, 1}};
    return initial;
}

State state = InitialState();
Renderer renderer;

void SetError(GLenum error) {
    if (state.error == GL_NO_ERROR) {
        state.error = error;
    }
}

// Most calls are errors between glBegin and glEnd. Outside, they may change state, so the
// groups waiting to be drawn together are drawn first, with the state they were given in.
bool InsideBegin() {
    if (state.inBegin) {
        SetError(GL_INVALID_OPERATION);
        return true;
    }
    renderer.FlushPending(state);
    return false;
}

// Valid OpenGL that Tavik never asks for: reported in a debug build, otherwise ignored.
void Unsupported(const char* what, GLenum value) {
#ifndef NDEBUG
    std::fprintf(stderr, "tavik gl layer: %s 0x%04x is not implemented\n", what, value);
#else
    (void)what;
    (void)value;
#endif
}

bool Compiling() {
    return state.compilingList != 0;
}

// The current colour, normal and texture coordinate as a vertex at the origin.
Vertex CurrentAttributes() {
    const AttribState& a = state.attribs;
    Vertex v{};
    std::copy(a.colour.v, a.colour.v + 4, v.colour);
    std::copy(a.normal, a.normal + 3, v.normal);
    std::copy(a.texCoord, a.texCoord + 2, v.texCoord);
    return v;
}

// The first viewport and scissor box are the window's size when the context first appears.
void TakeInitialViewport() {
    if (state.viewportKnown && state.scissorKnown) {
        return;
    }
    GLint initial[4];
    if (!renderer.InitialViewport(initial)) {
        return;
    }
    if (!state.viewportKnown) {
        std::copy(initial, initial + 4, state.attribs.viewport);
        state.viewportKnown = true;
    }
    if (!state.scissorKnown) {
        std::copy(initial, initial + 4, state.attribs.scissor);
        state.scissorKnown = true;
    }
}

std::vector<Matrix>& CurrentStack() {
    switch (state.matrixMode) {
        case GL_PROJECTION:
            return state.projection;
        case GL_TEXTURE:
            return state.texture;
        default:
            return state.modelView;
    }
}

size_t CurrentStackDepth() {
    switch (state.matrixMode) {
        case GL_PROJECTION:
            return kProjectionDepth;
        case GL_TEXTURE:
            return kTextureDepth;
        default:
            return kModelViewDepth;
    }
}

void SetTop(const Matrix& m) {
    CurrentStack().back() = m;
    state.matricesChanged = true;
}

void MultiplyTop(const Matrix& m) {
    if (InsideBegin()) {
        return;
    }
    SetTop(Multiply(CurrentStack().back(), m));
}

Material& FrontMaterial() {
    return state.attribs.material;
}

// With colour material on, the current colour is the material's tracked terms.
void TrackColour() {
    AttribState& a = state.attribs;
    if (!a.enables.colourMaterial) {
        return;
    }
    const Colour c = a.colour;
    switch (a.colourMaterialMode) {
        case GL_AMBIENT:
            FrontMaterial().ambient = c;
            break;
        case GL_DIFFUSE:
            FrontMaterial().diffuse = c;
            break;
        case GL_AMBIENT_AND_DIFFUSE:
            FrontMaterial().ambient = c;
            FrontMaterial().diffuse = c;
            break;
        case GL_SPECULAR:
            FrontMaterial().specular = c;
            break;
        case GL_EMISSION:
            FrontMaterial().emission = c;
            break;
        default:
            break;
    }
}

// The switch glEnable(cap) sets; nullptr for one the layer does not draw with.
bool* SwitchOf(GLenum cap) {
    Enables& e = state.attribs.enables;
    if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + kMaxLights) {
        return &e.lights[cap - GL_LIGHT0];
    }
    switch (cap) {
        case GL_LIGHTING:
            return &e.lighting;
        case GL_COLOR_MATERIAL:
            return &e.colourMaterial;
        case GL_NORMALIZE:
            return &e.normalize;
        case GL_DEPTH_TEST:
            return &e.depthTest;
        case GL_BLEND:
            return &e.blend;
        case GL_TEXTURE_2D:
            return &e.texture2D;
        case GL_POINT_SMOOTH:
            return &e.pointSmooth;
        case GL_CULL_FACE:
            return &e.cullFace;
        case GL_SCISSOR_TEST:
            return &e.scissorTest;
        default:
            return nullptr;
    }
}

// Switches OpenGL 1.1 has that change nothing Tavik draws (dithering is WebGL's default).
bool IsOtherSwitch(GLenum cap) {
    switch (cap) {
        case GL_DITHER:
        case GL_ALPHA_TEST:
        case GL_STENCIL_TEST:
        case GL_FOG:
        case GL_LINE_SMOOTH:
        case GL_POLYGON_SMOOTH:
        case GL_LINE_STIPPLE:
        case GL_POLYGON_STIPPLE:
        case GL_POLYGON_OFFSET_FILL:
        case GL_POLYGON_OFFSET_LINE:
        case GL_POLYGON_OFFSET_POINT:
        case GL_TEXTURE_1D:
        case GL_COLOR_LOGIC_OP:
        case GL_AUTO_NORMAL:
            return true;
        default:
            return false;
    }
}

// Whether the switch is one the shader's lighting uniforms are made from.
bool FeedsLighting(GLenum cap) {
    return cap == GL_LIGHTING || cap == GL_COLOR_MATERIAL || cap == GL_NORMALIZE ||
           (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + kMaxLights);
}

void SetSwitch(GLenum cap, bool on) {
    if (InsideBegin()) {
        return;
    }
    bool* value = SwitchOf(cap);
    if (value == nullptr) {
        if (IsOtherSwitch(cap)) {
            Unsupported("switch", cap);
        } else {
            SetError(GL_INVALID_ENUM);
        }
        return;
    }
    if (*value == on) {
        return;
    }
    *value = on;
    if (cap == GL_COLOR_MATERIAL && on) {
        TrackColour();
    }
    if (FeedsLighting(cap)) {
        state.lightingChanged = true;
    }
}

bool IsFace(GLenum face) {
    return face == GL_FRONT || face == GL_BACK || face == GL_FRONT_AND_BACK;
}

Light* LightOf(GLenum light) {
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + kMaxLights) {
        SetError(GL_INVALID_ENUM);
        return nullptr;
    }
    return &state.attribs.lights[light - GL_LIGHT0];
}

void ReleaseList(DisplayList& list) {
    for (ListOp& op : list.ops) {
        if (op.batch) {
            renderer.ReleaseBatch(*op.batch);
        }
    }
}

void RecordAttribute(ListOp::Kind kind, const float* values, int count) {
    ListOp op{kind, nullptr};
    std::copy(values, values + count, op.values);
    state.compiling.ops.push_back(std::move(op));
}

void ExecuteList(GLuint name, int depth);

void ExecuteOp(const ListOp& op, int depth) {
    AttribState& a = state.attribs;
    switch (op.kind) {
        case ListOp::Kind::kBatch: {
            ListBatch& batch = *op.batch;
            TakeInitialViewport();
            renderer.DrawBatch(state, batch);
            if (!batch.vertices.empty()) {
                const Vertex& last = batch.vertices.back();
                if (batch.setsColour) {
                    Color4f(last.colour[0], last.colour[1], last.colour[2], last.colour[3]);
                }
                if (batch.setsNormal) {
                    std::copy(last.normal, last.normal + 3, a.normal);
                }
                if (batch.setsTexCoord) {
                    std::copy(last.texCoord, last.texCoord + 2, a.texCoord);
                }
            }
            break;
        }
        case ListOp::Kind::kColour:
            Color4f(op.values[0], op.values[1], op.values[2], op.values[3]);
            break;
        case ListOp::Kind::kNormal:
            Normal3f(op.values[0], op.values[1], op.values[2]);
            break;
        case ListOp::Kind::kTexCoord:
            TexCoord2f(op.values[0], op.values[1]);
            break;
        case ListOp::Kind::kCallList:
            ExecuteList(op.list, depth + 1);
            break;
    }
}

void ExecuteList(GLuint name, int depth) {
    const auto found = state.lists.find(name);
    if (depth >= kMaxListNesting || found == state.lists.end()) {
        return;
    }
    for (const ListOp& op : found->second.ops) {
        ExecuteOp(op, depth);
    }
}

TextureObject* BoundTexture() {
    return &state.textures[state.attribs.boundTexture];
}

// glTexImage2D's upload with the rows aligned as given.
void UploadImage(GLint level, GLenum format, GLsizei width, GLsizei height, const void* pixels,
                 GLint alignment) {
    TextureObject& texture = *BoundTexture();
    if (level == 0) {
        texture.width = width;
        texture.height = height;
        texture.levels = 0;
    }
    texture.levels |= 1u << level;
    renderer.UploadTexture(texture, level, format, width, height, pixels, alignment);
}

void RestoreAttribs(const SavedAttribs& saved) {
    AttribState& a = state.attribs;
    const AttribState& s = saved.state;
    const GLbitfield mask = saved.mask;
    if (mask & GL_ENABLE_BIT) {
        a.enables = s.enables;
    }
    if (mask & GL_CURRENT_BIT) {
        a.colour = s.colour;
        std::copy(s.normal, s.normal + 3, a.normal);
        std::copy(s.texCoord, s.texCoord + 2, a.texCoord);
    }
    if (mask & GL_POLYGON_BIT) {
        std::copy(s.polygonMode, s.polygonMode + 2, a.polygonMode);
        a.cullFaceMode = s.cullFaceMode;
        a.frontFace = s.frontFace;
        a.enables.cullFace = s.enables.cullFace;
    }
    if (mask & GL_VIEWPORT_BIT) {
        std::copy(s.viewport, s.viewport + 4, a.viewport);
    }
    if (mask & GL_SCISSOR_BIT) {
        std::copy(s.scissor, s.scissor + 4, a.scissor);
        a.enables.scissorTest = s.enables.scissorTest;
    }
    if (mask & GL_COLOR_BUFFER_BIT) {
        a.enables.blend = s.enables.blend;
        a.blendSource = s.blendSource;
        a.blendDestination = s.blendDestination;
        a.clearColour = s.clearColour;
    }
    if (mask & GL_DEPTH_BUFFER_BIT) {
        a.enables.depthTest = s.enables.depthTest;
        a.depthFunc = s.depthFunc;
        a.depthMask = s.depthMask;
        a.clearDepth = s.clearDepth;
    }
    if (mask & GL_POINT_BIT) {
        a.pointSize = s.pointSize;
        a.enables.pointSmooth = s.enables.pointSmooth;
    }
    if (mask & GL_LIGHTING_BIT) {
        a.colourMaterialMode = s.colourMaterialMode;
        a.modelAmbient = s.modelAmbient;
        a.localViewer = s.localViewer;
        std::copy(s.lights, s.lights + kMaxLights, a.lights);
        a.material = s.material;
        a.enables.lighting = s.enables.lighting;
        a.enables.colourMaterial = s.enables.colourMaterial;
        std::copy(s.enables.lights, s.enables.lights + kMaxLights, a.enables.lights);
    }
    if (mask & GL_TEXTURE_BIT) {
        a.boundTexture = s.boundTexture;
        a.enables.texture2D = s.enables.texture2D;
    }
    if (mask & GL_TRANSFORM_BIT) {
        a.enables.normalize = s.enables.normalize;
    }
    // Only these groups hold what the lighting uniforms are made from (the overlay's
    // polygon and viewport groups, popped every frame, do not).
    if (mask & (GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_TRANSFORM_BIT)) {
        state.lightingChanged = true;
    }
}

bool IsBlendFactor(GLenum factor, bool source) {
    switch (factor) {
        case GL_ZERO:
        case GL_ONE:
        case GL_SRC_ALPHA:
        case GL_ONE_MINUS_SRC_ALPHA:
        case GL_DST_ALPHA:
        case GL_ONE_MINUS_DST_ALPHA:
            return true;
        case GL_SRC_COLOR:
        case GL_ONE_MINUS_SRC_COLOR:
            return !source;
        case GL_DST_COLOR:
        case GL_ONE_MINUS_DST_COLOR:
        case GL_SRC_ALPHA_SATURATE:
            return source;
        default:
            return false;
    }
}
}  // namespace

// ---- Immediate mode

void Begin(GLenum mode) {
    if (state.inBegin) {
        SetError(GL_INVALID_OPERATION);
        return;
    }
    if (!IsBeginMode(mode)) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    state.inBegin = true;
    state.beginMode = mode;
    state.vertices.clear();
    state.groupSetsColour = state.groupSetsNormal = state.groupSetsTexCoord = false;
}

void End() {
    if (!state.inBegin) {
        SetError(GL_INVALID_OPERATION);
        return;
    }
    state.inBegin = false;
    if (Compiling()) {
        ListOp op{ListOp::Kind::kBatch, std::make_unique<ListBatch>()};
        op.batch->mode = state.beginMode;
        op.batch->vertices = state.vertices;
        op.batch->setsColour = state.groupSetsColour;
        op.batch->setsNormal = state.groupSetsNormal;
        op.batch->setsTexCoord = state.groupSetsTexCoord;
        state.compiling.ops.push_back(std::move(op));
        return;
    }
    TakeInitialViewport();
    renderer.DrawGroup(state, state.beginMode, state.vertices.data(),
                       static_cast<uint32_t>(state.vertices.size()));
}

void Vertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (!state.inBegin) {
        return;  // OpenGL leaves a vertex outside glBegin/glEnd undefined; Mesa drops it
    }
    Vertex v = Compiling() ? state.recording : CurrentAttributes();
    v.position[0] = x;
    v.position[1] = y;
    v.position[2] = z;
    state.vertices.push_back(v);
}

void Color4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    const float c[4] = {r, g, b, a};
    if (Compiling()) {
        std::copy(c, c + 4, state.recording.colour);
        if (state.inBegin) {
            state.groupSetsColour = true;
        } else {
            RecordAttribute(ListOp::Kind::kColour, c, 4);
        }
        return;
    }
    std::copy(c, c + 4, state.attribs.colour.v);
    TrackColour();
}

void Normal3f(GLfloat x, GLfloat y, GLfloat z) {
    const float n[3] = {x, y, z};
    if (Compiling()) {
        std::copy(n, n + 3, state.recording.normal);
        if (state.inBegin) {
            state.groupSetsNormal = true;
        } else {
            RecordAttribute(ListOp::Kind::kNormal, n, 3);
        }
        return;
    }
    std::copy(n, n + 3, state.attribs.normal);
}

void TexCoord2f(GLfloat s, GLfloat t) {
    const float st[2] = {s, t};
    if (Compiling()) {
        std::copy(st, st + 2, state.recording.texCoord);
        if (state.inBegin) {
            state.groupSetsTexCoord = true;
        } else {
            RecordAttribute(ListOp::Kind::kTexCoord, st, 2);
        }
        return;
    }
    std::copy(st, st + 2, state.attribs.texCoord);
}

// ---- Switches and matrices

void Enable(GLenum cap) {
    SetSwitch(cap, true);
}

void Disable(GLenum cap) {
    SetSwitch(cap, false);
}

GLboolean IsEnabled(GLenum cap) {
    if (InsideBegin()) {
        return GL_FALSE;
    }
    const bool* value = SwitchOf(cap);
    if (value == nullptr) {
        if (!IsOtherSwitch(cap)) {
            SetError(GL_INVALID_ENUM);
        }
        return GL_FALSE;
    }
    return *value ? GL_TRUE : GL_FALSE;
}

void MatrixMode(GLenum mode) {
    if (InsideBegin()) {
        return;
    }
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION && mode != GL_TEXTURE) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    state.matrixMode = mode;
}

void LoadIdentity() {
    if (!InsideBegin()) {
        SetTop(Identity());
    }
}

void LoadMatrixd(const GLdouble* m) {
    if (!InsideBegin()) {
        SetTop(FromDoubles(m));
    }
}

void MultMatrixd(const GLdouble* m) {
    MultiplyTop(FromDoubles(m));
}

void PushMatrix() {
    if (InsideBegin()) {
        return;
    }
    std::vector<Matrix>& stack = CurrentStack();
    if (stack.size() >= CurrentStackDepth()) {
        SetError(GL_STACK_OVERFLOW);
        return;
    }
    stack.push_back(stack.back());
}

void PopMatrix() {
    if (InsideBegin()) {
        return;
    }
    std::vector<Matrix>& stack = CurrentStack();
    if (stack.size() <= 1) {
        SetError(GL_STACK_UNDERFLOW);
        return;
    }
    stack.pop_back();
    state.matricesChanged = true;
}

void Rotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
    MultiplyTop(Rotation(angle, x, y, z));
}

void Translated(GLdouble x, GLdouble y, GLdouble z) {
    MultiplyTop(Translation(x, y, z));
}

void Scaled(GLdouble x, GLdouble y, GLdouble z) {
    MultiplyTop(Scaling(x, y, z));
}

void Ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
           GLdouble zFar) {
    if (left == right || bottom == top || zNear == zFar) {
        if (!InsideBegin()) {
            SetError(GL_INVALID_VALUE);
        }
        return;
    }
    MultiplyTop(OrthoMatrix(left, right, bottom, top, zNear, zFar));
}

void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (InsideBegin()) {
        return;
    }
    if (width < 0 || height < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    const GLint v[4] = {x, y, std::min(width, kMaxViewport), std::min(height, kMaxViewport)};
    std::copy(v, v + 4, state.attribs.viewport);
    state.viewportKnown = true;
}

void Scissor(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (InsideBegin()) {
        return;
    }
    if (width < 0 || height < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    const GLint box[4] = {x, y, width, height};
    std::copy(box, box + 4, state.attribs.scissor);
    state.scissorKnown = true;
}

// ---- Lighting

void Lightfv(GLenum light, GLenum pname, const GLfloat* params) {
    if (InsideBegin()) {
        return;
    }
    Light* l = LightOf(light);
    if (l == nullptr) {
        return;
    }
    switch (pname) {
        case GL_AMBIENT:
            std::copy(params, params + 4, l->ambient.v);
            break;
        case GL_DIFFUSE:
            std::copy(params, params + 4, l->diffuse.v);
            break;
        case GL_SPECULAR:
            std::copy(params, params + 4, l->specular.v);
            break;
        case GL_POSITION:
            // Taken through the model-view matrix of the moment, as OpenGL does.
            TransformPoint(state.modelView.back(), params, l->position);
            break;
        case GL_SPOT_DIRECTION:
            TransformDirection(state.modelView.back(), params, l->spotDirection);
            break;
        case GL_SPOT_EXPONENT:
            if (params[0] < 0.0f || params[0] > kMaxSpotExponent) {
                SetError(GL_INVALID_VALUE);
                return;
            }
            l->spotExponent = params[0];
            break;
        case GL_SPOT_CUTOFF:
            if ((params[0] < 0.0f || params[0] > 90.0f) && params[0] != 180.0f) {
                SetError(GL_INVALID_VALUE);
                return;
            }
            l->spotCutoff = params[0];
            break;
        case GL_CONSTANT_ATTENUATION:
        case GL_LINEAR_ATTENUATION:
        case GL_QUADRATIC_ATTENUATION:
            if (params[0] < 0.0f) {
                SetError(GL_INVALID_VALUE);
                return;
            }
            l->attenuation[pname - GL_CONSTANT_ATTENUATION] = params[0];
            break;
        default:
            SetError(GL_INVALID_ENUM);
            return;
    }
    state.lightingChanged = true;
}

void Lightf(GLenum light, GLenum pname, GLfloat param) {
    const GLfloat params[4] = {param, 0, 0, 0};  // as Mesa's glLightf
    Lightfv(light, pname, params);
}

void LightModelfv(GLenum pname, const GLfloat* params) {
    if (InsideBegin()) {
        return;
    }
    switch (pname) {
        case GL_LIGHT_MODEL_AMBIENT:
            std::copy(params, params + 4, state.attribs.modelAmbient.v);
            break;
        case GL_LIGHT_MODEL_LOCAL_VIEWER:
            state.attribs.localViewer = params[0] != 0.0f;
            break;
        case GL_LIGHT_MODEL_TWO_SIDE:
            if (params[0] != 0.0f) {
                Unsupported("two-sided lighting", pname);
            }
            break;
        default:
            SetError(GL_INVALID_ENUM);
            return;
    }
    state.lightingChanged = true;
}

void LightModeli(GLenum pname, GLint param) {
    // As Mesa's glLightModeli: the integer vector (param, 0, 0, 0), integers mapped to
    // [-1, 1] for the ambient colour.
    auto toFloat = [](GLint i) { return static_cast<GLfloat>((2.0 * i + 1.0) / 4294967295.0); };
    const bool colour = pname == GL_LIGHT_MODEL_AMBIENT;
    const GLfloat params[4] = {colour ? toFloat(param) : static_cast<GLfloat>(param),
                               colour ? toFloat(0) : 0.0f, colour ? toFloat(0) : 0.0f,
                               colour ? toFloat(0) : 0.0f};
    LightModelfv(pname, params);
}

void Materialfv(GLenum face, GLenum pname, const GLfloat* params) {
    if (InsideBegin()) {
        return;
    }
    if (!IsFace(face)) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    Material& m = FrontMaterial();
    Material ignored;  // the back material, which nothing draws with
    Material& target = face == GL_BACK ? ignored : m;
    switch (pname) {
        case GL_AMBIENT:
            std::copy(params, params + 4, target.ambient.v);
            break;
        case GL_DIFFUSE:
            std::copy(params, params + 4, target.diffuse.v);
            break;
        case GL_AMBIENT_AND_DIFFUSE:
            std::copy(params, params + 4, target.ambient.v);
            std::copy(params, params + 4, target.diffuse.v);
            break;
        case GL_SPECULAR:
            std::copy(params, params + 4, target.specular.v);
            break;
        case GL_EMISSION:
            std::copy(params, params + 4, target.emission.v);
            break;
        case GL_SHININESS:
            if (params[0] < 0.0f || params[0] > kMaxShininess) {
                SetError(GL_INVALID_VALUE);
                return;
            }
            target.shininess = params[0];
            break;
        case GL_COLOR_INDEXES:
            break;
        default:
            SetError(GL_INVALID_ENUM);
            return;
    }
    state.lightingChanged = true;
}

void Materialf(GLenum face, GLenum pname, GLfloat param) {
    if (pname != GL_SHININESS) {
        if (!InsideBegin()) {
            SetError(GL_INVALID_ENUM);
        }
        return;
    }
    const GLfloat params[4] = {param, 0, 0, 0};
    Materialfv(face, pname, params);
}

void ColorMaterial(GLenum face, GLenum mode) {
    if (InsideBegin()) {
        return;
    }
    const bool modeValid = mode == GL_EMISSION || mode == GL_AMBIENT || mode == GL_DIFFUSE ||
                           mode == GL_SPECULAR || mode == GL_AMBIENT_AND_DIFFUSE;
    if (!IsFace(face) || !modeValid) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    // Whichever face is named, the front material (the only one drawn with) tracks.
    state.attribs.colourMaterialMode = mode;
    TrackColour();
    state.lightingChanged = true;
}

void ShadeModel(GLenum mode) {
    if (InsideBegin()) {
        return;
    }
    if (mode != GL_SMOOTH && mode != GL_FLAT) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    if (mode == GL_FLAT) {
        Unsupported("flat shading", mode);  // drawn smooth; nothing reads the mode back
    }
}

// ---- Rasterisation and fragments

void PolygonMode(GLenum face, GLenum mode) {
    if (InsideBegin()) {
        return;
    }
    if (!IsFace(face) || (mode != GL_POINT && mode != GL_LINE && mode != GL_FILL)) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    if (face != GL_BACK) {
        state.attribs.polygonMode[0] = mode;
    }
    if (face != GL_FRONT) {
        state.attribs.polygonMode[1] = mode;
    }
    if (state.attribs.polygonMode[0] != state.attribs.polygonMode[1]) {
        Unsupported("different front and back polygon modes", mode);
    }
}

void CullFace(GLenum mode) {
    if (InsideBegin()) {
        return;
    }
    if (!IsFace(mode)) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    state.attribs.cullFaceMode = mode;
}

void FrontFace(GLenum mode) {
    if (InsideBegin()) {
        return;
    }
    if (mode != GL_CW && mode != GL_CCW) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    state.attribs.frontFace = mode;
}

void PointSize(GLfloat size) {
    if (InsideBegin()) {
        return;
    }
    if (!(size > 0.0f)) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    state.attribs.pointSize = size;
}

void BlendFunc(GLenum source, GLenum destination) {
    if (InsideBegin()) {
        return;
    }
    if (!IsBlendFactor(source, true) || !IsBlendFactor(destination, false)) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    state.attribs.blendSource = source;
    state.attribs.blendDestination = destination;
}

void DepthFunc(GLenum func) {
    if (InsideBegin()) {
        return;
    }
    if (func < GL_NEVER || func > GL_ALWAYS) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    state.attribs.depthFunc = func;
}

void DepthMask(GLboolean flag) {
    if (!InsideBegin()) {
        state.attribs.depthMask = flag != GL_FALSE;
    }
}

void ClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    if (!InsideBegin()) {
        const float clamped[4] = {std::clamp(r, 0.0f, 1.0f), std::clamp(g, 0.0f, 1.0f),
                                  std::clamp(b, 0.0f, 1.0f), std::clamp(a, 0.0f, 1.0f)};
        std::copy(clamped, clamped + 4, state.attribs.clearColour.v);
    }
}

void ClearDepth(GLdouble depth) {
    if (!InsideBegin()) {
        state.attribs.clearDepth = static_cast<float>(std::clamp(depth, 0.0, 1.0));
    }
}

void Clear(GLbitfield mask) {
    if (InsideBegin()) {
        return;
    }
    constexpr GLbitfield kBuffers =
        GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT | GL_ACCUM_BUFFER_BIT;
    if ((mask & ~kBuffers) != 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    TakeInitialViewport();
    renderer.Clear(state, mask);
}

void PushAttrib(GLbitfield mask) {
    if (InsideBegin()) {
        return;
    }
    if (state.attribStack.size() >= kAttribDepth) {
        SetError(GL_STACK_OVERFLOW);
        return;
    }
    TakeInitialViewport();
    state.attribStack.push_back(SavedAttribs{mask, state.attribs});
}

void PopAttrib() {
    if (InsideBegin()) {
        return;
    }
    if (state.attribStack.empty()) {
        SetError(GL_STACK_UNDERFLOW);
        return;
    }
    RestoreAttribs(state.attribStack.back());
    state.attribStack.pop_back();
}

void PixelStorei(GLenum pname, GLint param) {
    if (InsideBegin()) {
        return;
    }
    if (pname != GL_PACK_ALIGNMENT && pname != GL_UNPACK_ALIGNMENT) {
        Unsupported("pixel storage mode", pname);
        return;
    }
    if (param != 1 && param != 2 && param != 4 && param != 8) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    (pname == GL_PACK_ALIGNMENT ? state.packAlignment : state.unpackAlignment) = param;
}

void GetIntegerv(GLenum pname, GLint* params) {
    if (InsideBegin()) {
        return;
    }
    const AttribState& a = state.attribs;
    switch (pname) {
        case GL_VIEWPORT:
            TakeInitialViewport();
            std::copy(a.viewport, a.viewport + 4, params);
            return;
        case GL_SCISSOR_BOX:
            TakeInitialViewport();
            std::copy(a.scissor, a.scissor + 4, params);
            return;
        case GL_PACK_ALIGNMENT:
            *params = state.packAlignment;
            return;
        case GL_UNPACK_ALIGNMENT:
            *params = state.unpackAlignment;
            return;
        case GL_MATRIX_MODE:
            *params = static_cast<GLint>(state.matrixMode);
            return;
        case GL_MODELVIEW_STACK_DEPTH:
            *params = static_cast<GLint>(state.modelView.size());
            return;
        case GL_PROJECTION_STACK_DEPTH:
            *params = static_cast<GLint>(state.projection.size());
            return;
        case GL_ATTRIB_STACK_DEPTH:
            *params = static_cast<GLint>(state.attribStack.size());
            return;
        case GL_POLYGON_MODE:
            params[0] = static_cast<GLint>(a.polygonMode[0]);
            params[1] = static_cast<GLint>(a.polygonMode[1]);
            return;
        case GL_TEXTURE_BINDING_2D:
            *params = static_cast<GLint>(a.boundTexture);
            return;
        case GL_MAX_TEXTURE_SIZE:
            *params = renderer.MaxTextureSize();
            return;
        case GL_MAX_LIGHTS:
            *params = kMaxLights;
            return;
        case GL_LIST_INDEX:
            *params = static_cast<GLint>(state.compilingList);
            return;
        default:
            break;
    }
    const bool* value = SwitchOf(pname);
    if (value != nullptr) {
        *params = *value;
        return;
    }
    SetError(GL_INVALID_ENUM);
}

void GetFloatv(GLenum pname, GLfloat* params) {
    if (InsideBegin()) {
        return;
    }
    const AttribState& a = state.attribs;
    switch (pname) {
        case GL_MODELVIEW_MATRIX:
            std::copy(state.modelView.back().m, state.modelView.back().m + 16, params);
            return;
        case GL_PROJECTION_MATRIX:
            std::copy(state.projection.back().m, state.projection.back().m + 16, params);
            return;
        case GL_TEXTURE_MATRIX:
            std::copy(state.texture.back().m, state.texture.back().m + 16, params);
            return;
        case GL_CURRENT_COLOR:
            std::copy(a.colour.v, a.colour.v + 4, params);
            return;
        case GL_CURRENT_NORMAL:
            std::copy(a.normal, a.normal + 3, params);
            return;
        case GL_POINT_SIZE:
            *params = a.pointSize;
            return;
        default:
            break;
    }
    GLint values[4] = {0, 0, 0, 0};
    const GLenum before = state.error;
    GetIntegerv(pname, values);
    if (state.error == before) {
        const int count = pname == GL_VIEWPORT || pname == GL_SCISSOR_BOX ? 4
                          : pname == GL_POLYGON_MODE                      ? 2
                                                                          : 1;
        std::copy(values, values + count, params);
    }
}

GLenum GetError() {
    if (state.inBegin) {
        // glGetError between glBegin and glEnd is itself an error, reported later.
        SetError(GL_INVALID_OPERATION);
        return GL_NO_ERROR;
    }
    renderer.FlushPending(state);
    const GLenum error = state.error;
    state.error = GL_NO_ERROR;
    return error;
}

void Finish() {
    if (!InsideBegin()) {
        renderer.Finish();
    }
}

void Flush() {
    if (!InsideBegin()) {
        renderer.Flush();
    }
}

// ---- Display lists

GLuint GenLists(GLsizei range) {
    if (InsideBegin()) {
        return 0;
    }
    if (range < 0) {
        SetError(GL_INVALID_VALUE);
        return 0;
    }
    if (range == 0) {
        return 0;
    }
    const GLuint first = state.listNamesUsed + 1;
    for (GLsizei i = 0; i < range; ++i) {
        state.lists[first + static_cast<GLuint>(i)];  // names in use from now on, still empty
    }
    state.listNamesUsed += static_cast<GLuint>(range);
    return first;
}

void NewList(GLuint list, GLenum mode) {
    if (InsideBegin()) {
        return;
    }
    if (list == 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    if (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    if (Compiling()) {
        SetError(GL_INVALID_OPERATION);
        return;
    }
    state.compilingList = list;
    state.compileMode = mode;
    state.compiling = DisplayList{};
    state.recording = CurrentAttributes();
}

void EndList() {
    if (InsideBegin()) {
        return;
    }
    if (!Compiling()) {
        SetError(GL_INVALID_OPERATION);
        return;
    }
    const GLuint name = state.compilingList;
    state.compilingList = 0;
    DisplayList& list = state.lists[name];
    ReleaseList(list);
    list = std::move(state.compiling);
    state.compiling = DisplayList{};
    // The list's geometry goes to its buffers now, once.
    for (ListOp& op : list.ops) {
        if (op.batch) {
            renderer.UploadBatch(*op.batch);
        }
    }
    state.listNamesUsed = std::max(state.listNamesUsed, name);
    if (state.compileMode == GL_COMPILE_AND_EXECUTE) {
        CallList(name);
    }
}

void CallList(GLuint list) {
    if (Compiling()) {
        ListOp op{ListOp::Kind::kCallList, nullptr};
        op.list = list;
        state.compiling.ops.push_back(std::move(op));
        return;
    }
    renderer.FlushPending(state);
    ExecuteList(list, 0);
}

void DeleteLists(GLuint list, GLsizei range) {
    if (InsideBegin()) {
        return;
    }
    if (range < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    for (GLsizei i = 0; i < range; ++i) {
        const auto found = state.lists.find(list + static_cast<GLuint>(i));
        if (found != state.lists.end()) {
            ReleaseList(found->second);
            state.lists.erase(found);
        }
    }
}

// ---- Textures

void GenTextures(GLsizei n, GLuint* textures) {
    if (InsideBegin()) {
        return;
    }
    if (n < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    for (GLsizei i = 0; i < n; ++i) {
        textures[i] = ++state.textureNamesUsed;
        state.textures[textures[i]];
    }
}

void DeleteTextures(GLsizei n, const GLuint* textures) {
    if (InsideBegin()) {
        return;
    }
    if (n < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    for (GLsizei i = 0; i < n; ++i) {
        const auto found = state.textures.find(textures[i]);
        if (textures[i] == 0 || found == state.textures.end()) {
            continue;
        }
        renderer.ReleaseTexture(found->second);
        state.textures.erase(found);
        if (state.attribs.boundTexture == textures[i]) {
            state.attribs.boundTexture = 0;
        }
    }
}

void BindTexture(GLenum target, GLuint texture) {
    if (InsideBegin()) {
        return;
    }
    if (target != GL_TEXTURE_2D) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    state.textures[texture];
    state.textureNamesUsed = std::max(state.textureNamesUsed, texture);
    state.attribs.boundTexture = texture;
}

void TexParameteri(GLenum target, GLenum pname, GLint param) {
    if (InsideBegin()) {
        return;
    }
    if (target != GL_TEXTURE_2D) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    TextureObject& texture = *BoundTexture();
    const GLenum value = static_cast<GLenum>(param);
    switch (pname) {
        case GL_TEXTURE_WRAP_S:
        case GL_TEXTURE_WRAP_T:
            if (value != GL_REPEAT && value != GL_CLAMP && value != GL_CLAMP_TO_EDGE) {
                SetError(GL_INVALID_ENUM);
                return;
            }
            (pname == GL_TEXTURE_WRAP_S ? texture.wrapS : texture.wrapT) = value;
            break;
        case GL_TEXTURE_MAG_FILTER:
            if (value != GL_NEAREST && value != GL_LINEAR) {
                SetError(GL_INVALID_ENUM);
                return;
            }
            texture.magFilter = value;
            break;
        case GL_TEXTURE_MIN_FILTER:
            if (value != GL_NEAREST && value != GL_LINEAR && value != GL_NEAREST_MIPMAP_NEAREST &&
                value != GL_LINEAR_MIPMAP_NEAREST && value != GL_NEAREST_MIPMAP_LINEAR &&
                value != GL_LINEAR_MIPMAP_LINEAR) {
                SetError(GL_INVALID_ENUM);
                return;
            }
            texture.minFilter = value;
            break;
        default:
            SetError(GL_INVALID_ENUM);
            return;
    }
    renderer.ApplyTextureParameters(texture);
}

void TexImage2D(GLenum target, GLint level, GLint components, GLsizei width, GLsizei height,
                GLint border, GLenum format, GLenum type, const void* pixels) {
    if (InsideBegin()) {
        return;
    }
    if (target != GL_TEXTURE_2D || ComponentsOf(format) == 0 || type != GL_UNSIGNED_BYTE) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    if (level < 0 || level > 15 || width < 0 || height < 0 || border != 0 || components < 1) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    UploadImage(level, format, width, height, pixels, state.unpackAlignment);
}

// ---- GLU

void Perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    Matrix m;
    if (PerspectiveMatrix(fovy, aspect, zNear, zFar, &m)) {
        MultiplyTop(m);
    }
}

void LookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,
            GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
    MultiplyTop(LookAtMatrix(eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ));
}

GLint Build2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format,
                     GLenum type, const void* data) {
    const int bytes = ComponentsOf(format);
    const bool componentsValid =
        (components >= 1 && components <= 4) || ComponentsOf(static_cast<GLenum>(components)) != 0;
    if (bytes == 0 || type != GL_UNSIGNED_BYTE || !componentsValid) {
        return GLU_INVALID_ENUM;
    }
    if (width < 1 || height < 1) {
        return GLU_INVALID_VALUE;
    }
    if (target != GL_TEXTURE_2D) {
        SetError(GL_INVALID_ENUM);  // glTexImage2D's own complaint
        return 0;
    }
    if (InsideBegin()) {
        return 0;
    }
    BuildMipmaps(bytes, width, height, static_cast<const uint8_t*>(data), state.unpackAlignment,
                 renderer.MaxTextureSize(),
                 [format](int level, int levelWidth, int levelHeight, const uint8_t* pixels) {
                     UploadImage(level, format, levelWidth, levelHeight, pixels, 1);
                 });
    return 0;
}

GLint ScaleImage(GLenum format, GLint widthIn, GLint heightIn, GLenum typeIn, const void* dataIn,
                 GLint widthOut, GLint heightOut, GLenum typeOut, void* dataOut) {
    if (widthIn == 0 || heightIn == 0 || widthOut == 0 || heightOut == 0) {
        return 0;
    }
    if (widthIn < 0 || heightIn < 0 || widthOut < 0 || heightOut < 0) {
        return GLU_INVALID_VALUE;
    }
    const int components = ComponentsOf(format);
    if (components == 0 || typeIn != GL_UNSIGNED_BYTE || typeOut != GL_UNSIGNED_BYTE) {
        return GLU_INVALID_ENUM;
    }
    tavikgl::ScaleImage(components, widthIn, heightIn, static_cast<const uint8_t*>(dataIn),
                        state.unpackAlignment, widthOut, heightOut, static_cast<uint8_t*>(dataOut),
                        state.packAlignment);
    return 0;
}

const GLubyte* ErrorString(GLenum error) {
    struct Entry {
        GLenum code;
        const char* text;
    };
    static const Entry kErrors[] = {
        {GL_NO_ERROR, "no error"},
        {GL_INVALID_ENUM, "invalid enumerant"},
        {GL_INVALID_VALUE, "invalid value"},
        {GL_INVALID_OPERATION, "invalid operation"},
        {GL_STACK_OVERFLOW, "stack overflow"},
        {GL_STACK_UNDERFLOW, "stack underflow"},
        {GL_OUT_OF_MEMORY, "out of memory"},
        {GL_TABLE_TOO_LARGE, "table too large"},
        {0x0506, "invalid framebuffer operation"},
        {GLU_INVALID_ENUM, "invalid enumerant"},
        {GLU_INVALID_VALUE, "invalid value"},
        {GLU_OUT_OF_MEMORY, "out of memory"},
        {GLU_INCOMPATIBLE_GL_VERSION, "incompatible gl version"},
        {GLU_INVALID_OPERATION, "invalid operation"},
    };
    for (const Entry& entry : kErrors) {
        if (entry.code == error) {
            return reinterpret_cast<const GLubyte*>(entry.text);
        }
    }
    return nullptr;
}

// ---- GLUT

void SolidTorus(GLdouble innerRadius, GLdouble outerRadius, GLint sides, GLint rings) {
    if (InsideBegin()) {
        return;  // freeglut's glEnableClientState would be the error here
    }
    if (sides < 2 || rings < 2) {
        return;
    }
    TakeInitialViewport();
    renderer.DrawTorus(state, static_cast<float>(innerRadius), static_cast<float>(outerRadius),
                       sides, rings);
}

void ResetState() {
    for (auto& entry : state.lists) {
        ReleaseList(entry.second);
    }
    ReleaseList(state.compiling);
    for (auto& entry : state.textures) {
        renderer.ReleaseTexture(entry.second);
    }
    state = InitialState();
    renderer.ForgetAppliedState();
}

}  // namespace tavikgl

void ResetGlLayerState() {
    tavikgl::ResetState();
}
