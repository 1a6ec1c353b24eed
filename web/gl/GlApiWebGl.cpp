// The layer's calls in the browser: Emscripten's WebGL 1 functions under their
// emscripten_gl names, so that the OpenGL 1.1 names stay free for the layer's entry points.
#include <webgl/webgl1.h>

#include "web/gl/GlApi.h"

namespace tavikgl {

namespace {
void BufferData(GLenum target, std::ptrdiff_t size, const void* data, GLenum usage) {
    emscripten_glBufferData(target, static_cast<GLsizeiptr>(size), data, usage);
}

void BufferSubData(GLenum target, std::ptrdiff_t offset, std::ptrdiff_t size, const void* data) {
    emscripten_glBufferSubData(target, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(size),
                               data);
}

const GlApi kWebGl = {
    emscripten_glAttachShader,
    emscripten_glBindAttribLocation,
    emscripten_glBindBuffer,
    emscripten_glBindTexture,
    emscripten_glBlendFunc,
    BufferData,
    BufferSubData,
    emscripten_glClear,
    emscripten_glClearColor,
    emscripten_glClearDepthf,
    emscripten_glCompileShader,
    emscripten_glCreateProgram,
    emscripten_glCreateShader,
    emscripten_glCullFace,
    emscripten_glDeleteBuffers,
    emscripten_glDeleteTextures,
    emscripten_glDepthFunc,
    emscripten_glDepthMask,
    emscripten_glDisable,
    emscripten_glDisableVertexAttribArray,
    emscripten_glDrawArrays,
    emscripten_glDrawElements,
    emscripten_glEnable,
    emscripten_glEnableVertexAttribArray,
    emscripten_glFinish,
    emscripten_glFlush,
    emscripten_glFrontFace,
    emscripten_glGenBuffers,
    emscripten_glGenTextures,
    emscripten_glGetIntegerv,
    emscripten_glGetProgramiv,
    emscripten_glGetShaderiv,
    emscripten_glGetShaderInfoLog,
    emscripten_glGetUniformLocation,
    emscripten_glLinkProgram,
    emscripten_glPixelStorei,
    emscripten_glScissor,
    emscripten_glShaderSource,
    emscripten_glTexImage2D,
    emscripten_glTexParameteri,
    emscripten_glUniform1f,
    emscripten_glUniform1i,
    emscripten_glUniform1iv,
    emscripten_glUniform4fv,
    emscripten_glUniformMatrix3fv,
    emscripten_glUniformMatrix4fv,
    emscripten_glUseProgram,
    emscripten_glVertexAttrib4fv,
    emscripten_glVertexAttribPointer,
    emscripten_glViewport,
};
}  // namespace

const GlApi& Gl() {
    return kWebGl;
}

void PrepareContext() {}

}  // namespace tavikgl
