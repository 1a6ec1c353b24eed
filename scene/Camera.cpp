// The polygon mode, the letterbox viewport, the perspective projection and the camera on the
// Z axis, set up anew at the start of every frame.
#include "scene/Camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <limits>

#include "shell/Settings.h"
#include "shell/WindowSize.h"

namespace {
constexpr double kLetterboxShare = 0.05;  // of the window height per step, at each edge
constexpr double kNearPlane = 0.1;
constexpr double kFarBeyondCamera = 7.0;  // the far plane is at 7 + cameraZ

// Loaded instead of a perspective when the viewport is empty: every point with w > 0 gets
// z = 2w and falls behind the far clip plane, so not even a wide point or line can reach the
// pixels around an empty viewport. All entries are finite.
constexpr GLdouble kClipEverything[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 1};

// Truncates toward zero into the 16-bit range of a bar position.
int16_t ToBar(double row) {
    const double truncated = std::trunc(row);
    if (truncated < std::numeric_limits<int16_t>::min()) {
        return std::numeric_limits<int16_t>::min();
    }
    if (truncated > std::numeric_limits<int16_t>::max()) {
        return std::numeric_limits<int16_t>::max();
    }
    return static_cast<int16_t>(truncated);
}

void ApplyPolygonMode(int32_t mode) {
    switch (mode) {
        case 0:
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
            break;
        case 1:
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
            break;
        case 2:
            glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
            break;
        default:
            break;  // any other value keeps the mode in force
    }
}

GLsizei ToSize(int64_t extent) {
    if (extent < 0) {
        return 0;
    }
    const int64_t largest = std::numeric_limits<GLsizei>::max();
    return static_cast<GLsizei>(extent < largest ? extent : largest);
}
}  // namespace

LetterboxBars ComputeLetterbox(int32_t letterbox, uint32_t height) {
    // The step is taken as a double so that the absolute value of the lowest int32 exists.
    const double step = std::fabs(static_cast<double>(letterbox));
    const double share = step * kLetterboxShare;
    const double rows = static_cast<double>(height);
    return LetterboxBars{ToBar(share * rows), ToBar((1.0 - share) * rows)};
}

void SetupView() {
    ApplyPolygonMode(settings.polygonMode);

    const LetterboxBars bars = ComputeLetterbox(settings.letterbox, WindowSize.height);
    const GLsizei width = ToSize(WindowSize.width);
    // Steps beyond 10 make the bars cross; such a band is as empty as one of height 0.
    const GLsizei height = ToSize(static_cast<int64_t>(bars.top) - bars.bottom);
    glViewport(0, bars.bottom, width, height);

    glMatrixMode(GL_PROJECTION);
    if (width > 0 && height > 0) {
        glLoadIdentity();
        const double aspect = static_cast<double>(width) / static_cast<double>(height);
        gluPerspective(static_cast<double>(settings.fieldOfView), aspect, kNearPlane,
                       kFarBeyondCamera + static_cast<double>(settings.cameraZ));
    } else {
        // No aspect ratio exists and nothing may be drawn into the bars around the band.
        glLoadMatrixd(kClipEverything);
    }

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const double eyeZ = settings.cameraZ;
    gluLookAt(0.0, 0.0, eyeZ, 0.0, 0.0, eyeZ - 1.0, 0.0, 1.0, 0.0);
}
