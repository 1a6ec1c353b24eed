// The demo-session fixture: a driver session in the test window and the OpenGL error log.
#include "tests/support/DemoSession.h"

#include <GL/freeglut.h>
#include <GL/glext.h>

namespace {
std::vector<std::string> loggedErrors;

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
    std::string error;
    ASSERT_TRUE(session.Start(TAVIK_FONT, AfterEnd::RunOn, &error)) << error;
    // AppInit asks for full screen; the tests draw in the usual 640 x 480 window.
    ASSERT_TRUE(ResizeWindow(640, 480));
    ASSERT_TRUE(errors.Start()) << "no OpenGL debug output to catch errors inside frames";
}

void DemoSessionGlTest::TearDown() {
    errors.Stop();
    EXPECT_EQ(session.LastEndStatus(), 0) << "an orderly end exits with status 0";
    session.End();
    GlTest::TearDown();
}

void DemoSessionGlTest::FrameAt(uint32_t ms) {
    session.FrameAt(ms);
}

void DemoSessionGlTest::DrawnFrameAt(uint32_t ms) {
    session.SetClock(ms);
    session.Frame();
}

void DemoSessionGlTest::ExpectNoGlErrorRaised(const std::string& where) {
    for (const std::string& message : errors.Errors()) {
        ADD_FAILURE() << where << ": OpenGL error: " << message;
    }
    errors.Clear();
    EXPECT_NO_GL_ERROR();
}
