// Entry of every OpenGL test program: starts a private Xvfb, opens the demo's own window
// through the shell (same display mode and title) and runs the tests in it.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "shell/Shell.h"
#include "tests/support/GlTestSupport.h"
#include "xvfb/VirtualDisplay.h"

namespace {
void DisplayNothing() {}
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    VirtualDisplay display;
    if (!display.Start()) {
        std::fprintf(stderr, "could not start Xvfb\n");
        return 1;
    }
    setenv("DISPLAY", display.Name().c_str(), 1);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);

    int glutArgc = 1;
    char* glutArgv[] = {argv[0], nullptr};
    CreateMainWindow(&glutArgc, glutArgv);
    // Only the reshape callback of the shell: the tests draw frames themselves.
    glutReshapeFunc(OnReshape);
    glutDisplayFunc(DisplayNothing);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    PumpEvents();

    const int result = RUN_ALL_TESTS();
    glutDestroyWindow(glutGetWindow());
    glutExit();
    display.Stop();
    return result;
}
