// The keyboard controls through the real GLUT handlers, in the real window: each key's
// field, bounds and the exact status message that textOverlay records.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "scene/ChannelBank.h"
#include "scene/Random.h"
#include "shell/AppHooks.h"
#include "shell/Clock.h"
#include "shell/FrameStep.h"
#include "shell/Keyboard.h"
#include "shell/SceneGlobals.h"
#include "shell/Settings.h"
#include "tests/support/GlTestSupport.h"

namespace {
class KeyboardGlTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ElapsedMs = 0;
        ResetSettings();
        settings.letterbox = 0;
        helpVisible = 0;
        fullScreen = 1;
        std::strcpy(textOverlay.messageText, "untouched");
        textOverlay.messageExpiry = 0.0;
    }
    std::string Message() const { return textOverlay.messageText; }
};

float Scaled(float value, double factor) {
    return static_cast<float>(value * factor);
}

struct KeyCase {
    unsigned char key;
    std::function<void()> before;        // state before the key
    std::function<bool()> fieldIsRight;  // the field after the key
    const char* message;                 // nullptr: no message (record untouched)
};
}  // namespace

TEST_F(KeyboardGlTest, EveryKeyChangesItsFieldAndShowsItsMessage) {
    const KeyCase cases[] = {
        {'(', [] { settings.lightRotateSpeed = 2.0f; },
         [] { return settings.lightRotateSpeed == Scaled(2.0f, 0.9); },
         "Light Rotate Speed: 1.80\n"},
        {')', [] { settings.lightRotateSpeed = 1.0f; },
         [] { return settings.lightRotateSpeed == Scaled(1.0f, 1.111111); },
         "Light Rotate Speed: 1.11\n"},
        {'+', [] {}, [] { return settings.movementSpeed == Scaled(5.0f, 1.111111); },
         "Movement Speed: 5.56\n"},
        {'_', [] {}, [] { return settings.movementSpeed == Scaled(5.0f, 0.9); },
         "Movement Speed: 4.50\n"},
        {'=', [] {}, [] { return settings.rotateSpeed == Scaled(0.4f, 1.111111); },
         "Rotate Speed: 0.44\n"},
        {'-', [] {}, [] { return settings.rotateSpeed == Scaled(0.4f, 0.9); },
         "Rotate Speed: 0.36\n"},
        {',', [] {}, [] { return settings.fieldOfView == 112; }, "FOV: 112 Degrees\n"},
        {',', [] { settings.fieldOfView = 178; }, [] { return settings.fieldOfView == 178; },
         "FOV: 178 Degrees\n"},
        {',', [] { settings.fieldOfView = 177; }, [] { return settings.fieldOfView == 179; },
         "FOV: 179 Degrees\n"},
        {'.', [] {}, [] { return settings.fieldOfView == 108; }, "FOV: 108 Degrees\n"},
        {'.', [] { settings.fieldOfView = 10; }, [] { return settings.fieldOfView == 10; },
         "FOV:  10 Degrees\n"},
        {'<', [] {}, [] { return settings.tessellation == 19; }, "Tesselation: 19\n"},
        {'<', [] { settings.tessellation = 3; }, [] { return settings.tessellation == 3; },
         "Tesselation: 3\n"},
        {'>', [] {}, [] { return settings.tessellation == 21; }, "Tesselation: 21\n"},
        {'>', [] { settings.tessellation = 50; }, [] { return settings.tessellation == 50; },
         "Tesselation: 50\n"},
        {'[', [] {}, [] { return settings.objectSize == Scaled(1.0f, 0.9); },
         "Object Size: 0.90\n"},
        {']', [] {}, [] { return settings.objectSize == Scaled(1.0f, 1.111111); },
         "Object Size: 1.11\n"},
        {'{', [] {}, [] { return settings.cameraZ == -0.1f; }, "CameraZ: -0.10\n"},
        {'}', [] {}, [] { return settings.cameraZ == 0.1f; }, "CameraZ: 0.10\n"},
        {'c', [] {}, [] { return settings.showFrameRate == 1; }, "Frame/Second Clock On"},
        {'C', [] { settings.showFrameRate = 1; }, [] { return settings.showFrameRate == 0; },
         "Frame/Second Clock Off"},
        {'l', [] {}, [] { return settings.letterbox == 1; }, "Letterbox: 1"},
        {'L', [] { settings.letterbox = 6; }, [] { return settings.letterbox == -5; },
         "Letterbox: 5"},
        {'o', [] {}, [] { return settings.nestedRings == 1; },
         "Option 1/1: Overlapping <-> Nested Rings"},
        {'O', [] { settings.nestedRings = 1; }, [] { return settings.nestedRings == 0; },
         "Option 0/1: Overlapping Rings"},
        {'p', [] {}, [] { return paused == 1; }, "Pause Action"},
        {'P', [] { paused = 1; }, [] { return paused == 0; }, "Continue Action"},
        {'s', [] {}, [] { return settings.spotlights == 0; }, "SpotLights Off"},
        {'S', [] { settings.spotlights = 0; }, [] { return settings.spotlights == 1; },
         "SpotLights On"},
        {'t', [] {}, [] { return settings.textures == 0; }, "Textures Off"},
        {'T', [] { settings.textures = 0; }, [] { return settings.textures == 1; }, "Textures On"},
        {'u', [] {}, [] { return settings.showUniverse == 0; }, "Universe Off"},
        {'U', [] { settings.showUniverse = 0; }, [] { return settings.showUniverse == 1; },
         "Universe On"},
        {'w', [] {}, [] { return settings.polygonMode == 1; }, "PolyMode 2/3: Lines"},
        {'W', [] { settings.polygonMode = 1; }, [] { return settings.polygonMode == 2; },
         "PolyMode 3/3: Points"},
        {'w', [] { settings.polygonMode = 2; }, [] { return settings.polygonMode == 0; },
         "PolyMode 1/3: Polygons"},
        {' ', [] {}, [] { return settings.clearEachFrame == 0; }, nullptr},
        {' ', [] { settings.clearEachFrame = 0; }, [] { return settings.clearEachFrame == 1; },
         nullptr},
        {'?', [] {}, [] { return helpVisible == 1; }, nullptr},
        {'/', [] { helpVisible = 1; }, [] { return helpVisible == 0; }, nullptr},
        {'x', [] {}, [] { return settings.fieldOfView == 110 && paused == 0; }, nullptr},
        {'1', [] {}, [] { return settings.tessellation == 20; }, nullptr},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(std::string("key '") + static_cast<char>(c.key) + "'");
        ResetSettings();
        settings.letterbox = 0;
        helpVisible = 0;
        std::strcpy(textOverlay.messageText, "untouched");
        c.before();
        OnDemoKey(c.key, 0, 0);
        EXPECT_TRUE(c.fieldIsRight());
        EXPECT_EQ(Message(), c.message ? c.message : "untouched");
        if (c.message) {
            EXPECT_EQ(textOverlay.messageX, 10);
            EXPECT_EQ(textOverlay.messageY, 20);
            EXPECT_DOUBLE_EQ(textOverlay.messageExpiry, 3.0);
        }
        EXPECT_NO_GL_ERROR();
    }
}

