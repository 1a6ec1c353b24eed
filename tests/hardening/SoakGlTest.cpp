// A long run of the whole demo with a simulated clock: a hundred thousand frames with a
// reset every thousand, which must leave exactly one star list and one texture behind and
// keep the resident memory flat.
#include <cstdio>
#include <string>

#include "shell/Keyboard.h"
#include "tests/hardening/DemoSessionGlSupport.h"

namespace {
constexpr int kSoakFrames = 100000;
constexpr int kFramesPerReset = 1000;
constexpr int kNamesScanned = 4096;  // far more names than the demo ever asks for
constexpr long kResidentSlackKilobytes = 4096;

// OpenGL names below kNamesScanned that are display lists, and that are textures.
int LiveLists() {
    int count = 0;
    for (GLuint name = 1; name < kNamesScanned; ++name) {
        count += glIsList(name) == GL_TRUE;
    }
    return count;
}
int LiveTextures() {
    int count = 0;
    for (GLuint name = 1; name < kNamesScanned; ++name) {
        count += glIsTexture(name) == GL_TRUE;
    }
    return count;
}

class SoakGlTest : public DemoSessionGlTest {};
}  // namespace

TEST_F(SoakGlTest, HundredThousandFramesWithAResetEveryThousand) {
    // A small window keeps the run short: what is checked here does not depend on pixels.
    ASSERT_TRUE(ResizeWindow(64, 48));
    settings.showFrameRate = 1;
    const int listsAtStart = LiveLists();
    const int texturesAtStart = LiveTextures();
    EXPECT_EQ(listsAtStart, 1) << "the star list";
    EXPECT_EQ(texturesAtStart, 1) << "the font";

    uint32_t ms = 0;
    long residentAtTenThousand = -1;
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
            ASSERT_EQ(LiveLists(), 1) << "display lists at frame " << frame;
            ASSERT_EQ(LiveTextures(), 1) << "textures at frame " << frame;
            ExpectNoGlErrorRaised("reset at frame " + std::to_string(frame));
            ExpectFiniteGlState("reset at frame " + std::to_string(frame));
        }
        if (frame == 10000) {
            residentAtTenThousand = ResidentKilobytes();
        }
    }
    const long residentAtEnd = ResidentKilobytes();
    ExpectNoGlErrorRaised("the end of the soak");
    EXPECT_EQ(resets, kSoakFrames / kFramesPerReset);
    EXPECT_EQ(LiveLists(), 1);
    EXPECT_EQ(LiveTextures(), 1);
    ASSERT_GT(residentAtTenThousand, 0) << "no VmRSS in /proc/self/status";
    EXPECT_LE(residentAtEnd, residentAtTenThousand + kResidentSlackKilobytes)
        << "resident memory grew from " << residentAtTenThousand << " kB at frame 10000 to "
        << residentAtEnd << " kB at frame " << kSoakFrames;
    // The readout still counts 62.5 frames per simulated second after 1600 s.
    EXPECT_GE(framesPerSecond, 62);
    EXPECT_LE(framesPerSecond, 63);
    EXPECT_LT(frameCount, 63);
    std::printf("resident memory: %ld kB at frame 10000, %ld kB at frame %d\n",
                residentAtTenThousand, residentAtEnd, kSoakFrames);
}
