// Entry of the tool tests: one private Xvfb, started here, for every snapshot they take,
// so that no test draws on the developer's own display.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "xvfb/VirtualDisplay.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    VirtualDisplay display;
    if (!display.Start(1024, 768)) {
        std::fprintf(stderr, "could not start Xvfb\n");
        return 1;
    }
    setenv("DISPLAY", display.Name().c_str(), 1);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    return RUN_ALL_TESTS();
}
