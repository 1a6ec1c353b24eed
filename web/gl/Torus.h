// glutSolidTorus as freeglut 3 draws it: nSides triangle strips around the ring, over
// nSides × nRings vertices. The vertices are kept as their sines and cosines so that one
// buffer serves every pair of radii: (cos psi, sin psi, cos phi, sin phi) gives the vertex
// (cos psi (R + r cos phi), sin psi (R + r cos phi), r sin phi) and the normal
// (cos psi cos phi, sin psi cos phi, sin phi).
#pragma once

#include <cstdint>
#include <vector>

namespace tavikgl {

struct TorusGeometry {
    std::vector<float> angles;  // four floats per vertex, as above
    // The strips, each (nRings + 1) * 2 indices long, as 16-bit indices (freeglut's own
    // type: past 65535 vertices they wrap as its do).
    std::vector<uint32_t> strips;
    uint32_t stripCount = 0;
    uint32_t stripLength = 0;
};

// False (nothing to draw) when sides or rings is below 2, as freeglut.
bool MakeTorus(int sides, int rings, TorusGeometry* out);

// The vertex and normal of one vertex for the radii (what the layer's shader computes).
void TorusVertex(const float angles[4], float innerRadius, float outerRadius, float position[3],
                 float normal[3]);

}  // namespace tavikgl
