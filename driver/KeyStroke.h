// One key press as the demo's key handlers take it, for the tools, the tests and the
// browser's snapshot mode alike.
#pragma once

// A character for the keyboard handler or a GLUT_KEY_* code for the special-key handler.
struct KeyStroke {
    bool special = false;
    int code = 0;
};
