// The scene parameters the user changes from the keyboard, and the demo's few global flags
// and counters. ResetSettings puts them back to their defaults.
#pragma once

#include <cstdint>

class Settings {
public:
    // Sets no field: the global instance starts zero-filled and ResetSettings fills it.
    Settings() {}
    virtual ~Settings();

    int32_t fieldOfView;     // vertical field of view, whole degrees (10 to 178)
    int32_t letterbox;       // letterbox step -5 to 6; its absolute value is used
    int32_t tessellation;    // torus sides per section (3 to 50)
    int showUniverse;        // star field drawn
    int clearEachFrame;      // buffers cleared every frame; 0 is hyperspace
    int spotlights;          // lighting on while stars and rings are drawn
    int textures;            // only its own key reads it
    int32_t polygonMode;     // 0 filled, 1 lines, 2 points
    int nestedRings;         // 0 overlapping rings, 1 nested rings
    int showFrameRate;       // frame-rate readout shown
    float rotateSpeed;       // world rotate speed
    float movementSpeed;     // world movement speed
    float cameraZ;           // camera position on the Z axis
    float objectSize;        // ring radius
    float mainSpeed;         // gyro rotate speed
    float lightRotateSpeed;  // light rotate speed
};

// The one instance; defined with the other global objects in SceneGlobals.cpp.
extern Settings settings;

// Program-start values of the demo globals that do not start at 0; each is written here once.
constexpr float kFullLight = 1.0f;  // fadeLevel when no fade-out runs
constexpr int kStartFullScreen = 1;
constexpr int32_t kStartFramesPerSecond = 30;  // shown until the clock first passes 1 s
constexpr double kFirstFpsSecond = 1.0;

// Demo globals beside the settings.
extern int paused;
extern float fadeLevel;  // 1 normally; below 1 the fade-out runs
extern int helpVisible;
extern int fullScreen;
extern int32_t frameCount;
extern int32_t framesPerSecond;
extern double nextFpsSecond;

// Reseeds the random source with ElapsedMs and stores every default but letterbox,
// helpVisible, fullScreen and the frame-rate counters.
void ResetSettings();
