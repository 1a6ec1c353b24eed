// The window's state in the real GLUT window: quick full-screen presses end as fullScreen
// says, and no frames are asked for while the window cannot be seen.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/Keyboard.h"
#include "shell/SceneGlobals.h"
#include "shell/Shell.h"
#include "tests/support/GlTestSupport.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <GL/glx.h>
#include <X11/Xlib.h>

namespace {
// Turns of the main loop for the given time, about one a millisecond.
void RunEventsFor(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        glutMainLoopEvent();
        usleep(1000);
    }
}

// Turns the main loop until the window has the size, for at most a second.
bool WindowBecomes(int width, int height) {
    for (int i = 0; i < 200; ++i) {
        if (glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height) {
            return true;
        }
        RunEventsFor(5);
    }
    return false;
}

// The child process of the hidden-window test, run by the real main loop: frames counted
// instead of drawn, the window covered, uncovered, unmapped and mapped again by X requests
// from outside GLUT, as another client or a window manager would.
int frames = 0;
int framesAtStep = 0;
double cpuAtStep = 0.0;
std::string report;

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// Steps 300 ms apart: each even step lets the window's new state arrive, each odd one judges
// it. While the window can be seen frames follow each other; while it is covered or unmapped
// (as when iconified) there are none and the process sleeps, where asking for frames would
// keep it busy even though GLUT draws none of them.
void HiddenWindowStep(int step) {
    static Window cover = 0;
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    const int counted = frames - framesAtStep;
    const double cpu = ProcessCpuSeconds() - cpuAtStep;
    if (step % 2 == 1) {
        report += " " + std::to_string(counted) + " frames, " + std::to_string(cpu) + " s;";
        const bool hidden = step == 3 || step == 7;
        if (hidden ? counted != 0 || cpu > 0.02 : counted < 20) {
            std::fprintf(stderr, "step %d:%s\n", step, report.c_str());
            std::exit(1);
        }
    }
    if (step == 1) {
        cover = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1024, 768, 0, 0, 0);
        XSetWindowAttributes attributes;
        attributes.override_redirect = True;
        XChangeWindowAttributes(display, cover, CWOverrideRedirect, &attributes);
        XMapRaised(display, cover);
    } else if (step == 3) {
        XUnmapWindow(display, cover);
    } else if (step == 5) {
        XUnmapWindow(display, window);
    } else if (step == 7) {
        XMapWindow(display, window);
    } else if (step == 9) {
        std::exit(0);
    }
    XFlush(display);
    framesAtStep = frames;
    cpuAtStep = ProcessCpuSeconds();
    glutTimerFunc(300, HiddenWindowStep, step + 1);
}
}  // namespace

class WindowStateGlTest : public GlTest {
protected:
    void TearDown() override {
        fullScreen = 1;
        glutReshapeWindow(640, 480);
        EXPECT_TRUE(ResizeWindow(640, 480));
        GlTest::TearDown();
    }
};

TEST_F(WindowStateGlTest, QuickFullScreenPressesEndAsTheFlagSays) {
    const struct {
        const char* keys;
        int gapMs;
    } sequences[] = {{"fFfFf", 5}, {"fF", 5}, {"fF", 0}, {"fFf", 0}};
    for (const auto& sequence : sequences) {
        SCOPED_TRACE(std::string(sequence.keys) + " " + std::to_string(sequence.gapMs) +
                     " ms apart");
        fullScreen = 1;
        glutFullScreen();
        ASSERT_TRUE(WindowBecomes(1024, 768));
        for (const char* key = sequence.keys; *key != '\0'; ++key) {
            OnDemoKey(static_cast<unsigned char>(*key), 0, 0);
            RunEventsFor(sequence.gapMs);
        }
        WindowBecomes(fullScreen ? 1024 : 512, fullScreen ? 768 : 512);
        RunEventsFor(700);  // past any deferred resize of an earlier press
        EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), fullScreen ? 1024 : 512) << fullScreen;
        EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), fullScreen ? 768 : 512) << fullScreen;
    }
}

using WindowStateDeathTest = WindowStateGlTest;

TEST_F(WindowStateDeathTest, NoFramesWhileTheWindowCannotBeSeen) {
    // The real main loop ends the GLUT session when it returns, so it runs in a child.
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            RegisterShellCallbacks();
            glutDisplayFunc([] { ++frames; });
            glutTimerFunc(200, HiddenWindowStep, 0);
            glutMainLoop();
        },
        ::testing::ExitedWithCode(0), "");
}
