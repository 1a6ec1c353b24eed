// The lines in the window's top strip: the timed status message, the frame-rate readout and
// the OpenGL error line, all drawn through DrawText and formatted into 80-byte buffers.
#include "overlay/StatusMessages.h"

#include <GL/glu.h>  // gluErrorString; also brings GL/gl.h

#include <cstdio>

#include "overlay/TextLayout.h"
#include "overlay/TextOverlay.h"
#include "shell/Clock.h"
#include "shell/WindowSize.h"

namespace {
constexpr int16_t kMessageX = 10;
constexpr int16_t kTopLineY = 20;  // every top-strip line fills the top 20 pixel rows
constexpr float kTopLineSize = 20.0f;
constexpr double kMessageSeconds = 3.0;
constexpr int32_t kReadoutFromRight = 120;
constexpr double kErrorLineAt = 0.4;  // fraction of the window width

// snprintf cuts to the buffer and always terminates it; a failed conversion leaves an
// empty text rather than whatever the buffer held.
template <typename... Values>
void FormatBounded(MessageBuffer& out, const char* format, Values... values) {
    if (std::snprintf(out, kMessageBytes, format, values...) < 0) {
        out[0] = '\0';
    }
}
}  // namespace

void FormatMessage(MessageBuffer& out, const char* format, double value) {
    FormatBounded(out, format, value);
}

void FormatMessage(MessageBuffer& out, const char* format, int32_t value) {
    FormatBounded(out, format, static_cast<int>(value));
}

void FormatPlainMessage(MessageBuffer& out, const char* text) {
    FormatBounded(out, "%s", text);
}

void FormatFrameRate(MessageBuffer& out, int32_t framesPerSecond) {
    FormatBounded(out, "%3d Frame/Sec", static_cast<int>(framesPerSecond));
}

void FormatErrorLine(MessageBuffer& out, const char* description, uint32_t code) {
    if (description != nullptr) {
        FormatBounded(out, "OpenGL Error: %.60s", description);
    } else {
        FormatBounded(out, "OpenGL Error: 0x%04X", static_cast<unsigned>(code));
    }
}

int16_t FrameRateX(uint32_t windowWidth) {
    return ToPixel16(static_cast<double>(windowWidth) - kReadoutFromRight);
}

int16_t ErrorLineX(uint32_t windowWidth) {
    return ToPixel16(windowWidth * kErrorLineAt);
}

void TextOverlay::ShowMessage(const char* format, double value) {
    MessageBuffer buffer;
    FormatMessage(buffer, format, value);
    DrawText(buffer, kMessageX, kTopLineY, kTopLineSize);
    messageExpiry = ElapsedSeconds() + kMessageSeconds;
}

void TextOverlay::ShowMessage(const char* format, int32_t value) {
    MessageBuffer buffer;
    FormatMessage(buffer, format, value);
    DrawText(buffer, kMessageX, kTopLineY, kTopLineSize);
    messageExpiry = ElapsedSeconds() + kMessageSeconds;
}

// The text is printed as it stands rather than used as a format: a '%' in it would
// otherwise read an argument that was never passed.
void TextOverlay::ShowMessage(const char* text) {
    MessageBuffer buffer;
    FormatPlainMessage(buffer, text);
    DrawText(buffer, kMessageX, kTopLineY, kTopLineSize);
    messageExpiry = ElapsedSeconds() + kMessageSeconds;
}

void TextOverlay::DrawMessage() {
    if (ElapsedSeconds() < messageExpiry) {
        DrawText(messageText, ToPixel16(messageX), ToPixel16(messageY), kTopLineSize);
    } else {
        messageExpiry = 0.0;
    }
}

void TextOverlay::DrawFrameRate(int32_t framesPerSecond) {
    recording = 0;
    MessageBuffer buffer;
    FormatFrameRate(buffer, framesPerSecond);
    DrawText(buffer, FrameRateX(WindowSize.width), kTopLineY, kTopLineSize);
    recording = 1;
}

void TextOverlay::CheckGlError() {
    recording = 0;
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        MessageBuffer buffer;
        FormatErrorLine(buffer, reinterpret_cast<const char*>(gluErrorString(error)), error);
        DrawText(buffer, ErrorLineX(WindowSize.width), kTopLineY, kTopLineSize);
        // The last status message comes back for another 3 seconds under the error.
        messageExpiry = ElapsedSeconds() + kMessageSeconds;
    }
    recording = 1;
}
