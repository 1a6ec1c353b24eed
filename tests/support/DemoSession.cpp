// The demo-session fixture: start-up in the test window, the recorded process end, the
// OpenGL error log, and the restore of the program-start state.
#include "tests/support/DemoSession.h"

#include <GL/freeglut.h>
#include <GL/glext.h>

#include "shell/AppHooks.h"
#include "shell/Clock.h"
#include "shell/ProgramState.h"
#include "shell/Settings.h"
#include "shell/Shell.h"

namespace {
int exitCalls = 0;
std::vector<std::string> loggedErrors;

void RecordExit(int status) {
    EXPECT_EQ(status, 0) << "an orderly end exits with status 0";
    ++exitCalls;
    fadeLevel = 1.0f;
}

void APIENTRY LogError(GLenum, GLenum type, GLuint, GLenum, GLsizei, const GLchar* message,
                       const void*) {
    if (type == GL_DEBUG_TYPE_ERROR) {
        loggedErrors.push_back(message);
    }
}

PFNGLDEBUGMESSAGECALLBACKPROC DebugCallbackSetter() {
    return reinterpret_cast<PFNGLDEBUGMESSAGECALLBACKPROC>(
        glutGetProcAddress("glDebugMessageCallback"));
}
}  // namespace

bool GlErrorLog::Start() {
    loggedErrors.clear();
    const auto setCallback = DebugCallbackSetter();
    if (setCallback == nullptr) {
        return false;
    }
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    setCallback(LogError, nullptr);
    return true;
}

void GlErrorLog::Stop() {
    if (const auto setCallback = DebugCallbackSetter()) {
        setCallback(nullptr, nullptr);
    }
    glDisable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDisable(GL_DEBUG_OUTPUT);
}

const std::vector<std::string>& GlErrorLog::Errors() const {
    return loggedErrors;
}

void GlErrorLog::Clear() {
    loggedErrors.clear();
}

void DemoSessionGlTest::SetUp() {
    GlTest::SetUp();
    RestoreProgramStartState();
    exitCalls = 0;
    endProcess = RecordExit;
    ASSERT_TRUE(PreInit());
    ASSERT_TRUE(AppInit());
    // AppInit asks for full screen; the tests draw in the usual 640 x 480 window.
    ASSERT_TRUE(ResizeWindow(640, 480));
    ASSERT_TRUE(errors.Start()) << "no OpenGL debug output to catch errors inside frames";
}

void DemoSessionGlTest::TearDown() {
    errors.Stop();
    AppShutdown();
    RestoreProgramStartState();
    GlTest::TearDown();
}

void DemoSessionGlTest::FrameAt(uint32_t ms) {
    glutMainLoopEvent();
    ElapsedMs = ms;
    AppFrame();
    glutSwapBuffers();
}

void DemoSessionGlTest::DrawnFrameAt(uint32_t ms) {
    ElapsedMs = ms;
    AppFrame();
}

void DemoSessionGlTest::ExpectNoGlErrorRaised(const std::string& where) {
    for (const std::string& message : errors.Errors()) {
        ADD_FAILURE() << where << ": OpenGL error: " << message;
    }
    errors.Clear();
    EXPECT_NO_GL_ERROR();
}

int DemoSessionGlTest::ExitCalls() {
    return exitCalls;
}
