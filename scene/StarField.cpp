// The star field: builds one display list of randomly placed, randomly tinted points by
// rejection sampling, and replays it at three point sizes and orientations.
#include "scene/StarField.h"

#include <GL/gl.h>

#include <cmath>

#include "scene/Random.h"

namespace {
// Candidates tried for one star before Build gives up. With sound arguments a rejection is
// rare (about 3 % for the program's cube shell), so this bound is only ever reached by radii
// that leave no room, or next to none, for a star.
constexpr int kMaxCandidatesPerStar = 10000;
constexpr double kCubeClearance = 0.01;  // beyond the inner radius
constexpr double kTintedShare = 0.1;

struct StarPosition {
    double x, y, z;
};

bool Accepts(const StarPosition& p, double outerRadius, double innerRadius, int shape) {
    if (shape == kStarCubeShell) {
        const double limit = innerRadius + kCubeClearance;
        return std::fabs(p.x) >= limit || std::fabs(p.y) >= limit || std::fabs(p.z) >= limit;
    }
    const double r = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    const bool inShell = innerRadius <= r && r <= outerRadius;
    return shape == kStarUpperSphereShell ? inShell && p.y >= 0.0 : inShell;
}

// Draws candidates, x then y then z, until one lies in the star volume. False if none of
// kMaxCandidatesPerStar does.
bool PlaceStar(double outerRadius, double innerRadius, int shape, StarPosition* position) {
    const double span = 2.0 * outerRadius;
    for (int attempt = 0; attempt < kMaxCandidatesPerStar; ++attempt) {
        StarPosition p;
        p.x = RandomRange(span) - outerRadius;
        p.y = RandomRange(span) - outerRadius;
        p.z = RandomRange(span) - outerRadius;
        if (Accepts(p, outerRadius, innerRadius, shape)) {
            *position = p;
            return true;
        }
    }
    return false;
}

// One star in ten is tinted (components 0.3 to 0.8), the rest are pale (0.5 to 0.8). The
// components are drawn blue first and emitted red first.
void EmitColour() {
    const bool tinted = RandomRange(1.0) < kTintedShare;
    const double range = tinted ? 0.5 : 0.3;
    const double floor = tinted ? 0.3 : 0.5;
    const double blue = RandomRange(range) + floor;
    const double green = RandomRange(range) + floor;
    const double red = RandomRange(range) + floor;
    glColor3f(static_cast<float>(red), static_cast<float>(green), static_cast<float>(blue));
}

// Calls the held list; without one there is nothing to call.
void CallList(int32_t listId) {
    if (listId != -1) {
        glCallList(static_cast<GLuint>(listId));
    }
}
}  // namespace

// A count below 1 builds an empty list. With radii that leave no room for a star (see
// PlaceStar), Build stops at the first star it cannot place: the list then holds the stars
// placed before it, possibly none.
void StarField::Build(int count, float outerRadius, float innerRadius, int shape) {
    Release();
    const GLuint name = glGenLists(1);
    if (name == 0) {
        return;  // no name to be had: the field stays without a list
    }
    listId = static_cast<int32_t>(name);
    const double outer = outerRadius;
    const double inner = innerRadius;
    glNewList(name, GL_COMPILE);
    {
        glBegin(GL_POINTS);
        {
            for (int star = 0; star < count; ++star) {
                StarPosition p;
                if (!PlaceStar(outer, inner, shape, &p)) {
                    break;
                }
                EmitColour();
                glVertex3d(p.x, p.y, p.z);
            }
        }
        glEnd();
    }
    glEndList();
}

// Leaves blending off, the point size at 3 and the current colour at the last star's.
void StarField::Draw() const {
    glEnable(GL_BLEND);
    glPushMatrix();
    {
        glPointSize(1.0f);
        CallList(listId);
        glRotated(200.0, 0.0, 1.0, 0.0);
        glPointSize(2.0f);
        CallList(listId);
        glRotated(200.0, 0.0, 0.0, 1.0);
        glPointSize(3.0f);
        CallList(listId);
    }
    glPopMatrix();
    glDisable(GL_BLEND);
}

void StarField::Release() {
    if (listId != -1) {
        glDeleteLists(static_cast<GLuint>(listId), 1);
    }
    listId = -1;
}
