// Matrix arithmetic in the order and precision OpenGL and GLU use: GLU builds its matrices
// in double (gluLookAt in float) and OpenGL keeps every matrix in float.
#include "web/gl/Matrix.h"

#include <cmath>

namespace tavikgl {

namespace {
constexpr double kPi = 3.14159265358979323846;

Matrix FromRows(const double rows[4][4]) {
    Matrix out;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            out.m[column * 4 + row] = static_cast<float>(rows[row][column]);
        }
    }
    return out;
}
}  // namespace

Matrix Identity() {
    return Matrix{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix out;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[k * 4 + row] * b.m[column * 4 + k];
            }
            out.m[column * 4 + row] = sum;
        }
    }
    return out;
}

Matrix FromDoubles(const double* values) {
    Matrix out;
    for (int i = 0; i < 16; ++i) {
        out.m[i] = static_cast<float>(values[i]);
    }
    return out;
}

Matrix Rotation(double angleDegrees, double x, double y, double z) {
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0) {
        return Identity();  // OpenGL leaves the matrix as it is for a zero axis
    }
    x /= length;
    y /= length;
    z /= length;
    const double radians = angleDegrees * kPi / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double t = 1.0 - c;
    const double rows[4][4] = {{x * x * t + c, x * y * t - z * s, x * z * t + y * s, 0},
                               {y * x * t + z * s, y * y * t + c, y * z * t - x * s, 0},
                               {z * x * t - y * s, z * y * t + x * s, z * z * t + c, 0},
                               {0, 0, 0, 1}};
    return FromRows(rows);
}

Matrix Translation(double x, double y, double z) {
    const double rows[4][4] = {{1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, z}, {0, 0, 0, 1}};
    return FromRows(rows);
}

Matrix Scaling(double x, double y, double z) {
    const double rows[4][4] = {{x, 0, 0, 0}, {0, y, 0, 0}, {0, 0, z, 0}, {0, 0, 0, 1}};
    return FromRows(rows);
}

Matrix OrthoMatrix(double left, double right, double bottom, double top, double zNear,
                   double zFar) {
    const double rows[4][4] = {{2.0 / (right - left), 0, 0, -(right + left) / (right - left)},
                               {0, 2.0 / (top - bottom), 0, -(top + bottom) / (top - bottom)},
                               {0, 0, -2.0 / (zFar - zNear), -(zFar + zNear) / (zFar - zNear)},
                               {0, 0, 0, 1}};
    return FromRows(rows);
}

bool PerspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar, Matrix* out) {
    const double radians = fovyDegrees / 2 * kPi / 180;
    const double deltaZ = zFar - zNear;
    const double sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0) {
        return false;
    }
    const double cotangent = std::cos(radians) / sine;
    const double rows[4][4] = {{cotangent / aspect, 0, 0, 0},
                               {0, cotangent, 0, 0},
                               {0, 0, -(zFar + zNear) / deltaZ, -2 * zNear * zFar / deltaZ},
                               {0, 0, -1, 0}};
    *out = FromRows(rows);
    return true;
}

Matrix LookAtMatrix(double eyeX, double eyeY, double eyeZ, double centreX, double centreY,
                    double centreZ, double upX, double upY, double upZ) {
    // GLU works this part in float.
    float forward[3] = {static_cast<float>(centreX - eyeX), static_cast<float>(centreY - eyeY),
                        static_cast<float>(centreZ - eyeZ)};
    const float up[3] = {static_cast<float>(upX), static_cast<float>(upY), static_cast<float>(upZ)};
    auto normalize = [](float v[3]) {
        const float r = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        if (r != 0.0f) {
            v[0] /= r;
            v[1] /= r;
            v[2] /= r;
        }
    };
    auto cross = [](const float a[3], const float b[3], float out[3]) {
        out[0] = a[1] * b[2] - a[2] * b[1];
        out[1] = a[2] * b[0] - a[0] * b[2];
        out[2] = a[0] * b[1] - a[1] * b[0];
    };
    normalize(forward);
    float side[3];
    cross(forward, up, side);
    normalize(side);
    float newUp[3];
    cross(side, forward, newUp);
    const double rows[4][4] = {{side[0], side[1], side[2], 0},
                               {newUp[0], newUp[1], newUp[2], 0},
                               {-forward[0], -forward[1], -forward[2], 0},
                               {0, 0, 0, 1}};
    return Multiply(FromRows(rows), Translation(-eyeX, -eyeY, -eyeZ));
}

void TransformPoint(const Matrix& m, const float in[4], float out[4]) {
    for (int row = 0; row < 4; ++row) {
        out[row] =
            m.m[row] * in[0] + m.m[4 + row] * in[1] + m.m[8 + row] * in[2] + m.m[12 + row] * in[3];
    }
}

void TransformDirection(const Matrix& m, const float in[3], float out[3]) {
    for (int row = 0; row < 3; ++row) {
        out[row] = m.m[row] * in[0] + m.m[4 + row] * in[1] + m.m[8 + row] * in[2];
    }
}

void NormalMatrix(const Matrix& m, float out[9]) {
    // a[row][column] of the upper left 3 by 3; the inverse transpose is the cofactor
    // matrix over the determinant.
    auto a = [&m](int row, int column) { return static_cast<double>(m.m[column * 4 + row]); };
    double cofactor[3][3];
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const int r0 = (row + 1) % 3, r1 = (row + 2) % 3;
            const int c0 = (column + 1) % 3, c1 = (column + 2) % 3;
            cofactor[row][column] = a(r0, c0) * a(r1, c1) - a(r0, c1) * a(r1, c0);
        }
    }
    const double determinant =
        a(0, 0) * cofactor[0][0] + a(0, 1) * cofactor[0][1] + a(0, 2) * cofactor[0][2];
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            out[column * 3 + row] =
                determinant == 0.0 ? 0.0f : static_cast<float>(cofactor[row][column] / determinant);
        }
    }
}

}  // namespace tavikgl
