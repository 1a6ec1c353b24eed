// The few OpenGL ES 2.0 calls the layer draws with: WebGL 1 in the browser, Mesa's OpenGL 2
// shader interface in the native tests. The layer's core calls nothing else.
#pragma once

#include <GL/gl.h>

#include <cstddef>

namespace tavikgl {

struct GlApi {
    void (*AttachShader)(GLuint, GLuint);
    void (*BindAttribLocation)(GLuint, GLuint, const GLchar*);
    void (*BindBuffer)(GLenum, GLuint);
    void (*BindTexture)(GLenum, GLuint);
    void (*BlendFunc)(GLenum, GLenum);
    void (*BufferData)(GLenum, std::ptrdiff_t, const void*, GLenum);
    void (*BufferSubData)(GLenum, std::ptrdiff_t, std::ptrdiff_t, const void*);
    void (*Clear)(GLbitfield);
    void (*ClearColor)(GLfloat, GLfloat, GLfloat, GLfloat);
    void (*ClearDepthf)(GLfloat);
    void (*CompileShader)(GLuint);
    GLuint (*CreateProgram)();
    GLuint (*CreateShader)(GLenum);
    void (*CullFace)(GLenum);
    void (*DeleteBuffers)(GLsizei, const GLuint*);
    void (*DeleteTextures)(GLsizei, const GLuint*);
    void (*DepthFunc)(GLenum);
    void (*DepthMask)(GLboolean);
    void (*Disable)(GLenum);
    void (*DisableVertexAttribArray)(GLuint);
    void (*DrawArrays)(GLenum, GLint, GLsizei);
    void (*DrawElements)(GLenum, GLsizei, GLenum, const void*);
    void (*Enable)(GLenum);
    void (*EnableVertexAttribArray)(GLuint);
    void (*Finish)();
    void (*Flush)();
    void (*FrontFace)(GLenum);
    void (*GenBuffers)(GLsizei, GLuint*);
    void (*GenTextures)(GLsizei, GLuint*);
    void (*GetIntegerv)(GLenum, GLint*);
    void (*GetProgramiv)(GLuint, GLenum, GLint*);
    void (*GetShaderiv)(GLuint, GLenum, GLint*);
    void (*GetShaderInfoLog)(GLuint, GLsizei, GLsizei*, GLchar*);
    GLint (*GetUniformLocation)(GLuint, const GLchar*);
    void (*LinkProgram)(GLuint);
    void (*PixelStorei)(GLenum, GLint);
    void (*Scissor)(GLint, GLint, GLsizei, GLsizei);
    void (*ShaderSource)(GLuint, GLsizei, const GLchar* const*, const GLint*);
    void (*TexImage2D)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*);
    void (*TexParameteri)(GLenum, GLenum, GLint);
    void (*Uniform1f)(GLint, GLfloat);
    void (*Uniform1i)(GLint, GLint);
    void (*Uniform1iv)(GLint, GLsizei, const GLint*);
    void (*Uniform4fv)(GLint, GLsizei, const GLfloat*);
    void (*UniformMatrix3fv)(GLint, GLsizei, GLboolean, const GLfloat*);
    void (*UniformMatrix4fv)(GLint, GLsizei, GLboolean, const GLfloat*);
    void (*UseProgram)(GLuint);
    void (*VertexAttrib4fv)(GLuint, const GLfloat*);
    void (*VertexAttribPointer)(GLuint, GLint, GLenum, GLboolean, GLsizei, const void*);
    void (*Viewport)(GLint, GLint, GLsizei, GLsizei);
};

// The calls of this build (WebGL under Emscripten, the real OpenGL library natively).
const GlApi& Gl();

// Anything the context needs before the layer's first draw (natively: shader point sizes).
void PrepareContext();

}  // namespace tavikgl
