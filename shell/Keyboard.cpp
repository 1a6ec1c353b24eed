// Keyboard controls: each key changes one setting and, for most keys, confirms the new
// value with a status message. Upper- and lower-case letters act the same.
#include "shell/Keyboard.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <chrono>
#include <limits>
#include <thread>

#include "scene/ChannelBank.h"
#include "scene/Random.h"
#include "scene/Spotlights.h"
#include "shell/Clock.h"
#include "shell/SceneSetup.h"
#include "shell/SceneGlobals.h"
#include "shell/Settings.h"
#include "shell/WindowSize.h"

int32_t pointerX = 0;
int32_t pointerY = 0;

namespace {
constexpr double kDownFactor = 0.9;
constexpr double kUpFactor = 1.111111;  // as written, not 10/9
constexpr int kMinFieldOfView = 10;
constexpr int kMaxFieldOfView = 178;
constexpr int kMinTessellation = 3;
constexpr int kMaxTessellation = 50;
constexpr int kMinLetterbox = -5;
constexpr int kMaxLetterbox = 6;
constexpr unsigned char kEscapeKey = 27;
constexpr int kWindowedSize = 512;

// Multiplies in double precision and stores back as float. A product beyond the float range
// (after some 850 presses of an up key) is held at the largest float instead of becoming
// infinite, so a speed or size stays a number that the frames can work with and that a
// down key can bring back. The mirror holds at the other end: a product smaller than the
// smallest normal float (after some 830 presses of a down key) is held there, because from
// a few denormals the up factor rounds back to the same value and no up key could ever
// raise it again. Both bounds keep the sign.
void Scale(float& field, double factor) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    constexpr double kSmallest = std::numeric_limits<float>::min();
    const double product = static_cast<double>(field) * factor;
    if (std::fabs(product) < kSmallest) {
        field = static_cast<float>(std::copysign(kSmallest, product));
        return;
    }
    field = static_cast<float>(std::clamp(product, -kLargest, kLargest));
}

int Toggle(int flag) {
    return flag ? 0 : 1;
}

bool WindowFillsScreen() {
    return glutGet(GLUT_WINDOW_WIDTH) == glutGet(GLUT_SCREEN_WIDTH) &&
           glutGet(GLUT_WINDOW_HEIGHT) == glutGet(GLUT_SCREEN_HEIGHT);
}

// The latest full-screen key press; only its window change is carried out. Timers queued
// with GLUT and not yet run are counted, so that a restart can wait them out.
int latestWindowRequest = 0;
int windowedAttempts = 0;
int queuedWindowTimers = 0;

void QueueWindowSync(unsigned int delayMs, int request);

// Brings the window to the state fullScreen asks for, from a timer so that it runs after
// every key of the same turn of the main loop and sees the state freeglut has settled:
// freeglut's full-screen requests toggle once per turn, so a request to leave and one to
// enter full screen within one turn would cancel into the wrong state. A later press makes
// an earlier pending change stale, so a deferred windowed resize can never undo a later
// full screen. freeglut applies a pending resize before leaving full screen, and leaving
// full screen restores the size the window had before, so the 512 x 512 request waits
// (polling every 10 ms, for at most half a second) until the window has left full screen.
void SyncWindowToFullScreenFlag(int request) {
    constexpr int kPollMs = 10;
    constexpr int kMaxAttempts = 50;
    --queuedWindowTimers;
    if (request != latestWindowRequest) {
        return;
    }
    const bool isFullScreen = glutGet(GLUT_FULL_SCREEN) != 0;
    if (fullScreen) {
        if (!isFullScreen) {
            glutFullScreen();
        }
        return;
    }
    if (isFullScreen) {
        glutLeaveFullScreen();
    }
    if ((isFullScreen || WindowFillsScreen()) && ++windowedAttempts < kMaxAttempts) {
        QueueWindowSync(kPollMs, request);
        return;
    }
    glutReshapeWindow(kWindowedSize, kWindowedSize);
}

void QueueWindowSync(unsigned int delayMs, int request) {
    ++queuedWindowTimers;
    glutTimerFunc(delayMs, SyncWindowToFullScreenFlag, request);
}

