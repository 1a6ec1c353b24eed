// The help page: a title and 26 lines listing the keys, drawn over the running scene in
// every frame while it is shown. None of its lines becomes the status message.
#include "overlay/HelpScreen.h"

#include "overlay/TextLayout.h"
#include "overlay/TextOverlay.h"
#include "shell/SceneGlobals.h"
#include "shell/WindowSize.h"

namespace {
constexpr const char* kTitle = "Kestrane: FreeStyle: Tavik";
constexpr int16_t kTitleX = 20;
constexpr float kTitleSize = 30.0f;
constexpr double kTopFraction = 0.09;  // the title's lower edge, as a fraction of the height

constexpr int16_t kLineX = kTitleX + 10;
constexpr float kLineSize = 18.0f;
constexpr double kLineSpacing = 17.0;  // one pixel row less than the text height

// Leading spaces are part of the text: each takes one advance.
constexpr const char* kLines[] = {
    "Special Controls for this simulation:",
    "  <Left/Right Arrows> - Adjust Gyro Rotate Speed",
    "  shift  <>  - Adjust Tesselation",
    "Standard Controls in most simulations where applicable:",
    "          -=  Adjust World Rotate Speed",
    "  shift   _+  Adjust World Movement Speed",
    "  shift   {}  Adjust World Closeness (Camera Z)",
    "  shift   ()  Adjust Light Rotate Speed",
    "unshifted <>  Adjust Screen Magnification",
    "          []  Adjust Object Size",
    "           c  Toggle Frame-Per-Second Clock",
    "           f  Toggle FullScreen/Window",
    "           l  Adjust Letterbox Size 0-6",
    "           o  Toggle Available Options",
    "           p  Toggle Pause On/Off",
    "           r  Reset/Randomize all parameters",
    "           s  Toggle Color SpotLites On-Off",
    "           t  Toggle Textures On-Off",
    "           u  Toggle Universe of Stars On/Off",
    "           w  Toggle Polygons/Wireframe/Points",
    "      <SPACE> Toggle Hyperspace (brief non-blanking)",
    "        <ESC> to QUIT.",
    "   -------------------------------------------------------- ",
    "   Drawn with OpenGL 1.1 through GLUT and Mesa",
    "   Lettering in DejaVu Sans Mono Bold",
    "   <?> to return",
};
constexpr int kLineCount = sizeof(kLines) / sizeof(kLines[0]);
static_assert(kLineCount == 26, "the help page lists 26 lines under its title");

// Extra space before line 1 (under the larger title) and before line 4 (a new section),
// in units of the line spacing; every other line is one spacing below the last.
double SpacingBefore(int lineIndex) {
    if (lineIndex == 0) {
        return 1.4;
    }
    if (lineIndex == 3) {
        return 1.3;
    }
    return 1.0;
}
}  // namespace

void DrawHelpScreen() {
    textOverlay.recording = 0;
    int16_t y = ToPixel16(WindowSize.height * kTopFraction);
    textOverlay.DrawText(kTitle, kTitleX, y, kTitleSize);
    for (int i = 0; i < kLineCount; ++i) {
        y = ToPixel16(y + kLineSpacing * SpacingBefore(i));
        textOverlay.DrawText(kLines[i], kLineX, y, kLineSize);
    }
    textOverlay.recording = 1;
}
