// The layer's calls natively: Mesa's OpenGL 2 shader interface, which also runs the layer's
// GLSL ES 1.00 shaders, so that its tests can compare it with Mesa's own fixed function.
#define GL_GLEXT_PROTOTYPES 1  // Required for: the OpenGL 2 prototypes in GL/glext.h
#include <GL/gl.h>
#include <GL/glext.h>

#include "web/gl/GlApi.h"

namespace tavikgl {

namespace {
void BufferData(GLenum target, std::ptrdiff_t size, const void* data, GLenum usage) {
    glBufferData(target, static_cast<GLsizeiptr>(size), data, usage);
}

void BufferSubData(GLenum target, std::ptrdiff_t offset, std::ptrdiff_t size, const void* data) {
    glBufferSubData(target, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(size), data);
}

const GlApi kNative = {
    glAttachShader,
    glBindAttribLocation,
    glBindBuffer,
    glBindTexture,
    glBlendFunc,
    BufferData,
    BufferSubData,
    glClear,
    glClearColor,
    glClearDepthf,
    glCompileShader,
    glCreateProgram,
    glCreateShader,
    glCullFace,
    glDeleteBuffers,
    glDeleteTextures,
    glDepthFunc,
    glDepthMask,
    glDisable,
    glDisableVertexAttribArray,
    glDrawArrays,
    glDrawElements,
    glEnable,
    glEnableVertexAttribArray,
    glFinish,
    glFlush,
    glFrontFace,
    glGenBuffers,
    glGenTextures,
    glGetIntegerv,
    glGetProgramiv,
    glGetShaderiv,
    glGetShaderInfoLog,
    glGetUniformLocation,
    glLinkProgram,
    glPixelStorei,
    glScissor,
    glShaderSource,
    glTexImage2D,
    glTexParameteri,
    glUniform1f,
    glUniform1i,
    glUniform1iv,
    glUniform4fv,
    glUniformMatrix3fv,
    glUniformMatrix4fv,
    glUseProgram,
    glVertexAttrib4fv,
    glVertexAttribPointer,
    glViewport,
};
}  // namespace

const GlApi& Gl() {
    return kNative;
}

void PrepareContext() {
    // Desktop OpenGL takes a shader's gl_PointSize only when asked to; WebGL always does.
    glEnable(GL_VERTEX_PROGRAM_POINT_SIZE);
}

}  // namespace tavikgl
