// What the key handlers carry out in the real window: the message drawn and recorded, the
// clear and the reset's rebuild of the scene (the window change: WindowStateGlTest.cpp). The
// decisions themselves are tested without a window (KeyboardTest.cpp).
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "scene/ChannelBank.h"
#include "shell/Clock.h"
#include "shell/Keyboard.h"
#include "shell/SceneGlobals.h"
#include "shell/Settings.h"
#include "tests/support/DemoSession.h"

namespace {
using KeyboardGlTest = DemoSessionGlTest;
}  // namespace

TEST_F(KeyboardGlTest, EveryKindOfMessageIsShownAtOnce) {
    ElapsedMs = 1000;
    const struct {
        unsigned char key;  // 0: the right arrow
        const char* recorded;
    } cases[] = {{'p', "Pause Action"},
                 {',', "FOV: 112 Degrees\n"},
                 {'>', "Tesselation: 21\n"},
                 {0, "Main Speed: 1.39\n"}};
    for (const auto& c : cases) {
        std::strcpy(textOverlay.messageText, "untouched");
        const auto drawn = CaptureFeedback(
            [&] { c.key ? OnDemoKey(c.key, 0, 0) : OnDemoSpecialKey(GLUT_KEY_RIGHT, 0, 0); });
        EXPECT_FALSE(drawn.empty()) << c.recorded << " is drawn at once";
        EXPECT_STREQ(textOverlay.messageText, c.recorded);
        EXPECT_DOUBLE_EQ(textOverlay.messageExpiry, 4.0);
    }
}

TEST_F(KeyboardGlTest, HidingHelpClearsOnceUnlessInHyperspace) {
    ResetGlState();
    glRectf(-1, -1, 1, 1);
    helpVisible = 1;
    settings.clearEachFrame = 0;
    OnDemoKey('?', 0, 0);
    EXPECT_EQ(ReadPixel(320, 240), (Rgb{255, 255, 255})) << "hyperspace: nothing cleared";
    helpVisible = 1;
    settings.clearEachFrame = 1;
    OnDemoKey('?', 0, 0);
    EXPECT_EQ(ReadPixel(320, 240), (Rgb{0, 0, 0})) << "hiding help clears at once";
}

// What ResetSettings ends and keeps is SettingsTest's; here the key runs it and rebuilds.
TEST_F(KeyboardGlTest, ResetRestoresTheSettingsAndRebuildsTheScene) {
    const int32_t oldList = starField.ListId();
    settings.tessellation = 7;
    ElapsedMs = 1234;
    OnDemoKey('r', 0, 0);
    EXPECT_EQ(settings.tessellation, 20);
    EXPECT_STREQ(textOverlay.messageText, "Reset");
    EXPECT_EQ(glIsList(static_cast<GLuint>(oldList)), GL_FALSE) << "old star list deleted";
    EXPECT_EQ(glIsList(static_cast<GLuint>(starField.ListId())), GL_TRUE);
    GLfloat specular[4];
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    EXPECT_FLOAT_EQ(specular[0], 0.9f) << "a reset sets specular 0.9, start-up 0.6";
    // The channels are seeded from ElapsedMs: a reset at the same time repeats them.
    const ChannelBank afterFirst = channelBank;
    OnDemoKey('R', 0, 0);
    EXPECT_EQ(0, std::memcmp(&afterFirst.phase[1], &channelBank.phase[1], sizeof(double) * 39));
}

TEST_F(KeyboardGlTest, TexturesKeyChangesNothingDrawn) {
    textOverlay.messageExpiry = 0.0;
    paused = 1;
    DrawnFrameAt(100);
    const std::vector<Rgb> before = ReadPixels(0, 0, 640, 480);
    OnDemoKey('t', 0, 0);
    textOverlay.messageExpiry = 0.0;
    DrawnFrameAt(100);
    EXPECT_TRUE(before == ReadPixels(0, 0, 640, 480)) << "toggling textures changed the picture";
    EXPECT_EQ(settings.textures, 0);
}