TEST_F(KeyboardGlTest, ArrowKeysScaleTheMainSpeed) {
    OnDemoSpecialKey(GLUT_KEY_LEFT, 0, 0);
    EXPECT_EQ(settings.mainSpeed, Scaled(1.25f, 0.9));
    EXPECT_EQ(Message(), "Main Speed: 1.12\n");
    ResetSettings();
    OnDemoSpecialKey(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_EQ(settings.mainSpeed, Scaled(1.25f, 1.111111));
    EXPECT_EQ(Message(), "Main Speed: 1.39\n");
    std::strcpy(textOverlay.messageText, "untouched");
    OnDemoSpecialKey(GLUT_KEY_UP, 0, 0);
    OnDemoSpecialKey(GLUT_KEY_F1, 0, 0);
    EXPECT_EQ(Message(), "untouched");
    EXPECT_EQ(settings.mainSpeed, Scaled(1.25f, 1.111111));
}

TEST_F(KeyboardGlTest, DownThenUpDriftsSlowlyDownward) {
    // 0.9 * 1.111111 = 0.9999999: many pairs lose a little.
    for (int i = 0; i < 1000; ++i) {
        OnDemoKey('-', 0, 0);
        OnDemoKey('=', 0, 0);
    }
    EXPECT_LT(settings.rotateSpeed, 0.4f);
    EXPECT_NEAR(settings.rotateSpeed, 0.4, 0.001);
}

TEST_F(KeyboardGlTest, LetterboxCyclesThroughItsSizes) {
    const int expected[] = {1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1, 0, 1};
    for (int size : expected) {
        OnDemoKey('l', 0, 0);
        EXPECT_EQ(std::abs(settings.letterbox), size);
        EXPECT_EQ(Message(), "Letterbox: " + std::to_string(size));
    }
}

TEST_F(KeyboardGlTest, EscapeStartsAndRestartsTheFade) {
    settings.spotlights = 0;
    settings.clearEachFrame = 0;
    helpVisible = 1;
    OnDemoKey(27, 0, 0);
    EXPECT_FLOAT_EQ(fadeLevel, 0.999f);
    EXPECT_EQ(settings.spotlights, 1);
    EXPECT_EQ(settings.clearEachFrame, 1);
    EXPECT_EQ(helpVisible, 0);
    EXPECT_EQ(Message(), "untouched");
    fadeLevel = 0.4f;
    OnDemoKey(27, 0, 0);
    EXPECT_FLOAT_EQ(fadeLevel, 0.999f) << "escape while fading restarts the fade";
    fadeLevel = 1.0f;
}

TEST_F(KeyboardGlTest, ResetCancelsTheFadeAndPauseAndRebuildsTheScene) {
    AppInit();
    ASSERT_TRUE(ResizeWindow(640, 480));
    const int32_t oldList = starField.ListId();
    paused = 1;
    fadeLevel = 0.5f;
    settings.letterbox = 3;
    helpVisible = 1;
    fullScreen = 0;
    settings.tessellation = 7;
    ElapsedMs = 1234;
    OnDemoKey('r', 0, 0);
    EXPECT_EQ(paused, 0);
    EXPECT_FLOAT_EQ(fadeLevel, 1.0f);
    EXPECT_EQ(settings.tessellation, 20);
    EXPECT_EQ(settings.letterbox, 3) << "kept";
    EXPECT_EQ(helpVisible, 1) << "kept";
    EXPECT_EQ(fullScreen, 0) << "kept";
    EXPECT_EQ(Message(), "Reset");
    EXPECT_EQ(glIsList(static_cast<GLuint>(oldList)), GL_FALSE) << "old star list deleted";
    EXPECT_EQ(glIsList(static_cast<GLuint>(starField.ListId())), GL_TRUE);
    GLfloat specular[4];
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    EXPECT_FLOAT_EQ(specular[0], 0.9f) << "a reset sets specular 0.9, start-up 0.6";
    // The channels are seeded from ElapsedMs: a reset at the same time repeats them.
    const ChannelBank afterFirst = channelBank;
    OnDemoKey('R', 0, 0);
    EXPECT_EQ(0, std::memcmp(&afterFirst.phase[1], &channelBank.phase[1], sizeof(double) * 39));
    helpVisible = 0;
    settings.letterbox = 0;
    fullScreen = 1;
    ElapsedMs = 0;
    AppShutdown();
}

TEST_F(KeyboardGlTest, HidingHelpClearsOnceUnlessInHyperspace) {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glRectf(-1, -1, 1, 1);
    helpVisible = 1;
    settings.clearEachFrame = 0;
    OnDemoKey('?', 0, 0);
    EXPECT_EQ(ReadPixel(320, 240), (Rgb{255, 255, 255})) << "hyperspace: nothing cleared";
    helpVisible = 1;
    settings.clearEachFrame = 1;
    OnDemoKey('?', 0, 0);
    EXPECT_EQ(ReadPixel(320, 240), (Rgb{0, 0, 0})) << "hiding help clears at once";
    glRectf(-1, -1, 1, 1);
    OnDemoKey('?', 0, 0);  // showing help clears nothing
    EXPECT_EQ(ReadPixel(320, 240), (Rgb{255, 255, 255}));
    helpVisible = 0;
}

TEST_F(KeyboardGlTest, FullScreenKeyTogglesBetween512WindowAndFullScreen) {
    fullScreen = 1;
    glutFullScreen();
    for (int i = 0; i < 100 && glutGet(GLUT_WINDOW_WIDTH) != 1024; ++i) {
        PumpEvents();
    }
    ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), 1024);
    OnDemoKey('f', 0, 0);
    for (int i = 0; i < 100 && glutGet(GLUT_WINDOW_WIDTH) != 512; ++i) {
        PumpEvents();
        usleep(5000);
    }
    EXPECT_EQ(fullScreen, 0);
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 512) << "the windowed size is 512 x 512";
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 512);
    OnDemoKey('F', 0, 0);
    EXPECT_EQ(fullScreen, 1);
    for (int i = 0; i < 100 && glutGet(GLUT_WINDOW_WIDTH) != 1024; ++i) {
        PumpEvents();
    }
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 1024);
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 768);
    glutReshapeWindow(640, 480);
}

