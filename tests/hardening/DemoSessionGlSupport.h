// Helpers of the long-run, key-storm and window tests: the whole demo started in the test
// window with a controlled clock and a recorder in place of the process end, OpenGL errors
// caught where they are raised (inside a frame, before the frame's own check clears them),
// checks that no NaN or infinity has reached OpenGL, and the process's resident memory.
#pragma once

#include <GL/freeglut.h>
#include <GL/glext.h>
#include <malloc.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "scene/ChannelBank.h"
#include "scene/Random.h"
#include "shell/AppHooks.h"
#include "shell/Clock.h"
#include "shell/FrameStep.h"
#include "shell/Shell.h"
#include "shell/SceneGlobals.h"
#include "shell/Settings.h"
#include "tests/support/GlTestSupport.h"

// Every OpenGL error raised since Start, as the driver's debug output reports it. AppFrame
// ends with its own glGetError (the error line), so an error raised inside a frame is only
// seen this way.
class GlErrorLog {
public:
    // False when the driver offers no debug output.
    bool Start() {
        messages().clear();
        const auto callback = reinterpret_cast<PFNGLDEBUGMESSAGECALLBACKPROC>(
            glutGetProcAddress("glDebugMessageCallback"));
        if (callback == nullptr) {
            return false;
        }
        glEnable(GL_DEBUG_OUTPUT);
        glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
        callback(Record, nullptr);
        return true;
    }
    void Stop() {
        const auto callback = reinterpret_cast<PFNGLDEBUGMESSAGECALLBACKPROC>(
            glutGetProcAddress("glDebugMessageCallback"));
        if (callback != nullptr) {
            callback(nullptr, nullptr);
        }
        glDisable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
        glDisable(GL_DEBUG_OUTPUT);
    }
    const std::vector<std::string>& Errors() const { return messages(); }
    void Clear() { messages().clear(); }

private:
    static std::vector<std::string>& messages() {
        static std::vector<std::string> log;
        return log;
    }
    static void APIENTRY Record(GLenum, GLenum type, GLuint, GLenum, GLsizei, const GLchar* message,
                                const void*) {
        if (type == GL_DEBUG_TYPE_ERROR) {
            messages().push_back(message);
        }
    }
};

// The whole demo in the test window: AppInit with the clock at 0 and the program-start state,
// the fade-out's process end replaced by a recorder that lets the test go on.
class DemoSessionGlTest : public GlTest {
protected:
    static int& ExitCalls() {
        static int calls = 0;
        return calls;
    }
    // What the real program would do at the end of the fade-out, short of ending: the exit
    // is counted and the demo runs on at full light.
    static void RecordExit(int status) {
        EXPECT_EQ(status, 0);
        ++ExitCalls();
        fadeLevel = 1.0f;
    }

    void SetUp() override {
        GlTest::SetUp();
        ElapsedMs = 0;
        ResetFrameStepState();
        helpVisible = 0;
        fullScreen = 1;
        settings.letterbox = 0;
        ExitCalls() = 0;
        endProcess = RecordExit;
        Random::srand(0);
        std::memset(&channelBank, 0, sizeof channelBank);
        ASSERT_TRUE(AppInit());
        ASSERT_TRUE(ResizeWindow(640, 480));
        ASSERT_TRUE(errors.Start()) << "no OpenGL debug output to catch errors inside frames";
    }
    void TearDown() override {
        errors.Stop();
        AppShutdown();
        endProcess = std::exit;
        ElapsedMs = 0;
        ResetFrameStepState();
        ResetSettings();
        helpVisible = 0;
        fullScreen = 1;
        settings.letterbox = 0;
        GlTest::TearDown();
    }

