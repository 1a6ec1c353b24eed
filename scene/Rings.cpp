// The ring assembly: three solid tori sharing one centre, turned against each other by
// channels 13 to 17, coloured by channels 10 to 12 and optionally nested inside each other.
#include "scene/Rings.h"

#include <GL/freeglut.h>

#include <cmath>
#include <limits>

#include "scene/ChannelBank.h"
#include "shell/Settings.h"

namespace {
constexpr double kDegreesPerPhase = 720.0;
constexpr double kColourWeight = 0.5;
constexpr double kTubeShare = 0.2;  // largest tube radius as a share of the ring size
constexpr double kThinnestTube = 0.015;
constexpr double kNestingDepth = 1.9;        // tube diameters, roughly, that nesting moves in
constexpr double kLargestRingExtent = 1e30;  // far inside the float range OpenGL works in
constexpr double kLargestFloat = std::numeric_limits<float>::max();

// The factor that shrinks the second torus (and, squared, the third) while nesting. Once the
// tube is thick against the ring (objectSize under about 0.0176) the factor passes -1 and
// the inner tori turn inside out and grow, which is still a finite picture. Far below that
// (objectSize under about 1.5e-21) the squared factor would overflow OpenGL's float matrices,
// and an infinite size makes it undefined: without a positive object size and a squared
// factor within the float range the tori keep their size.
double NestScale(double tubeRadius, double objectSize) {
    if (!(objectSize > 0.0)) {
        return 1.0;
    }
    const double ratio = tubeRadius / objectSize;
    const double scale = 1.0 - ChannelWave(19, 5.0, 1.0, 0.0) * (ratio * kNestingDepth);
    return scale * scale <= kLargestFloat ? scale : 1.0;
}

// One torus around the Z axis. A ring so large (or infinite, after many presses of "]") that
// its vertices would overflow OpenGL's floats is not drawn: it could not be on screen anyway.
void DrawTorus(double tubeRadius, double ringRadius) {
    const double extent = std::fabs(ringRadius) + std::fabs(tubeRadius);
    if (!(extent <= kLargestRingExtent)) {
        return;
    }
    glutSolidTorus(tubeRadius, ringRadius, settings.tessellation, settings.tessellation * 4);
}

double PhaseDegrees(int channel) {
    return PhaseAngle(channel, kDegreesPerPhase);
}
}  // namespace

void DrawRings() {
    const double objectSize = settings.objectSize;
    const double tubeRadius = ChannelWave(18, 5.0, objectSize * kTubeShare, kThinnestTube);
    const double nestScale = NestScale(tubeRadius, objectSize);
    const double red = ChannelWave(10, 5.0, 1.0, 0.0) * kColourWeight;
    const double green = ChannelWave(11, 5.0, 1.0, 0.0) * kColourWeight;
    const double blue = ChannelWave(12, 5.0, 1.0, 0.0) * kColourWeight;

    glPushMatrix();
    {
        glPushMatrix();
        {
            // With the scene's colour material this is the material of all three tori.
            glColor4d(red, green, blue, 1.0);
            glRotated(PhaseDegrees(13), 1.0, 0.0, 0.0);
            glRotated(PhaseDegrees(14), 0.0, 1.0, 0.0);
            glRotated(PhaseDegrees(15), 0.0, 0.0, 1.0);
            DrawTorus(tubeRadius, objectSize);

            // The nesting scale shortens the normals of the inner tori; normalising stays on
            // for everything drawn from now on.
            glEnable(GL_NORMALIZE);

            glRotated(PhaseDegrees(16), 0.0, 1.0, 0.0);
            if (settings.nestedRings) {
                glScaled(nestScale, nestScale, nestScale);
            }
            DrawTorus(tubeRadius, objectSize);

            glRotated(PhaseDegrees(17), 1.0, 0.0, 0.0);
            if (settings.nestedRings) {
                glScaled(nestScale, nestScale, nestScale);
            }
            DrawTorus(tubeRadius, objectSize);
        }
        glPopMatrix();
    }
    glPopMatrix();
}
