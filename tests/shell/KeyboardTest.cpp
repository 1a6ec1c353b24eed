// Key decisions without a window: what each key does to the settings.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <limits>

#include "shell/Keyboard.h"
#include "shell/ProgramState.h"
#include "shell/Settings.h"

TEST(KeyboardTest, ScaledValuesPressedDownComeBackUp) {
    // From a few denormals the up factor would round back to the same value: the floor at
    // the smallest normal float keeps every scaled value within reach of its up key.
    struct ScaledKey {
        const char* name;
        float* field;
        int down, up;  // key codes; special keys are negative
    };
    const ScaledKey keys[] = {{"movementSpeed", &settings.movementSpeed, '_', '+'},
                              {"rotateSpeed", &settings.rotateSpeed, '-', '='},
                              {"lightRotateSpeed", &settings.lightRotateSpeed, '(', ')'},
                              {"objectSize", &settings.objectSize, '[', ']'},
                              {"mainSpeed", &settings.mainSpeed, -GLUT_KEY_LEFT, -GLUT_KEY_RIGHT}};
    auto press = [](int key) {
        key < 0 ? DecideDemoSpecialKey(-key) : DecideDemoKey(static_cast<unsigned char>(key));
    };
    ResetSettings();
    for (const ScaledKey& k : keys) {
        for (int i = 0; i < 2000; ++i) {
            press(k.down);
        }
        EXPECT_EQ(*k.field, std::numeric_limits<float>::min()) << k.name;
        for (int i = 0; i < 2000; ++i) {
            press(k.up);
        }
        EXPECT_GT(*k.field, 1.0f) << k.name;
    }
    RestoreProgramStartState();
}