void RequestWindowChange() {
    windowedAttempts = 0;
    QueueWindowSync(0, ++latestWindowRequest);
}

KeyResponse Text(const char* text) {
    KeyResponse r;
    r.message = KeyResponse::Message::kText;
    r.text = text;
    return r;
}

KeyResponse Number(const char* format, double value) {
    KeyResponse r;
    r.message = KeyResponse::Message::kNumber;
    r.text = format;
    r.number = value;
    return r;
}

KeyResponse Integer(const char* format, int32_t value) {
    KeyResponse r;
    r.message = KeyResponse::Message::kInteger;
    r.text = format;
    r.integer = value;
    return r;
}

KeyResponse OnOff(int& flag, const char* on, const char* off) {
    flag = Toggle(flag);
    return Text(flag ? on : off);
}

KeyResponse ScaleSpeed(float& field, double factor, const char* format) {
    Scale(field, factor);
    return Number(format, field);
}

// Keys that are the same in upper and lower case.
KeyResponse DecideLetterKey(unsigned char key) {
    switch (key) {
        case 'C':
            return OnOff(settings.showFrameRate, "Frame/Second Clock On", "Frame/Second Clock Off");
        case 'F': {
            fullScreen = Toggle(fullScreen);
            KeyResponse r;
            r.window = fullScreen ? KeyResponse::WindowChange::kFullScreen
                                  : KeyResponse::WindowChange::kWindowed;
            return r;
        }
        case 'L':
            settings.letterbox =
                settings.letterbox >= kMaxLetterbox ? kMinLetterbox : settings.letterbox + 1;
            return Integer("Letterbox: %d", std::abs(settings.letterbox));
        case 'O':
            return OnOff(settings.nestedRings, "Option 1/1: Overlapping <-> Nested Rings",
                         "Option 0/1: Overlapping Rings");
        case 'P':
            return OnOff(paused, "Pause Action", "Continue Action");
        case 'R': {
            KeyResponse r = Text("Reset");
            r.reset = true;
            return r;
        }
        case 'S':
            return OnOff(settings.spotlights, "SpotLights On", "SpotLights Off");
        case 'T':
            return OnOff(settings.textures, "Textures On", "Textures Off");
        case 'U':
            return OnOff(settings.showUniverse, "Universe On", "Universe Off");
        case 'W': {
            static const char* const kModes[] = {"PolyMode 1/3: Polygons", "PolyMode 2/3: Lines",
                                                 "PolyMode 3/3: Points"};
            settings.polygonMode = settings.polygonMode >= 2 || settings.polygonMode < 0
                                       ? 0
                                       : settings.polygonMode + 1;
            return Text(kModes[settings.polygonMode]);
        }
        default:
            return KeyResponse();
    }
}
}  // namespace

