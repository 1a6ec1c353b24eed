// The program-start state put back for real: after a session that has pressed every key,
// resized the window, toggled full screen and faded out, and OpenGL state that no session
// sets, the next session the driver starts draws exactly as a fresh process of the same
// program does. The fresh process is this test program started again, which runs the hooks
// in its first window as the shell does. OpenGL state that leaked from one session into the
// next would hide set-up that the demo does only once per process rather than per start-up.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "driver/DemoSession.h"
#include "overlay/TextOverlay.h"
#include "shell/AppHooks.h"
#include "shell/Clock.h"
#include "shell/Keyboard.h"
#include "shell/SceneGlobals.h"
#include "shell/Shell.h"
#include "tests/support/GlTestSupport.h"

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 480;
// The first message, its expiry, a key's message, the help page and the readout.
constexpr uint32_t kClocks[] = {0, 1500, 3200, 4000, 5200};
constexpr size_t kFrameBytes = static_cast<size_t>(kWidth) * kHeight * 3;
constexpr size_t kRecordBytes = kFrameBytes + kMessageBytes + sizeof(double);
constexpr size_t kWindowBytes = 2 * sizeof(int);
const char kFreshVariable[] = "TAVIK_FRESH_SESSION_FILE";

int ends = 0;
void CountEnd(int) {
    ++ends;
}

// After start-up, frames at kClocks with keys between them: each frame's pixels, the status
// message and its expiry, one record after another.
std::vector<char> RecordSession() {
    EXPECT_TRUE(ResizeWindow(kWidth, kHeight));
    const unsigned char keys[] = {0, 0, 'l', '?', 'c'};
    std::vector<char> record;
    for (size_t i = 0; i < std::size(kClocks); ++i) {
        if (keys[i] != 0) {
            OnDemoKey(keys[i], 0, 0);
        }
        ElapsedMs = kClocks[i];
        AppFrame();
        const size_t at = record.size();
        record.resize(at + kRecordBytes);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, &record[at]);
        std::copy_n(textOverlay.messageText, kMessageBytes, &record[at + kFrameBytes]);
        const char* expiry = reinterpret_cast<const char*>(&textOverlay.messageExpiry);
        std::copy_n(expiry, sizeof(double), &record[at + kFrameBytes + kMessageBytes]);
    }
    // The full-screen key, and the window it leaves once its deferred change has run.
    OnDemoKey('f', 0, 0);
    for (int turn = 0; turn < 100; ++turn) {
        PumpEvents();
    }
    const int window[] = {glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT)};
    const char* size = reinterpret_cast<const char*>(window);
    record.insert(record.end(), size, size + sizeof window);
    return record;
}

// Every key the demo has, with frames between them, a resize, full screen left and taken
// again (its timers still queued at the end), and the fade-out to its end.
void RunDirtySession() {
    endProcess = CountEnd;
    ASSERT_TRUE(PreInit());
    ASSERT_TRUE(AppInit());
    uint32_t clock = 0;
    for (int key = 1; key < 256; ++key) {
        if (key != 27) {
            OnDemoKey(static_cast<unsigned char>(key), 0, 0);
        }
        ElapsedMs = clock += 37;
        AppFrame();
        PumpEvents();
    }
    for (int key : {GLUT_KEY_LEFT, GLUT_KEY_RIGHT, GLUT_KEY_UP, GLUT_KEY_F1}) {
        OnDemoSpecialKey(key, 0, 0);
    }
    ASSERT_TRUE(ResizeWindow(300, 200));
    OnDemoKey('f', 0, 0);
    OnDemoKey(27, 0, 0);
    for (int frame = 0; frame < 100 && ends == 0; ++frame) {
        ElapsedMs = clock += 100;
        AppFrame();
    }
    ASSERT_EQ(ends, 1) << "the fade-out ends the session";
    // What another host, or another version of the demo, might leave in the context.
    glEnable(GL_FOG);
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
}
}  // namespace

class ProgramStateGlTest : public GlTest {};

TEST_F(ProgramStateGlTest, RestoredSessionDrawsAsAFreshProcess) {
    if (const char* path = std::getenv(kFreshVariable)) {
        ASSERT_TRUE(PreInit());
        ASSERT_TRUE(AppInit());
        const std::vector<char> fresh = RecordSession();
        AppShutdown();
        std::ofstream(path, std::ios::binary).write(fresh.data(), std::streamsize(fresh.size()));
        return;
    }
    const std::string path = testing::TempDir() + "tavik-fresh-session.bin";
    char self[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
    const std::string command = std::string(kFreshVariable) + "=" + path + " " + self +
                                " --gtest_filter=ProgramStateGlTest.* >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> fresh{std::istreambuf_iterator<char>(in), {}};
    std::remove(path.c_str());
    ASSERT_EQ(fresh.size(), kRecordBytes * std::size(kClocks) + kWindowBytes);

    RunDirtySession();
    DemoSession session;
    std::string error;
    ASSERT_TRUE(session.Start(TAVIK_FONT, AfterEnd::Stop, &error)) << error;
    const std::vector<char> restored = RecordSession();
    session.End();
    ASSERT_EQ(restored.size(), fresh.size());
    for (size_t i = 0; i < std::size(kClocks); ++i) {
        const auto at = fresh.begin() + static_cast<long>(i * kRecordBytes);
        const auto mine = restored.begin() + static_cast<long>(i * kRecordBytes);
        EXPECT_TRUE(std::equal(at, at + kFrameBytes, mine))
            << "the frame at " << kClocks[i] << " ms differs from a fresh process's";
        EXPECT_TRUE(std::equal(at + kFrameBytes, at + kRecordBytes, mine + kFrameBytes))
            << "the status message or its expiry at " << kClocks[i] << " ms differs: \""
            << &*(mine + kFrameBytes) << "\", a fresh process has \"" << &*(at + kFrameBytes)
            << "\"";
    }
    EXPECT_TRUE(std::equal(fresh.end() - kWindowBytes, fresh.end(), restored.end() - kWindowBytes))
        << "the full-screen key leaves another window than in a fresh process";
}
