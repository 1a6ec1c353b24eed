// Entry of every OpenGL test program: the demo's own window (same display mode and title),
// opened through the driver on a private Xvfb, and the tests run in it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "driver/DemoWindow.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    DemoWindow window;
    std::string error;
    if (!window.StartVirtualDisplay(1024, 768, &error) || !window.Open(argv[0], &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return RUN_ALL_TESTS();
}
