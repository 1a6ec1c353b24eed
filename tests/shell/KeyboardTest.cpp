// The keyboard's decisions without a window: each key's field and bounds, the message it
// asks for (formatted as the overlay formats it), the window change, clear and reset it asks
// for, long runs of one key, and the pointer handlers.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "overlay/StatusMessages.h"
#include "shell/Keyboard.h"
#include "shell/ProgramState.h"
#include "shell/SceneGlobals.h"
#include "shell/Settings.h"
#include "shell/WindowSize.h"

namespace {
class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        RestoreProgramStartState();
        ResetSettings();
    }
    void TearDown() override { RestoreProgramStartState(); }
};

// The text the overlay would show for a response; empty when no message is asked for.
std::string Shown(const KeyResponse& r) {
    MessageBuffer text = "";
    switch (r.message) {
        case KeyResponse::Message::kText:
            FormatPlainMessage(text, r.text);
            break;
        case KeyResponse::Message::kNumber:
            FormatMessage(text, r.text, r.number);
            break;
        case KeyResponse::Message::kInteger:
            FormatMessage(text, r.text, r.integer);
            break;
        case KeyResponse::Message::kNone:
            break;
    }
    return text;
}

float Scaled(float value, double factor) {
    return static_cast<float>(value * factor);
}

// A setting or demo global the keyboard changes, float or integer.
struct Field {
    Field(float* value) : f(value) {}
    Field(int32_t* value) : i(value) {}
    double Get() const { return f ? *f : *i; }
    void Set(double value) const {
        if (f) {
            *f = static_cast<float>(value);
        } else {
            *i = static_cast<int32_t>(value);
        }
    }
    float* f = nullptr;
    int32_t* i = nullptr;
};

constexpr double kDefault = -1e9;  // the field keeps its default before the press

struct KeyCase {
    unsigned char key;
    Field field;
    double before;  // or kDefault
    double after;
    const char* message;  // "" when the key asks for none
};
}  // namespace

// Each key from the defaults or from a value at its bounds; the toggles in both cases.
TEST_F(KeyboardTest, EveryKeyChangesItsFieldAndAsksForItsMessage) {
    Settings& s = settings;
    const KeyCase cases[] = {
        {'(', &s.lightRotateSpeed, 2.0, Scaled(2.0f, 0.9), "Light Rotate Speed: 1.80\n"},
        {')', &s.lightRotateSpeed, kDefault, Scaled(1.0f, 1.111111), "Light Rotate Speed: 1.11\n"},
        {'+', &s.movementSpeed, kDefault, Scaled(5.0f, 1.111111), "Movement Speed: 5.56\n"},
        {'_', &s.movementSpeed, kDefault, Scaled(5.0f, 0.9), "Movement Speed: 4.50\n"},
        {'=', &s.rotateSpeed, kDefault, Scaled(0.4f, 1.111111), "Rotate Speed: 0.44\n"},
        {'-', &s.rotateSpeed, kDefault, Scaled(0.4f, 0.9), "Rotate Speed: 0.36\n"},
        {',', &s.fieldOfView, kDefault, 112, "FOV: 112 Degrees\n"},
        {',', &s.fieldOfView, 178, 178, "FOV: 178 Degrees\n"},
        {',', &s.fieldOfView, 177, 179, "FOV: 179 Degrees\n"},
        {'.', &s.fieldOfView, kDefault, 108, "FOV: 108 Degrees\n"},
        {'.', &s.fieldOfView, 10, 10, "FOV:  10 Degrees\n"},
        {'<', &s.tessellation, kDefault, 19, "Tesselation: 19\n"},
        {'<', &s.tessellation, 3, 3, "Tesselation: 3\n"},
        {'>', &s.tessellation, kDefault, 21, "Tesselation: 21\n"},
        {'>', &s.tessellation, 50, 50, "Tesselation: 50\n"},
        {'[', &s.objectSize, kDefault, Scaled(1.0f, 0.9), "Object Size: 0.90\n"},
        {']', &s.objectSize, kDefault, Scaled(1.0f, 1.111111), "Object Size: 1.11\n"},
        {'{', &s.cameraZ, kDefault, -0.1f, "CameraZ: -0.10\n"},
        {'}', &s.cameraZ, kDefault, 0.1f, "CameraZ: 0.10\n"},
        {'L', &s.letterbox, 6, -5, "Letterbox: 5"},
        {'w', &s.polygonMode, kDefault, 1, "PolyMode 2/3: Lines"},
        {'W', &s.polygonMode, 1, 2, "PolyMode 3/3: Points"},
        {'w', &s.polygonMode, 2, 0, "PolyMode 1/3: Polygons"},
        {' ', &s.clearEachFrame, kDefault, 0, ""},
        {' ', &s.clearEachFrame, 0, 1, ""},
        {'c', &s.showFrameRate, kDefault, 1, "Frame/Second Clock On"},
        {'C', &s.showFrameRate, 1, 0, "Frame/Second Clock Off"},
        {'o', &s.nestedRings, kDefault, 1, "Option 1/1: Overlapping <-> Nested Rings"},
        {'O', &s.nestedRings, 1, 0, "Option 0/1: Overlapping Rings"},
        {'p', &paused, kDefault, 1, "Pause Action"},
        {'P', &paused, 1, 0, "Continue Action"},
        {'s', &s.spotlights, kDefault, 0, "SpotLights Off"},
        {'S', &s.spotlights, 0, 1, "SpotLights On"},
        {'t', &s.textures, kDefault, 0, "Textures Off"},
        {'T', &s.textures, 0, 1, "Textures On"},
        {'u', &s.showUniverse, kDefault, 0, "Universe Off"},
        {'U', &s.showUniverse, 0, 1, "Universe On"},
        {'x', &s.fieldOfView, kDefault, 110, ""},
        {'1', &s.tessellation, kDefault, 20, ""},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(std::string("key '") + static_cast<char>(c.key) + "'");
        RestoreProgramStartState();
        ResetSettings();
        if (c.before != kDefault) {
            c.field.Set(c.before);
        }
        const KeyResponse r = DecideDemoKey(c.key);
        EXPECT_EQ(c.field.Get(), c.after);
        EXPECT_EQ(Shown(r), c.message);
        EXPECT_FALSE(r.clearBuffers || r.reset || r.window != KeyResponse::WindowChange::kNone)
            << "only its field and its message";
    }
}

