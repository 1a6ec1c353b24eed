// Key storms through the real keyboard handlers between frames of the whole demo: random
// keys of every byte value and special keys, and frames after long runs of one key that
// drive a speed or a size to 0 or to the largest float. Settings stay within their bounds,
// no OpenGL error is raised and no NaN or infinity reaches OpenGL.
#include <GL/freeglut.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "shell/Keyboard.h"
#include "shell/SceneGlobals.h"
#include "shell/Settings.h"
#include "tests/hardening/FiniteGlState.h"
#include "tests/support/DemoSession.h"

namespace {
// Every byte value once, then some twenty runs of one key of up to 300 presses and several
// hundred single keys; the frames in between include stalls and window changes.
constexpr int kStormEvents = 2500;

// Every bounded setting within its bounds and every number finite; the first broken rule,
// or an empty text.
std::string BrokenSetting() {
    const Settings& s = settings;
    const struct {
        const char* name;
        int32_t value, low, high;
    } bounded[] = {{"fieldOfView", s.fieldOfView, 10, 178},
                   {"tessellation", s.tessellation, 3, 50},
                   {"letterbox", s.letterbox, -5, 6},
                   {"polygonMode", s.polygonMode, 0, 2},
                   {"showUniverse", s.showUniverse, 0, 1},
                   {"clearEachFrame", s.clearEachFrame, 0, 1},
                   {"spotlights", s.spotlights, 0, 1},
                   {"textures", s.textures, 0, 1},
                   {"nestedRings", s.nestedRings, 0, 1},
                   {"showFrameRate", s.showFrameRate, 0, 1},
                   {"paused", paused, 0, 1},
                   {"helpVisible", helpVisible, 0, 1},
                   {"fullScreen", fullScreen, 0, 1}};
    for (const auto& b : bounded) {
        if (b.value < b.low || b.value > b.high) {
            return std::string(b.name) + " " + std::to_string(b.value);
        }
    }
    const struct {
        const char* name;
        float value;
    } sizes[] = {{"rotateSpeed", s.rotateSpeed},
                 {"movementSpeed", s.movementSpeed},
                 {"mainSpeed", s.mainSpeed},
                 {"lightRotateSpeed", s.lightRotateSpeed},
                 {"objectSize", s.objectSize}};
    for (const auto& size : sizes) {
        if (!std::isfinite(size.value) || size.value < 0.0f) {
            return std::string(size.name) + " " + std::to_string(size.value);
        }
    }
    if (!std::isfinite(s.cameraZ)) {
        return "cameraZ " + std::to_string(s.cameraZ);
    }
    if (!std::isfinite(fadeLevel) || fadeLevel > 1.0f) {
        return "fadeLevel " + std::to_string(fadeLevel);
    }
    if (std::find(std::begin(textOverlay.messageText), std::end(textOverlay.messageText), '\0') ==
        std::end(textOverlay.messageText)) {
        return "the recorded message has no terminator";
    }
    return "";
}

std::string KeyName(int key, bool special) {
    return (special ? "special key " : "key ") + std::to_string(key);
}

class KeyStormGlTest : public DemoSessionGlTest {
protected:
    // One frame after a step of the clock, with the checks every frame gets; the OpenGL
    // state and, now and then, everything the frame emits are checked for NaN and infinity.
    void Frame(uint32_t step, const std::string& where) {
        ms += step;
        ++frames;
        if (frames % 200 == 0) {
            const auto emitted = CaptureFeedback([&] { FrameAt(ms); });
            ExpectFiniteFeedback(emitted, where);
        } else {
            FrameAt(ms);
        }
        ExpectNoGlErrorRaised(where);
        if (frames % 20 == 0) {
            ExpectFiniteGlState(where);
        }
    }

    uint32_t ms = 0;
    int frames = 0;
};
}  // namespace

