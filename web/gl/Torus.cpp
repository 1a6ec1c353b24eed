// The torus's vertices in freeglut's own order and float arithmetic (fghGenerateTorus and
// fghCircleTable), and the index strips of its solid form (fghTorus).
#include "web/gl/Torus.h"

#include <cmath>
#include <cstdlib>

namespace tavikgl {

namespace {
constexpr double kPi = 3.14159265358979323846;

// freeglut's circle table: n samples (the sign of n gives the direction) plus the first
// repeated; angles in float as it computes them.
void CircleTable(int n, std::vector<float>* sines, std::vector<float>* cosines) {
    const int size = std::abs(n);
    const float angle = 2 * static_cast<float>(kPi) / static_cast<float>(n == 0 ? 1 : n);
    sines->assign(static_cast<size_t>(size) + 1, 0.0f);
    cosines->assign(static_cast<size_t>(size) + 1, 1.0f);
    for (int i = 1; i < size; ++i) {
        // The float product, then the double sine and cosine of C's sin and cos.
        const double a = angle * static_cast<float>(i);
        (*sines)[i] = static_cast<float>(std::sin(a));
        (*cosines)[i] = static_cast<float>(std::cos(a));
    }
    (*sines)[size] = (*sines)[0];
    (*cosines)[size] = (*cosines)[0];
}
}  // namespace

bool MakeTorus(int sides, int rings, TorusGeometry* out) {
    if (sides < 2 || rings < 2) {
        return false;
    }
    std::vector<float> sinPsi, cosPsi, sinPhi, cosPhi;
    CircleTable(rings, &sinPsi, &cosPsi);
    CircleTable(-sides, &sinPhi, &cosPhi);
    out->angles.clear();
    out->angles.reserve(static_cast<size_t>(sides) * rings * 4);
    for (int j = 0; j < rings; ++j) {
        for (int i = 0; i < sides; ++i) {
            out->angles.insert(out->angles.end(), {cosPsi[j], sinPsi[j], cosPhi[i], sinPhi[i]});
        }
    }
    out->stripCount = static_cast<uint32_t>(sides);
    out->stripLength = static_cast<uint32_t>(rings + 1) * 2;
    out->strips.clear();
    out->strips.reserve(static_cast<size_t>(out->stripCount) * out->stripLength);
    auto index = [](int value) { return static_cast<uint32_t>(static_cast<uint16_t>(value)); };
    for (int i = 0; i < sides; ++i) {
        const int next = i == sides - 1 ? -i : 1;
        for (int j = 0; j < rings; ++j) {
            const int offset = j * sides + i;
            out->strips.insert(out->strips.end(), {index(offset), index(offset + next)});
        }
        out->strips.insert(out->strips.end(), {index(i), index(i + next)});
    }
    return true;
}

void TorusVertex(const float angles[4], float innerRadius, float outerRadius, float position[3],
                 float normal[3]) {
    const float ring = outerRadius + angles[2] * innerRadius;
    position[0] = angles[0] * ring;
    position[1] = angles[1] * ring;
    position[2] = angles[3] * innerRadius;
    normal[0] = angles[0] * angles[2];
    normal[1] = angles[1] * angles[2];
    normal[2] = angles[3];
}

}  // namespace tavikgl
