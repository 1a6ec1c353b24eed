// Program-start values of the demo's globals, in one place.
#include "shell/ProgramState.h"

#include <cstdlib>
#include <cstring>

#include "scene/ChannelBank.h"
#include "scene/Random.h"
#include "shell/Clock.h"
#include "shell/FrameStep.h"
#include "shell/Keyboard.h"
#include "shell/SceneGlobals.h"
#include "shell/Settings.h"
#include "shell/Shell.h"

namespace {
void ZeroSettings(Settings& s) {
    s.fieldOfView = 0;
    s.letterbox = 0;
    s.tessellation = 0;
    s.showUniverse = 0;
    s.clearEachFrame = 0;
    s.spotlights = 0;
    s.textures = 0;
    s.polygonMode = 0;
    s.nestedRings = 0;
    s.showFrameRate = 0;
    s.rotateSpeed = 0.0f;
    s.movementSpeed = 0.0f;
    s.cameraZ = 0.0f;
    s.objectSize = 0.0f;
    s.mainSpeed = 0.0f;
    s.lightRotateSpeed = 0.0f;
}
}  // namespace

void RestoreProgramStartState() {
    ElapsedMs = 0;
    PerfStart = 0;
    PerfFrequency = 0;
    ResetFrameStepState();

    ZeroSettings(settings);
    paused = 0;
    fadeLevel = 1.0f;
    helpVisible = 0;
    fullScreen = 1;
    ShellFullScreen = 0;

    std::memset(&channelBank, 0, sizeof channelBank);
    Random::srand(1);

    textOverlay.messageX = 0;
    textOverlay.messageY = 0;
    textOverlay.recording = 1;
    textOverlay.messageExpiry = 0.0;
    std::memset(textOverlay.messageText, 0, sizeof textOverlay.messageText);

    pointerX = 0;
    pointerY = 0;
    endProcess = std::exit;
}
