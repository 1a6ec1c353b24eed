// Bitmap-font text in window pixel coordinates, and the timed status message, frame-rate
// readout and OpenGL error line built on it. The font is a 16 x 8 grid of glyph cells.
#pragma once

#include <cstdint>

#include "image/Texture.h"

constexpr int kMessageBytes = 80;

// How the overlay asks for the window's width and height (GLUT_WINDOW_WIDTH,
// GLUT_WINDOW_HEIGHT), afresh at each use: glutGet by default. A host that draws without a
// GLUT window replaces it.
using WindowQuery = int (*)(unsigned int what);
extern WindowQuery overlayWindowQuery;
// glutGet: the query at program start.
extern const WindowQuery kGlutWindowQuery;

class TextOverlay {
public:
    TextOverlay();
    virtual ~TextOverlay();

    // Draws text with its left edge at x and its glyphs' lower edge y pixels below the
    // window's top, glyphs size pixels high. Leaves blending and texturing off, depth
    // writes on, the colour white, the font bound and the orthographic projection loaded.
    // While recording is on, remembers text and position as the status message.
    void DrawText(const char* text, int16_t x, int16_t y, float size);

    // The status line (StatusMessages.h and .cpp).
    // Formats into an 80-byte buffer, draws it at (10, 20) and keeps it 3 seconds.
    void ShowMessage(const char* format, double value);
    void ShowMessage(const char* format, int32_t value);
    void ShowMessage(const char* text);
    // Redraws the recorded message until it expires, then clears the expiry.
    void DrawMessage();
    // "%3d Frame/Sec" at the top right; never recorded.
    void DrawFrameRate(int32_t framesPerSecond);
    // Shows one pending OpenGL error for this frame and renews the message's expiry.
    void CheckGlError();

    int32_t messageX;
    int32_t messageY;
    int32_t recording;
    double messageExpiry;
    char messageText[kMessageBytes];
    Texture fontTexture;
};
