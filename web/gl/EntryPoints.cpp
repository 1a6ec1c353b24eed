// The OpenGL 1.1, GLU and glutSolidTorus entry points of the web build. Defined here, they
// take the place of Emscripten's own, and forward to the layer's core.
#include <GL/gl.h>
#include <GL/glu.h>

#include "web/gl/Core.h"

namespace gl = tavikgl;

extern "C" {

void glBegin(GLenum mode) {
    gl::Begin(mode);
}
void glEnd() {
    gl::End();
}
void glVertex2f(GLfloat x, GLfloat y) {
    gl::Vertex3f(x, y, 0.0f);
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    gl::Vertex3f(x, y, z);
}
void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
    gl::Vertex3f(static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z));
}
void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    gl::Color4f(r, g, b, 1.0f);
}
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    gl::Color4f(r, g, b, a);
}
void glColor3d(GLdouble r, GLdouble g, GLdouble b) {
    gl::Color4f(static_cast<GLfloat>(r), static_cast<GLfloat>(g), static_cast<GLfloat>(b), 1.0f);
}
void glColor4d(GLdouble r, GLdouble g, GLdouble b, GLdouble a) {
    gl::Color4f(static_cast<GLfloat>(r), static_cast<GLfloat>(g), static_cast<GLfloat>(b),
                static_cast<GLfloat>(a));
}
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    gl::Normal3f(x, y, z);
}
void glNormal3d(GLdouble x, GLdouble y, GLdouble z) {
    gl::Normal3f(static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z));
}
void glTexCoord2f(GLfloat s, GLfloat t) {
    gl::TexCoord2f(s, t);
}
void glTexCoord2d(GLdouble s, GLdouble t) {
    gl::TexCoord2f(static_cast<GLfloat>(s), static_cast<GLfloat>(t));
}

void glEnable(GLenum cap) {
    gl::Enable(cap);
}
void glDisable(GLenum cap) {
    gl::Disable(cap);
}
GLboolean glIsEnabled(GLenum cap) {
    return gl::IsEnabled(cap);
}
void glMatrixMode(GLenum mode) {
    gl::MatrixMode(mode);
}
void glLoadIdentity() {
    gl::LoadIdentity();
}
void glLoadMatrixd(const GLdouble* m) {
    gl::LoadMatrixd(m);
}
void glMultMatrixd(const GLdouble* m) {
    gl::MultMatrixd(m);
}
void glPushMatrix() {
    gl::PushMatrix();
}
void glPopMatrix() {
    gl::PopMatrix();
}
void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
    gl::Rotated(angle, x, y, z);
}
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    gl::Rotated(angle, x, y, z);
}
void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    gl::Translated(x, y, z);
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    gl::Translated(x, y, z);
}
void glScaled(GLdouble x, GLdouble y, GLdouble z) {
    gl::Scaled(x, y, z);
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    gl::Scaled(x, y, z);
}
void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
             GLdouble zFar) {
    gl::Ortho(left, right, bottom, top, zNear, zFar);
}
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    gl::Viewport(x, y, width, height);
}
void glScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
    gl::Scissor(x, y, width, height);
}

void glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    gl::Lightfv(light, pname, params);
}
void glLightf(GLenum light, GLenum pname, GLfloat param) {
    gl::Lightf(light, pname, param);
}
void glLightModelfv(GLenum pname, const GLfloat* params) {
    gl::LightModelfv(pname, params);
}
void glLightModeli(GLenum pname, GLint param) {
    gl::LightModeli(pname, param);
}
void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    gl::Materialfv(face, pname, params);
}
void glMaterialf(GLenum face, GLenum pname, GLfloat param) {
    gl::Materialf(face, pname, param);
}
void glMateriali(GLenum face, GLenum pname, GLint param) {
    gl::Materialf(face, pname, static_cast<GLfloat>(param));
}
void glColorMaterial(GLenum face, GLenum mode) {
    gl::ColorMaterial(face, mode);
}
void glShadeModel(GLenum mode) {
    gl::ShadeModel(mode);
}

