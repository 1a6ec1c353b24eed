// A long run of the whole demo with a simulated clock: forty thousand frames with a hundred
// resets, which must leave exactly one star list and one texture behind and keep the
// resident memory flat.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/Keyboard.h"
#include "shell/SceneGlobals.h"
#include "shell/Settings.h"
#include "tests/hardening/FiniteGlState.h"
#include "tests/support/DemoSession.h"

namespace {
// About a minute on the software renderer. Much longer runs outgrow the memory bound below in
// a sanitizer build, whose allocator holds freed blocks back for its checks.
constexpr int kSoakFrames = 40000;
constexpr int kFramesPerReset = 400;
constexpr int kFirstMeasure = kSoakFrames / 10;
constexpr int kNamesScanned = 4096;             // far more names than the demo ever asks for
constexpr long kResidentSlackKilobytes = 2048;  // 50 bytes a frame

// OpenGL names below kNamesScanned that are display lists (or textures).
int Live(GLboolean (*is)(GLuint)) {
    int count = 0;
    for (GLuint name = 1; name < kNamesScanned; ++name) {
        count += is(name) == GL_TRUE;
    }
    return count;
}

// Resident memory of this process in kilobytes (VmRSS), or -1. Free heap pages are handed
// back first, so that what is counted is memory in use rather than the allocator's
// fragmentation, which varies from run to run.
long ResidentKilobytes() {
    malloc_trim(0);
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return -1;
    }
    long kilobytes = -1;
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, "VmRSS:", 6) == 0) {
            kilobytes = std::strtol(line + 6, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return kilobytes;
}

using SoakGlTest = DemoSessionGlTest;
}  // namespace

TEST_F(SoakGlTest, FortyThousandFramesWithAHundredResets) {
    // A small window keeps the run short: what is checked here does not depend on pixels.
    ASSERT_TRUE(ResizeWindow(64, 48));
    settings.showFrameRate = 1;
    const int listsAtStart = Live(glIsList);
    const int texturesAtStart = Live(glIsTexture);
    EXPECT_EQ(listsAtStart, 1) << "the star list";
    EXPECT_EQ(texturesAtStart, 1) << "the font";

    uint32_t ms = 0;
    long residentAtFirst = -1;
    int resets = 0;
    for (int frame = 1; frame <= kSoakFrames; ++frame) {
        // One frame in twenty draws the whole scene. The others skip the stars and draw the
        // rings at the lowest tessellation, which keeps the run near a minute on the
        // software renderer; every frame runs the whole frame step and the overlay.
        const bool wholeScene = frame % 20 == 0;
        settings.showUniverse = wholeScene ? 1 : 0;
        settings.tessellation = wholeScene ? 20 : 3;
        FrameAt(ms += 16);
        if (frame % kFramesPerReset == 0) {
            const int32_t oldList = starField.ListId();
            OnDemoKey('r', 0, 0);
            ++resets;
            settings.showFrameRate = 1;
            // The old list is deleted before the new one is made, so OpenGL may hand out
            // the same name again: what counts is that only one list is alive.
            if (starField.ListId() != oldList) {
                ASSERT_EQ(glIsList(static_cast<GLuint>(oldList)), GL_FALSE)
                    << "the star list of the previous reset is still alive at frame " << frame;
            }
            ASSERT_EQ(Live(glIsList), 1) << "display lists at frame " << frame;
            ASSERT_EQ(Live(glIsTexture), 1) << "textures at frame " << frame;
            ExpectNoGlErrorRaised("reset at frame " + std::to_string(frame));
            ExpectFiniteGlState("reset at frame " + std::to_string(frame));
        }
        if (frame == kFirstMeasure) {
            residentAtFirst = ResidentKilobytes();
        }
    }
    const long residentAtEnd = ResidentKilobytes();
    ExpectNoGlErrorRaised("the end of the soak");
    EXPECT_EQ(resets, kSoakFrames / kFramesPerReset);
    EXPECT_EQ(Live(glIsList), 1);
    EXPECT_EQ(Live(glIsTexture), 1);
    ASSERT_GT(residentAtFirst, 0) << "no VmRSS in /proc/self/status";
    EXPECT_LE(residentAtEnd, residentAtFirst + kResidentSlackKilobytes)
        << "resident memory grew from " << residentAtFirst << " kB at frame " << kFirstMeasure
        << " to " << residentAtEnd << " kB at frame " << kSoakFrames;
    // The readout still counts 62.5 frames per simulated second after 640 s.
    EXPECT_GE(framesPerSecond, 62);
    EXPECT_LE(framesPerSecond, 63);
    EXPECT_LT(frameCount, 63);
    std::printf("resident memory: %ld kB at frame %d, %ld kB at frame %d\n", residentAtFirst,
                kFirstMeasure, residentAtEnd, kSoakFrames);
}
