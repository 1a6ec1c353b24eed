// The values of the tools' options, parsed without X or GLUT's window: key lists, sizes and
// counts. tavik-snapshot's options and the browser's snapshot mode read them alike.
#pragma once

#include <string>
#include <vector>

#include "driver/KeyStroke.h"

// Parses a comma-separated list of key names into strokes, appended to *keys. A name is a
// single character ("l", "?", "<"), one of space, escape, left, right, up, down, comma, or
// either followed by *COUNT to repeat it ("l*6"). False, with the reason in *error, for an
// unknown name.
bool ParseKeys(const std::string& text, std::vector<KeyStroke>* keys, std::string* error);
// Parses "WIDTHxHEIGHT" with both sides from 1 to 16384; on failure (which stops the tool)
// either side may have changed.
bool ParseSize(const std::string& text, int* width, int* height);
// Parses a whole non-negative decimal number up to limit.
bool ParseCount(const std::string& text, int* value, int limit = 999999999);