TEST_F(KeyStormGlTest, RandomKeysBetweenFrames) {
    // What is checked does not depend on pixels; a small window keeps the frames short.
    ASSERT_TRUE(ResizeWindow(160, 120));
    std::mt19937 random(20240607u);
    auto below = [&](uint32_t n) { return static_cast<uint32_t>(random() % n); };

    // Every byte value once, in a shuffled order, then keys drawn at random; a third of the
    // draws repeat their key up to 300 times.
    std::vector<int> firstBytes(256);
    for (int i = 0; i < 256; ++i) {
        firstBytes[static_cast<size_t>(i)] = i;
    }
    std::shuffle(firstBytes.begin(), firstBytes.end(), random);

    int events = 0;
    while (events < kStormEvents) {
        bool special = false;
        int key = 0;
        int repeats = 1;
        if (events < 256) {
            key = firstBytes[static_cast<size_t>(events)];
        } else if (below(5) == 0) {
            special = true;
            // GLUT's special keys lie in 1 to 12 and 100 to 108; now and then any number.
            key = below(8) == 0 ? static_cast<int>(random())
                                : static_cast<int>(below(2) ? 1 + below(12) : 100 + below(9));
            repeats = below(3) == 0 ? 2 + static_cast<int>(below(299)) : 1;
        } else {
            key = static_cast<int>(below(256));
            repeats = below(3) == 0 ? 2 + static_cast<int>(below(299)) : 1;
        }
        for (int r = 0; r < repeats && events < kStormEvents; ++r, ++events) {
            if (special) {
                OnDemoSpecialKey(key, 0, 0);
            } else {
                OnDemoKey(static_cast<unsigned char>(key), 0, 0);
            }
            const std::string where = "after event " + std::to_string(events) + ", " +
                                      KeyName(key, special) + " (frame " + std::to_string(frames) +
                                      ")";
            const std::string broken = BrokenSetting();
            ASSERT_EQ(broken, "") << where;
            if (below(4) == 0) {
                // Mostly smooth frames, now and then a stall; window changes asked for by
                // the F key are let through every few frames.
                const uint32_t step = below(50) == 0 ? 150 + below(5000) : 1 + below(40);
                if (frames % 8 == 0) {
                    PumpEvents();
                }
                Frame(step, where);
                ASSERT_EQ(BrokenSetting(), "") << where << ", after its frame";
            }
        }
    }
    // Let any fade that the storm left running finish, then check once more.
    for (int i = 0; i < 180; ++i) {
        Frame(16, "after the storm");
    }
    ExpectFiniteGlState("after the storm");
    EXPECT_GT(frames, kStormEvents / 5);
    RecordProperty("frames", frames);
    RecordProperty("fade-out ends", ExitCalls());

    // The F key may have left a resize request behind: settle it before the next test.
    for (int i = 0; i < 60; ++i) {
        PumpEvents();
        usleep(10000);
    }
}

// The storm's error check must see an error raised in the middle of a frame, which the
// frame's own error line would otherwise swallow.
TEST_F(KeyStormGlTest, AnErrorRaisedInsideAFrameIsSeen) {
    glEnable(GL_TEXTURE_3D + 0x7777);  // not a capability: GL_INVALID_ENUM
    FrameAt(16);
    EXPECT_EQ(errors.Errors().size(), 1u);
    errors.Clear();
}

namespace {
struct PressRun {
    const char* name;
    int key;  // a byte, or a special key when special is set
    bool special;
    int presses;
};

// Window coordinates in the window (with a margin for wide points): something was drawn
// where it can be seen.
size_t OnScreen(const std::vector<FeedbackPrimitive>& primitives, GLenum token) {
    size_t count = 0;
    for (const FeedbackPrimitive& p : OfToken(primitives, token)) {
        for (const FeedbackVertex& v : p.vertices) {
            if (v.x >= -2 && v.x <= 642 && v.y >= -2 && v.y <= 482) {
                ++count;
                break;
            }
        }
    }
    return count;
}
}  // namespace

// Frames after a thousand presses of one key that drives a speed to the largest float, or
// the camera far out either way (KeyboardTest checks the values themselves; RingsGlTest the
// ring sizes the keys can reach): the frames draw finite stars and rings.
TEST_F(KeyStormGlTest, FramesAfterThousandsOfPressesOfOneKeyStayFinite) {
    const PressRun runs[] = {
        {"+", '+', false, 1000},
        {"=", '=', false, 1000},
        {")", ')', false, 1000},
        {"right arrow", GLUT_KEY_RIGHT, true, 1000},
        {"{ until the far plane lies behind the near one", '{', false, 100},
        {"} far out", '}', false, 1000},
    };
    for (const PressRun& run : runs) {
        SCOPED_TRACE(run.name);
        ResetSettings();
        for (int i = 0; i < run.presses; ++i) {
            if (run.special) {
                DecideDemoSpecialKey(run.key);
            } else {
                DecideDemoKey(static_cast<unsigned char>(run.key));
            }
        }
        EXPECT_EQ(BrokenSetting(), "");
        // The fastest phases grow in the first frames and are then held to one turn.
        for (int i = 0; i < 10; ++i) {
            FrameAt(ms += 16);
            ExpectNoGlErrorRaised(run.name);
        }
        ExpectFiniteGlState(run.name);
        textOverlay.messageExpiry = 0.0;  // no text: every polygon is a ring's
        const auto emitted = CaptureFeedback([&] { FrameAt(ms += 16); });
        ExpectFiniteFeedback(emitted, run.name);
        ExpectNoGlErrorRaised(run.name);
        if (7.0 + settings.cameraZ < 0.1) {
            // The camera has passed the whole scene, which now lies behind it, and the far
            // plane has crossed the near one: the projection is still finite and raises no
            // error, and only the slab between the two planes could show anything.
            continue;
        }
        EXPECT_GT(OnScreen(emitted, GL_POINT_TOKEN), 300u) << "the stars are drawn";
        EXPECT_GT(OnScreen(emitted, GL_POLYGON_TOKEN), 0u) << "the rings are drawn";
    }
}
