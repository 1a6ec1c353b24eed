// Puts every global a session can change back to its program-start value. The values are
// those of the globals' own definitions: copies of objects as static storage and their
// constructors leave them, and the named start constants.
#include "shell/ProgramState.h"

#include <cstdlib>

#include "overlay/TextOverlay.h"
#include "scene/ChannelBank.h"
#include "scene/Random.h"
#include "shell/Clock.h"
#include "shell/FrameStep.h"
#include "shell/Keyboard.h"
#include "shell/SceneGlobals.h"
#include "shell/SceneSetup.h"
#include "shell/Settings.h"
#include "shell/Shell.h"
#include "shell/WindowSize.h"

namespace {
// Zero-filled as static storage, as the live objects start: Settings' constructor sets no
// field, and the channel bank has none.
const Settings kZeroSettings;
const ChannelBank kZeroChannels{};
}  // namespace

void RestoreProgramStartState() {
    // The deferred window change goes first: waiting for its timers runs the main loop's
    // events, which may reshape the window.
    ForgetWindowRequests();
    WindowSize = kStartWindowSize;

    ElapsedMs = 0;
    PerfStart = 0;
    PerfFrequency = 0;
    ResetFrameStepState();

    settings = kZeroSettings;
    paused = 0;
    fadeLevel = kFullLight;
    helpVisible = 0;
    fullScreen = kStartFullScreen;
    ShellFullScreen = 0;

    channelBank = kZeroChannels;
    Random::srand(Random::kStartState);

    // The overlay's record as its constructor leaves it. The font texture was released by
    // AppShutdown, so the fresh overlay's empty texture takes its place, as does the empty
    // handle of the loaded font.
    textOverlay = TextOverlay();
    overlayWindowQuery = kGlutWindowQuery;
    ForgetLoadedFont();

    pointerX = 0;
    pointerY = 0;
    endProcess = std::exit;
}