TEST_F(KeyboardGlTest, TexturesKeyChangesNothingDrawn) {
    AppInit();
    ASSERT_TRUE(ResizeWindow(640, 480));
    textOverlay.messageExpiry = 0.0;
    ElapsedMs = 100;
    paused = 1;
    AppFrame();
    const std::vector<Rgb> before = ReadPixels(0, 0, 640, 480);
    OnDemoKey('t', 0, 0);
    textOverlay.messageExpiry = 0.0;
    AppFrame();
    const std::vector<Rgb> after = ReadPixels(0, 0, 640, 480);
    EXPECT_TRUE(before == after) << "toggling textures changed the picture";
    EXPECT_EQ(settings.textures, 0);
    AppShutdown();
    ResetFrameStepState();
    ElapsedMs = 0;
}

TEST_F(KeyboardGlTest, PointerHandlersStoreTheOffsetFromTheCentre) {
    OnPointerButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 50);
    EXPECT_EQ(pointerX, 100 - 320);
    EXPECT_EQ(pointerY, 50 - 240);
    OnPointerButton(GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, 0);
    EXPECT_EQ(pointerX, -220) << "only the left button counts";
    OnPointerMove(639, 479);
    EXPECT_EQ(pointerX, 319);
    EXPECT_EQ(pointerY, 239);
}