void glPolygonMode(GLenum face, GLenum mode) {
    gl::PolygonMode(face, mode);
}
void glCullFace(GLenum mode) {
    gl::CullFace(mode);
}
void glFrontFace(GLenum mode) {
    gl::FrontFace(mode);
}
void glPointSize(GLfloat size) {
    gl::PointSize(size);
}
void glBlendFunc(GLenum source, GLenum destination) {
    gl::BlendFunc(source, destination);
}
void glDepthFunc(GLenum func) {
    gl::DepthFunc(func);
}
void glDepthMask(GLboolean flag) {
    gl::DepthMask(flag);
}
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    gl::ClearColor(r, g, b, a);
}
void glClearDepth(GLclampd depth) {
    gl::ClearDepth(depth);
}
void glClear(GLbitfield mask) {
    gl::Clear(mask);
}
void glPushAttrib(GLbitfield mask) {
    gl::PushAttrib(mask);
}
void glPopAttrib() {
    gl::PopAttrib();
}
void glPixelStorei(GLenum pname, GLint param) {
    gl::PixelStorei(pname, param);
}
void glGetIntegerv(GLenum pname, GLint* params) {
    gl::GetIntegerv(pname, params);
}
void glGetFloatv(GLenum pname, GLfloat* params) {
    gl::GetFloatv(pname, params);
}
GLenum glGetError() {
    return gl::GetError();
}
void glFinish() {
    gl::Finish();
}
void glFlush() {
    gl::Flush();
}

GLuint glGenLists(GLsizei range) {
    return gl::GenLists(range);
}
void glNewList(GLuint list, GLenum mode) {
    gl::NewList(list, mode);
}
void glEndList() {
    gl::EndList();
}
void glCallList(GLuint list) {
    gl::CallList(list);
}
void glDeleteLists(GLuint list, GLsizei range) {
    gl::DeleteLists(list, range);
}

void glGenTextures(GLsizei n, GLuint* textures) {
    gl::GenTextures(n, textures);
}
void glDeleteTextures(GLsizei n, const GLuint* textures) {
    gl::DeleteTextures(n, textures);
}
void glBindTexture(GLenum target, GLuint texture) {
    gl::BindTexture(target, texture);
}
void glTexParameteri(GLenum target, GLenum pname, GLint param) {
    gl::TexParameteri(target, pname, param);
}
void glTexParameterf(GLenum target, GLenum pname, GLfloat param) {
    gl::TexParameteri(target, pname, static_cast<GLint>(param));
}
void glTexImage2D(GLenum target, GLint level, GLint components, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const void* pixels) {
    gl::TexImage2D(target, level, components, width, height, border, format, type, pixels);
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    gl::Perspective(fovy, aspect, zNear, zFar);
}
void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,
               GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
    gl::LookAt(eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ);
}
GLint gluBuild2DMipmaps(GLenum target, GLint components, GLsizei width, GLsizei height,
                        GLenum format, GLenum type, const void* data) {
    return gl::Build2DMipmaps(target, components, width, height, format, type, data);
}
GLint gluScaleImage(GLenum format, GLsizei widthIn, GLsizei heightIn, GLenum typeIn,
                    const void* dataIn, GLsizei widthOut, GLsizei heightOut, GLenum typeOut,
                    GLvoid* dataOut) {
    return gl::ScaleImage(format, widthIn, heightIn, typeIn, dataIn, widthOut, heightOut, typeOut,
                          dataOut);
}
const GLubyte* gluErrorString(GLenum error) {
    return gl::ErrorString(error);
}

void glutSolidTorus(double innerRadius, double outerRadius, GLint sides, GLint rings) {
    gl::SolidTorus(innerRadius, outerRadius, sides, rings);
}

}  // extern "C"