KeyResponse DecideDemoKey(unsigned char key) {
    switch (key) {
        case kEscapeKey:
            // Start the fade-out; the frame step ends the program when it is done.
            settings.spotlights = 1;
            settings.clearEachFrame = 1;
            helpVisible = 0;
            fadeLevel = 0.999f;
            return KeyResponse();
        case ' ':
            settings.clearEachFrame = Toggle(settings.clearEachFrame);
            return KeyResponse();
        case '(':
            return ScaleSpeed(settings.lightRotateSpeed, kDownFactor,
                              "Light Rotate Speed: %4.2f\n");
        case ')':
            return ScaleSpeed(settings.lightRotateSpeed, kUpFactor, "Light Rotate Speed: %4.2f\n");
        case '+':
            return ScaleSpeed(settings.movementSpeed, kUpFactor, "Movement Speed: %4.2f\n");
        case '_':
            return ScaleSpeed(settings.movementSpeed, kDownFactor, "Movement Speed: %4.2f\n");
        case '=':
            return ScaleSpeed(settings.rotateSpeed, kUpFactor, "Rotate Speed: %4.2f\n");
        case '-':
            return ScaleSpeed(settings.rotateSpeed, kDownFactor, "Rotate Speed: %4.2f\n");
        case ',':
            settings.fieldOfView = settings.fieldOfView >= kMaxFieldOfView
                                       ? kMaxFieldOfView
                                       : settings.fieldOfView + 2;
            return Number("FOV: %3.0f Degrees\n", settings.fieldOfView);
        case '.':
            settings.fieldOfView = settings.fieldOfView <= kMinFieldOfView
                                       ? kMinFieldOfView
                                       : settings.fieldOfView - 2;
            return Number("FOV: %3.0f Degrees\n", settings.fieldOfView);
        case '<':
            if (settings.tessellation > kMinTessellation) {
                settings.tessellation -= 1;
            }
            return Integer("Tesselation: %d\n", settings.tessellation);
        case '>':
            if (settings.tessellation < kMaxTessellation) {
                settings.tessellation += 1;
            }
            return Integer("Tesselation: %d\n", settings.tessellation);
        case '[':
            return ScaleSpeed(settings.objectSize, kDownFactor, "Object Size: %4.2f\n");
        case ']':
            return ScaleSpeed(settings.objectSize, kUpFactor, "Object Size: %4.2f\n");
        case '{':
            settings.cameraZ = static_cast<float>(static_cast<double>(settings.cameraZ) - 0.1);
            return Number("CameraZ: %4.2f\n", settings.cameraZ);
        case '}':
            settings.cameraZ = static_cast<float>(static_cast<double>(settings.cameraZ) + 0.1);
            return Number("CameraZ: %4.2f\n", settings.cameraZ);
        case '?':
        case '/': {
            helpVisible = Toggle(helpVisible);
            KeyResponse r;
            r.clearBuffers = !helpVisible && settings.clearEachFrame == 1;
            return r;
        }
        default:
            return DecideLetterKey(static_cast<unsigned char>(std::toupper(key)));
    }
}

KeyResponse DecideDemoSpecialKey(int key) {
    switch (key) {
        case GLUT_KEY_LEFT:
            return ScaleSpeed(settings.mainSpeed, kDownFactor, "Main Speed: %4.2f\n");
        case GLUT_KEY_RIGHT:
            return ScaleSpeed(settings.mainSpeed, kUpFactor, "Main Speed: %4.2f\n");
        default:
            return KeyResponse();
    }
}

void ResetScene() {
    Random::srand(ElapsedMs);
    ResetSettings();
    SetupScene(kResetSpecularLevel);
}

void CarryOutKeyResponse(const KeyResponse& response) {
    if (response.reset) {
        ResetScene();
    }
    if (response.clearBuffers) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    if (response.window != KeyResponse::WindowChange::kNone) {
        RequestWindowChange();
    }
    switch (response.message) {
        case KeyResponse::Message::kText:
            textOverlay.ShowMessage(response.text);
            break;
        case KeyResponse::Message::kNumber:
            textOverlay.ShowMessage(response.text, response.number);
            break;
        case KeyResponse::Message::kInteger:
            textOverlay.ShowMessage(response.text, response.integer);
            break;
        case KeyResponse::Message::kNone:
            break;
    }
}

void OnDemoKey(unsigned char key, int, int) {
    CarryOutKeyResponse(DecideDemoKey(key));
}

void OnDemoSpecialKey(int key, int, int) {
    CarryOutKeyResponse(DecideDemoSpecialKey(key));
}

namespace {
void StorePointer(int x, int y) {
    pointerX = static_cast<int32_t>(x - WindowSize.width * 0.5);
    pointerY = static_cast<int32_t>(y - WindowSize.height * 0.5);
}
}  // namespace

void OnPointerButton(int button, int, int x, int y) {
    if (button == GLUT_LEFT_BUTTON) {
        StorePointer(x, y);
    }
}

void OnPointerMove(int x, int y) {
    StorePointer(x, y);
}

void ForgetWindowRequests() {
    // No request number matches -1, so the queued timers fire and change nothing; a timer
    // is due within 10 ms, and half a second bounds the wait should GLUT have dropped one.
    constexpr int kMaxWaits = 500;
    latestWindowRequest = -1;
    const bool glutRunning = glutGet(GLUT_INIT_STATE) != 0;
    for (int wait = 0; glutRunning && queuedWindowTimers > 0 && wait < kMaxWaits; ++wait) {
        glutMainLoopEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    queuedWindowTimers = 0;
    latestWindowRequest = 0;
    windowedAttempts = 0;
}
