// The shell's own callbacks in the real window: reshape, the default keyboard callback's
// full-screen toggle and escape, and the display callback's clock.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstring>

#include "shell/Clock.h"
#include "shell/ProgramState.h"
#include "shell/Shell.h"
#include "shell/WindowSize.h"
#include "tests/support/GlTestSupport.h"

class ShellGlTest : public GlTest {};

TEST_F(ShellGlTest, WindowIsTitledTavikWithTheDemosDisplayMode) {
    EXPECT_EQ(glutGet(GLUT_WINDOW_DOUBLEBUFFER), 1);
    EXPECT_GT(glutGet(GLUT_WINDOW_DEPTH_SIZE), 0);
    EXPECT_GE(glutGet(GLUT_WINDOW_RED_SIZE), 8);
    EXPECT_EQ(glutGet(GLUT_INIT_DISPLAY_MODE),
              GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
}

// Every GL test's window resize waits for WindowSize, which only OnReshape writes.
TEST_F(ShellGlTest, ReshapeUpdatesWindowSizeAndViewport) {
    OnReshape(123, 45);
    EXPECT_EQ(WindowSize.width, 123u);
    EXPECT_EQ(WindowSize.height, 45u);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_TRUE(viewport[0] == 0 && viewport[1] == 0 && viewport[2] == 123 && viewport[3] == 45);
    OnReshape(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
}

TEST_F(ShellGlTest, DefaultKeyboardTogglesFullScreenAndBack) {
    ShellFullScreen = 0;
    OnKey('f', 0, 0);
    EXPECT_EQ(ShellFullScreen, 1);
    for (int i = 0; i < 200 && glutGet(GLUT_WINDOW_WIDTH) != 1024; ++i) {
        PumpEvents();
    }
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 1024) << "the first f goes full screen";
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 768);
    OnKey('F', 0, 0);
    EXPECT_EQ(ShellFullScreen, 0);
    EXPECT_TRUE(ResizeWindow(640, 480)) << "the second returns to 640 x 480";
    OnKey('q', 0, 0);
    EXPECT_EQ(ShellFullScreen, 0) << "other keys do nothing";
}

TEST_F(ShellGlTest, DisplayCallbackAdvancesTheClock) {
    PerfFrequency = QueryPerfFrequency();
    PerfStart = QueryPerfCounter() - 2500 * 1000;  // started 2.5 s ago
    OnDisplay();
    EXPECT_GE(ElapsedMs, 2500u);
    EXPECT_LT(ElapsedMs, 4000u);
    RestoreProgramStartState();
}

using ShellDeathTest = ShellGlTest;

TEST_F(ShellDeathTest, EscapeQuitsWithStatusZeroAndNothingOnStandardOutput) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            OnKey(27, 0, 0);
            std::printf("not reached\n");
        },
        ::testing::ExitedWithCode(0), "");
}