TEST_F(KeyboardTest, WindowHelpEscapeAndResetKeysAskForTheirActions) {
    KeyResponse r = DecideDemoKey('f');
    EXPECT_EQ(fullScreen, 0);
    EXPECT_EQ(r.window, KeyResponse::WindowChange::kWindowed);
    r = DecideDemoKey('F');
    EXPECT_EQ(fullScreen, 1);
    EXPECT_EQ(r.window, KeyResponse::WindowChange::kFullScreen);
    EXPECT_EQ(Shown(r), "") << "the full-screen key shows no message";

    // Hiding help clears the buffers once, unless in hyperspace; showing it clears nothing.
    EXPECT_FALSE(DecideDemoKey('?').clearBuffers);
    EXPECT_EQ(helpVisible, 1);
    EXPECT_TRUE(DecideDemoKey('/').clearBuffers);
    EXPECT_EQ(helpVisible, 0);
    helpVisible = 1;
    settings.clearEachFrame = 0;
    EXPECT_FALSE(DecideDemoKey('?').clearBuffers) << "hyperspace: nothing cleared";
    EXPECT_EQ(Shown(DecideDemoKey('?')), "");

    settings.spotlights = 0;
    helpVisible = 1;
    r = DecideDemoKey(27);
    EXPECT_FLOAT_EQ(fadeLevel, 0.999f);
    EXPECT_EQ(settings.spotlights, 1);
    EXPECT_EQ(settings.clearEachFrame, 1);
    EXPECT_EQ(helpVisible, 0);
    EXPECT_EQ(Shown(r), "");
    fadeLevel = 0.4f;
    DecideDemoKey(27);
    EXPECT_FLOAT_EQ(fadeLevel, 0.999f) << "escape while fading restarts the fade";

    r = DecideDemoKey('r');
    EXPECT_TRUE(r.reset);
    EXPECT_EQ(Shown(r), "Reset");
    EXPECT_TRUE(DecideDemoKey('R').reset);
}