    // One turn of the main loop at the given clock: the window system's events, then the
    // frame and the swap of the display callback. Both matter on a long run: without the
    // swap the software renderer queues every frame's drawing (gigabytes after a few
    // thousand frames), and events left unread pile up in the client's queue.
    void FrameAt(uint32_t ms) {
        glutMainLoopEvent();
        ElapsedMs = ms;
        AppFrame();
        glutSwapBuffers();
    }
    // Fails with the OpenGL errors raised since the last call, and forgets them.
    void ExpectNoGlErrorRaised(const std::string& where) {
        for (const std::string& message : errors.Errors()) {
            ADD_FAILURE() << where << ": OpenGL error: " << message;
        }
        errors.Clear();
        EXPECT_NO_GL_ERROR();
    }

    GlErrorLog errors;
};

inline bool AllFinite(const GLfloat* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(values[i])) {
            return false;
        }
    }
    return true;
}

inline std::string Listed(const GLfloat* values, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += (i ? " " : "") + std::to_string(values[i]);
    }
    return text;
}

// The numbers a frame leaves in OpenGL: both matrices, the two spotlights' placement and
// colours, the global ambient light, the material that colour tracking sets, the current
// colour and normal and the point size. None may be NaN or infinite.
inline void ExpectFiniteGlState(const std::string& where) {
    struct Query {
        std::string name;
        std::vector<GLfloat> values;
    };
    std::vector<Query> queries;
    auto get = [&](const char* name, GLenum pname, int count) {
        Query q{name, std::vector<GLfloat>(static_cast<size_t>(count))};
        glGetFloatv(pname, q.values.data());
        queries.push_back(q);
    };
    get("model-view matrix", GL_MODELVIEW_MATRIX, 16);
    get("projection matrix", GL_PROJECTION_MATRIX, 16);
    get("global ambient", GL_LIGHT_MODEL_AMBIENT, 4);
    get("current colour", GL_CURRENT_COLOR, 4);
    get("current normal", GL_CURRENT_NORMAL, 3);
    get("point size", GL_POINT_SIZE, 1);
    for (int light = 0; light < 2; ++light) {
        const GLenum name = GL_LIGHT0 + light;
        const struct {
            const char* what;
            GLenum pname;
            int count;
        } fields[] = {{"position", GL_POSITION, 4},
                      {"spot direction", GL_SPOT_DIRECTION, 3},
                      {"ambient", GL_AMBIENT, 4},
                      {"diffuse", GL_DIFFUSE, 4},
                      {"specular", GL_SPECULAR, 4}};
        for (const auto& field : fields) {
            Query q{"light " + std::to_string(light) + " " + field.what, std::vector<GLfloat>(4)};
            glGetLightfv(name, field.pname, q.values.data());
            q.values.resize(static_cast<size_t>(field.count));
            queries.push_back(q);
        }
    }
    for (const GLenum pname : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR}) {
        Query q{"material", std::vector<GLfloat>(4)};
        glGetMaterialfv(GL_FRONT, pname, q.values.data());
        queries.push_back(q);
    }
    for (const Query& q : queries) {
        EXPECT_TRUE(AllFinite(q.values.data(), static_cast<int>(q.values.size())))
            << where << ": " << q.name << " holds "
            << Listed(q.values.data(), static_cast<int>(q.values.size()));
    }
}

// Every vertex OpenGL emitted in feedback mode has finite window coordinates, colour and
// texture coordinate. Returns the number of primitives.
inline size_t ExpectFiniteFeedback(const std::vector<FeedbackPrimitive>& primitives,
                                   const std::string& where) {
    int reported = 0;
    for (const FeedbackPrimitive& p : primitives) {
        for (const FeedbackVertex& v : p.vertices) {
            const GLfloat fields[] = {v.x, v.y, v.z, v.r, v.g, v.b, v.a, v.s, v.t, v.p, v.q};
            if (!AllFinite(fields, 11) && reported++ < 3) {
                ADD_FAILURE() << where << ": a vertex of primitive " << p.token << " holds "
                              << Listed(fields, 11);
            }
        }
    }
    return primitives.size();
}

// Resident memory of this process in kilobytes (VmRSS), or -1. Free heap pages are handed
// back first, so that what is counted is memory in use rather than the allocator's
// fragmentation, which varies from run to run.
inline long ResidentKilobytes() {
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
