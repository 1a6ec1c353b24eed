// The per-frame hook.
#include <GL/gl.h>

#include "shell/AppHooks.h"

bool AppFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return true;
}
