// The layer's OpenGL 1.1, GLU and glutSolidTorus, one function per entry point with the
// entry point's arguments. The web build's C entry points forward here; the native tests
// call these directly beside Mesa's own.
#pragma once

#include <GL/gl.h>

namespace tavikgl {

// OpenGL 1.1
void Begin(GLenum mode);
void End();
void Vertex3f(GLfloat x, GLfloat y, GLfloat z);
void Color4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void Normal3f(GLfloat x, GLfloat y, GLfloat z);
void TexCoord2f(GLfloat s, GLfloat t);

void Enable(GLenum cap);
void Disable(GLenum cap);
GLboolean IsEnabled(GLenum cap);
void MatrixMode(GLenum mode);
void LoadIdentity();
void LoadMatrixd(const GLdouble* m);
void MultMatrixd(const GLdouble* m);
void PushMatrix();
void PopMatrix();
void Rotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z);
void Translated(GLdouble x, GLdouble y, GLdouble z);
void Scaled(GLdouble x, GLdouble y, GLdouble z);
void Ortho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
           GLdouble zFar);
void Viewport(GLint x, GLint y, GLsizei width, GLsizei height);
void Scissor(GLint x, GLint y, GLsizei width, GLsizei height);

void Lightfv(GLenum light, GLenum pname, const GLfloat* params);
void Lightf(GLenum light, GLenum pname, GLfloat param);
void LightModelfv(GLenum pname, const GLfloat* params);
void LightModeli(GLenum pname, GLint param);
void Materialfv(GLenum face, GLenum pname, const GLfloat* params);
void Materialf(GLenum face, GLenum pname, GLfloat param);
void ColorMaterial(GLenum face, GLenum mode);
void ShadeModel(GLenum mode);

void PolygonMode(GLenum face, GLenum mode);
void CullFace(GLenum mode);
void FrontFace(GLenum mode);
void PointSize(GLfloat size);
void BlendFunc(GLenum source, GLenum destination);
void DepthFunc(GLenum func);
void DepthMask(GLboolean flag);
void ClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void ClearDepth(GLdouble depth);
void Clear(GLbitfield mask);
void PushAttrib(GLbitfield mask);
void PopAttrib();
void PixelStorei(GLenum pname, GLint param);
void GetIntegerv(GLenum pname, GLint* params);
void GetFloatv(GLenum pname, GLfloat* params);
GLenum GetError();
void Finish();
void Flush();

GLuint GenLists(GLsizei range);
void NewList(GLuint list, GLenum mode);
void EndList();
void CallList(GLuint list);
void DeleteLists(GLuint list, GLsizei range);

void GenTextures(GLsizei n, GLuint* textures);
void DeleteTextures(GLsizei n, const GLuint* textures);
void BindTexture(GLenum target, GLuint texture);
void TexParameteri(GLenum target, GLenum pname, GLint param);
void TexImage2D(GLenum target, GLint level, GLint components, GLsizei width, GLsizei height,
                GLint border, GLenum format, GLenum type, const void* pixels);

// GLU
void Perspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
void LookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,
            GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ);
GLint Build2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format,
                     GLenum type, const void* data);
GLint ScaleImage(GLenum format, GLint widthIn, GLint heightIn, GLenum typeIn, const void* dataIn,
                 GLint widthOut, GLint heightOut, GLenum typeOut, void* dataOut);
const GLubyte* ErrorString(GLenum error);

// GLUT
void SolidTorus(GLdouble innerRadius, GLdouble outerRadius, GLint sides, GLint rings);

// Puts back OpenGL's initial state (GlLayer.h's ResetGlLayerState).
void ResetState();

}  // namespace tavikgl
