// 4 by 4 matrices as OpenGL keeps them: single precision, column by column, and the
// operations that build them (the products glRotate, glScale, glOrtho and the rest multiply in).
#pragma once

namespace tavikgl {

struct Matrix {
    float m[16];  // column-major: m[column * 4 + row]
};

Matrix Identity();
// a × b: b is applied first, as glMultMatrix(b) does to the current matrix a.
Matrix Multiply(const Matrix& a, const Matrix& b);
Matrix FromDoubles(const double* values);
Matrix Rotation(double angleDegrees, double x, double y, double z);
Matrix Translation(double x, double y, double z);
Matrix Scaling(double x, double y, double z);
Matrix OrthoMatrix(double left, double right, double bottom, double top, double zNear, double zFar);
// The matrix gluPerspective multiplies in; false (and nothing to multiply) for the
// arguments GLU ignores.
bool PerspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar, Matrix* out);
// The matrix gluLookAt multiplies in, its eye translation included.
Matrix LookAtMatrix(double eyeX, double eyeY, double eyeZ, double centreX, double centreY,
                    double centreZ, double upX, double upY, double upZ);

// m × (x, y, z, w).
void TransformPoint(const Matrix& m, const float in[4], float out[4]);
// The upper left 3 by 3 of m × (x, y, z): how a direction moves.
void TransformDirection(const Matrix& m, const float in[3], float out[3]);
// The inverse transpose of the upper left 3 by 3 (how normals move), column-major; a
// singular matrix gives zeros.
void NormalMatrix(const Matrix& m, float out[9]);

}  // namespace tavikgl