TEST_F(KeyboardTest, ArrowKeysScaleTheMainSpeedAndOtherSpecialKeysDoNothing) {
    EXPECT_EQ(Shown(DecideDemoSpecialKey(GLUT_KEY_LEFT)), "Main Speed: 1.12\n");
    EXPECT_EQ(settings.mainSpeed, Scaled(1.25f, 0.9));
    ResetSettings();
    EXPECT_EQ(Shown(DecideDemoSpecialKey(GLUT_KEY_RIGHT)), "Main Speed: 1.39\n");
    EXPECT_EQ(settings.mainSpeed, Scaled(1.25f, 1.111111));
    for (int key : {GLUT_KEY_UP, GLUT_KEY_F1, GLUT_KEY_HOME, -1, 1 << 20}) {
        EXPECT_EQ(Shown(DecideDemoSpecialKey(key)), "") << key;
    }
    EXPECT_EQ(settings.mainSpeed, Scaled(1.25f, 1.111111));
}

TEST_F(KeyboardTest, LetterboxCyclesThroughItsSizes) {
    const int expected[] = {1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1, 0, 1};
    for (int size : expected) {
        EXPECT_EQ(Shown(DecideDemoKey('l')), "Letterbox: " + std::to_string(size));
        EXPECT_EQ(std::abs(settings.letterbox), size);
    }
}

// Long runs of one key: a thousand presses take a value down to the smallest floats or up
// to the largest float (never to infinity), the message stays a number, and a saturated
// value comes back.
TEST_F(KeyboardTest, LongRunsOfOneKeyStayFiniteAndCanComeBack) {
    struct Run {
        int key;
        bool special;
        float* field;
        bool up;
    };
    const Run runs[] = {
        {'[', false, &settings.objectSize, false},
        {']', false, &settings.objectSize, true},
        {'_', false, &settings.movementSpeed, false},
        {'+', false, &settings.movementSpeed, true},
        {'-', false, &settings.rotateSpeed, false},
        {'=', false, &settings.rotateSpeed, true},
        {'(', false, &settings.lightRotateSpeed, false},
        {')', false, &settings.lightRotateSpeed, true},
        {GLUT_KEY_LEFT, true, &settings.mainSpeed, false},
        {GLUT_KEY_RIGHT, true, &settings.mainSpeed, true},
    };
    for (const Run& run : runs) {
        SCOPED_TRACE("key " + std::to_string(run.key));
        ResetSettings();
        KeyResponse last;
        for (int i = 0; i < 1000; ++i) {
            last = run.special ? DecideDemoSpecialKey(run.key)
                               : DecideDemoKey(static_cast<unsigned char>(run.key));
        }
        if (run.up) {
            EXPECT_EQ(*run.field, FLT_MAX);
        } else {
            // Held at the smallest normal float, from which the up key (the next run's)
            // brings it back; from denormals 4 x 1.111111 would round back to 4.
            EXPECT_EQ(*run.field, FLT_MIN);
            const Run& up = (&run)[1];
            for (int i = 0; i < 2000; ++i) {
                up.special ? DecideDemoSpecialKey(up.key)
                           : DecideDemoKey(static_cast<unsigned char>(up.key));
            }
            EXPECT_GT(*run.field, 1.0f);
        }
        EXPECT_EQ(Shown(last).find("inf"), std::string::npos) << Shown(last);
    }
    ResetSettings();
    for (int i = 0; i < 1000; ++i) {
        DecideDemoKey(']');
    }
    for (int i = 0; i < 1000; ++i) {
        DecideDemoKey('[');
    }
    EXPECT_GT(settings.objectSize, 0.0f);
    EXPECT_LT(settings.objectSize, 1e35f) << "the saturated size shrinks again";
    for (int i = 0; i < 1000; ++i) {
        DecideDemoKey('}');
    }
    EXPECT_GT(settings.cameraZ, 99.0f);
    EXPECT_TRUE(std::isfinite(settings.cameraZ));
}

TEST_F(KeyboardTest, PointerHandlersStoreTheOffsetFromTheCentre) {
    OnPointerButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 50);
    EXPECT_EQ(pointerX, 100 - 320);
    EXPECT_EQ(pointerY, 50 - 240);
    OnPointerButton(GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, 0);
    EXPECT_EQ(pointerX, -220) << "only the left button counts";
    OnPointerMove(639, 479);
    EXPECT_EQ(pointerX, 319);
    EXPECT_EQ(pointerY, 239);
}
