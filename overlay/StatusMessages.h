// The lines of the window's top strip: the texts of the status message, the frame-rate
// readout and the error line, formatted into 80-byte buffers apart from any drawing, and
// their positions. Each format function writes a NUL-terminated text of at most 79 bytes and
// never writes past the buffer. TextOverlay's status-line members (ShowMessage, DrawMessage,
// DrawFrameRate, CheckGlError) draw these texts and are defined in StatusMessages.cpp.
#pragma once

#include <cstdint>

#include "overlay/TextOverlay.h"

using MessageBuffer = char[kMessageBytes];

// format with one value, as printf would print it, cut to fit.
void FormatMessage(MessageBuffer& out, const char* format, double value);
void FormatMessage(MessageBuffer& out, const char* format, int32_t value);
// text itself, byte for byte, cut to fit: a '%' in it is an ordinary character.
void FormatPlainMessage(MessageBuffer& out, const char* text);
// "%3d Frame/Sec".
void FormatFrameRate(MessageBuffer& out, int32_t framesPerSecond);
// "OpenGL Error: " and the first 60 bytes of description. A null description (a code that
// the utility library does not know) shows the code's number instead.
void FormatErrorLine(MessageBuffer& out, const char* description, uint32_t code);

// Left edge of the frame-rate readout (width - 120) and of the error line (width x 0.4).
int16_t FrameRateX(uint32_t windowWidth);
int16_t ErrorLineX(uint32_t windowWidth);
