// Immediate-mode geometry helpers: vector normalisation, a textured sphere and a torus of
// quad strips with texture coordinates.
#include "scene/Geometry.h"

#include <GL/gl.h>

#include <cmath>

namespace {
constexpr double kTwoPi = 6.283185307;
constexpr double kPi = 3.141592654;
}  // namespace

void NormalizeVector(float x, float y, float z, float* outX, float* outY, float* outZ) {
    const double sum =
        static_cast<double>(x) * x + static_cast<double>(y) * y + static_cast<double>(z) * z;
    const float length = static_cast<float>(std::sqrt(sum));
    *outX = x / length;
    *outY = y / length;
    *outZ = z / length;
}

void DrawTexturedSphere(double radius, int32_t slices, int32_t stacks, double sScale, double tScale,
                        double sOffset, double tOffset) {
    if (slices < 1 || stacks < 2) {
        return;
    }
    const double dTheta = kTwoPi / slices;
    const double dPhi = kPi / (stacks - 1);
    for (int i = 0; i <= stacks - 2; ++i) {
        const double phi[2] = {(i + 1) * dPhi, i * dPhi};  // the phi1 vertex first
        const int band[2] = {i + 1, i};
        glBegin(GL_TRIANGLE_STRIP);
        for (int j = slices - 1; j >= -1; --j) {
            const int m = j == -1 ? slices - 1 : j;
            const double theta = m * dTheta;
            for (int v = 0; v < 2; ++v) {
                const double nx = std::sin(phi[v]) * std::sin(theta);
                const double ny = std::cos(phi[v]);
                const double nz = std::sin(phi[v]) * std::cos(theta);
                glNormal3d(nx, ny, nz);
                glTexCoord2d(j * sScale / slices + sOffset, band[v] * tScale / stacks + tOffset);
                glVertex3d(radius * nx, radius * ny, radius * nz);
            }
        }
        glEnd();
    }
}

void DrawTorusStrips(int32_t sides, double majorRadius, double minorRadius) {
    if (sides < 1) {
        return;
    }
    const double d = kTwoPi / sides;
    for (int i = 0; i < sides; ++i) {
        glBegin(GL_QUAD_STRIP);
        for (int j = 0; j <= 2 * sides; ++j) {
            for (int k = 1; k >= 0; --k) {
                const double a = (((i + k) % sides) + 0.5) * d;
                const double b = (j % (2 * sides)) * d;
                const double ring = majorRadius + minorRadius * std::cos(a);
                glTexCoord2d(static_cast<double>(j) / (2 * sides) * 8.0,
                             static_cast<double>(i) / sides + k);
                glVertex3d(std::cos(b) * ring, std::sin(b) * ring, minorRadius * std::sin(a));
            }
        }
        glEnd();
    }
}
