// The whole demo in windows down to one pixel and in letterbox bands that are empty: every
// frame stays free of OpenGL errors and of NaN, keeps its viewport inside the window, and the
// picture comes back as before once the window is restored. That an empty band lets nothing
// of the scene through is CameraGlTest's.
#include <string>

#include "shell/SceneGlobals.h"
#include "shell/Settings.h"
#include "tests/hardening/FiniteGlState.h"
#include "tests/support/DemoSession.h"

namespace {
using WindowExtremesGlTest = DemoSessionGlTest;

struct Size {
    int width;
    int height;
};
}  // namespace

TEST_F(WindowExtremesGlTest, TinyWindowsAndEmptyBandsThenTheNormalPictureAgain) {
    paused = 1;  // the same picture before and after
    textOverlay.messageExpiry = 0.0;
    uint32_t ms = 16;
    DrawnFrameAt(ms);
    const int litBefore = CountPixelsNot(120, 40, 400, 400, Rgb{0, 0, 0}, 20);
    ASSERT_GT(litBefore, 5000) << "the rings and stars of a normal frame";

    const Size sizes[] = {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 7}, {640, 1}, {1, 480}, {5, 3}};
    for (const Size size : sizes) {
        ASSERT_TRUE(ResizeWindow(size.width, size.height)) << size.width << " x " << size.height;
        for (int letterbox = -5; letterbox <= 6; ++letterbox) {
            for (int mode = 0; mode < 3; ++mode) {
                const std::string where = std::to_string(size.width) + " x " +
                                          std::to_string(size.height) + ", letterbox " +
                                          std::to_string(letterbox) + ", polygon mode " +
                                          std::to_string(mode);
                settings.letterbox = letterbox;
                settings.polygonMode = mode;
                // The overlay too: the help page, the readout and a message at this size.
                helpVisible = mode == 1;
                settings.showFrameRate = mode != 0;
                FrameAt(ms += 16);
                ExpectNoGlErrorRaised(where);
                ExpectFiniteGlState(where);
                GLint viewport[4];
                glGetIntegerv(GL_VIEWPORT, viewport);
                EXPECT_GE(viewport[3], 0) << where;
                EXPECT_LE(viewport[1] + viewport[3], size.height) << where;
            }
        }
    }

    // Back to the usual window: the same picture as before.
    ASSERT_TRUE(ResizeWindow(640, 480));
    settings.letterbox = 0;
    settings.polygonMode = 0;
    textOverlay.messageExpiry = 0.0;
    DrawnFrameAt(ms += 16);
    const int litAfter = CountPixelsNot(120, 40, 400, 400, Rgb{0, 0, 0}, 20);
    EXPECT_GT(litAfter, litBefore * 9 / 10) << "the picture did not come back";
    EXPECT_LT(litAfter, litBefore * 11 / 10) << "the picture did not come back";
    ExpectNoGlErrorRaised("restored window");
}
