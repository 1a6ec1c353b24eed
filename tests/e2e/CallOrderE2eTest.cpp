// The OpenGL calls the real binary makes, recorded with apitrace: start-up in its fixed
// order, the text overlay's state set-up and restore, and the order of one frame.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/DemoProcess.h"
#include "xvfb/VirtualDisplay.h"

namespace {
// Reads the trace's calls as text, one per line, up to the end of the second frame.
std::vector<std::string> DumpCalls(const std::string& trace) {
    std::vector<std::string> calls;
    const std::string command = "apitrace dump --call-nos=no --color=never " + trace;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return calls;
    }
    char line[4096];
    int swaps = 0;
    while (swaps < 2 && std::fgets(line, sizeof line, pipe)) {
        std::string call(line);
        // Vertex data says nothing about order; leave it out to keep the list short.
        if (call.rfind("glVertex", 0) == 0 || call.rfind("glColor3f", 0) == 0 ||
            call.rfind("glNormal", 0) == 0 || call.rfind("glTexCoord", 0) == 0) {
            continue;
        }
        swaps += call.rfind("glXSwapBuffers", 0) == 0;
        calls.push_back(call);
    }
    pclose(pipe);
    return calls;
}

// Finds each expected prefix in order, starting after the previous match; returns the
// index past the last match, or reports the first prefix that was not found.
size_t ExpectInOrder(const std::vector<std::string>& calls, size_t from,
                     const std::vector<std::string>& prefixes, const char* what) {
    size_t at = from;
    for (const std::string& prefix : prefixes) {
        while (at < calls.size() && calls[at].rfind(prefix, 0) != 0) {
            ++at;
        }
        if (at == calls.size()) {
            ADD_FAILURE() << what << ": \"" << prefix << "\" not found in order";
            return calls.size();
        }
        ++at;
    }
    return at;
}

// The overlay's state set-up, in order, up to its first glyph.
const std::vector<std::string> kTextSetUp = {
    "glColor3d(red = 1, green = 1, blue = 1)",
    "glEnable(cap = GL_BLEND)",
    "glEnable(cap = GL_TEXTURE_2D)",
    "glBindTexture(target = GL_TEXTURE_2D",
    "glDepthMask(flag = GL_FALSE)",
    "glPushAttrib(mask = GL_POLYGON_BIT)",
    "glPolygonMode(face = GL_FRONT_AND_BACK, mode = GL_FILL)",
    "glPushMatrix()",
    "glPushAttrib(mask = GL_VIEWPORT_BIT)",
    "glViewport(x = 0, y = 0,",
    "glMatrixMode(mode = GL_PROJECTION)",
    "glLoadIdentity()",
    "glOrtho(left = 0,",
    "glMatrixMode(mode = GL_MODELVIEW)",
    "glLoadIdentity()",
    "glBegin(mode = GL_QUADS)",
};
// ... and its restore.
const std::vector<std::string> kTextRestore = {
    "glPopMatrix()",
    "glPopAttrib()",
    "glDisable(cap = GL_TEXTURE_2D)",
    "glDisable(cap = GL_BLEND)",
    "glPopAttrib()",
    "glDepthMask(flag = GL_TRUE)",
};
}  // namespace

TEST(CallOrderE2eTest, StartUpAndFirstFrameMakeTheirCallsInOrder) {
    if (std::system("command -v apitrace >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "apitrace is not installed";
    }
    // A small screen keeps the trace small: the demo goes full screen.
    VirtualDisplay display;
    ASSERT_TRUE(display.Start(320, 240));
    const std::string dir = MakeWorkDir(TAVIK_FONT);
    const std::string trace = dir + "/tavik.trace";
    const std::string command = "cd " + dir + " && timeout -s INT 3 apitrace trace -o " + trace +
                                " " + TAVIK_BINARY + " >/dev/null";
    RunOnDisplay(display, command, nullptr);
    const std::vector<std::string> calls = DumpCalls(trace);
    ASSERT_GT(calls.size(), 100u) << "no trace recorded";

    // AppInit: the view, the fixed state, the lights, the stars, the font, the first message.
    size_t at = ExpectInOrder(
        calls, 0,
        {
            "glPolygonMode(face = GL_FRONT_AND_BACK, mode = GL_FILL)",
            "glViewport(",
            "glMatrixMode(mode = GL_PROJECTION)",
            "glLoadIdentity()",
            "glMultMatrixd(",  // gluPerspective
            "glMatrixMode(mode = GL_MODELVIEW)",
            "glLoadIdentity()",
            "glEnable(cap = GL_COLOR_MATERIAL)",
            "glColorMaterial(face = GL_FRONT_AND_BACK, mode = GL_AMBIENT_AND_DIFFUSE)",
            "glLightModeli(pname = GL_LIGHT_MODEL_LOCAL_VIEWER, param = 1)",
            "glMateriali(face = GL_FRONT_AND_BACK, pname = GL_SHININESS, param = 30)",
            "glShadeModel(mode = GL_SMOOTH)",
            "glBlendFunc(sfactor = GL_SRC_ALPHA, dfactor = GL_ONE_MINUS_SRC_ALPHA)",
            "glEnable(cap = GL_POINT_SMOOTH)",
            "glEnable(cap = GL_DEPTH_TEST)",
            "glLightModelfv(pname = GL_LIGHT_MODEL_AMBIENT, params = {0.5, 0.5, 0.5, 1})",
            "glMaterialfv(face = GL_FRONT_AND_BACK, pname = GL_SPECULAR, params = {0.6, 0.6, 0.6, "
            "1})",
            "glLightf(light = GL_LIGHT0, pname = GL_SPOT_EXPONENT, param = 30)",
            "glLightf(light = GL_LIGHT0, pname = GL_SPOT_CUTOFF, param = 30)",
            "glEnable(cap = GL_LIGHT0)",
            "glLightf(light = GL_LIGHT1, pname = GL_SPOT_EXPONENT, param = 30)",
            "glLightf(light = GL_LIGHT1, pname = GL_SPOT_CUTOFF, param = 30)",
            "glEnable(cap = GL_LIGHT1)",
            "glGenLists(range = 1)",
            "glNewList(",
            "glBegin(mode = GL_POINTS)",
            "glEnd()",
            "glEndList()",
            "glGenTextures(",
            "glBindTexture(target = GL_TEXTURE_2D",
            "glTexParameterf(target = GL_TEXTURE_2D, pname = GL_TEXTURE_WRAP_S, param = GL_REPEAT)",
            "glTexParameterf(target = GL_TEXTURE_2D, pname = GL_TEXTURE_WRAP_T, param = GL_REPEAT)",
            "glTexParameterf(target = GL_TEXTURE_2D, pname = GL_TEXTURE_MAG_FILTER, param = "
            "GL_LINEAR)",
            "glTexParameterf(target = GL_TEXTURE_2D, pname = GL_TEXTURE_MIN_FILTER, "
            "param = GL_LINEAR_MIPMAP_NEAREST)",
            "glTexImage2D(target = GL_TEXTURE_2D, level = 0,",
            "glTexImage2D(target = GL_TEXTURE_2D, level = 1,",
        },
        "start-up");
    at = ExpectInOrder(calls, at, kTextSetUp, "first message set-up");
    at = ExpectInOrder(calls, at, kTextRestore, "first message restore");

    // The first frame: lights placed before the view is set up, then the scene and the overlay.
    // Within each part the order of the calls is pinned by its own OpenGL test (the lights'
    // turns and colours, the stars' passes, the rings' turns); here the parts' order, and the
    // stars' blending and point sizes, which no OpenGL test reads back.
    at = ExpectInOrder(
        calls, at,
        {
            "glLightModelfv(pname = GL_LIGHT_MODEL_AMBIENT",
            "glLightfv(light = GL_LIGHT0, pname = GL_POSITION, params = {0, 0, 0, 1})",
            "glLightfv(light = GL_LIGHT1, pname = GL_SPOT_DIRECTION",
            "glPolygonMode(face = GL_FRONT_AND_BACK",
            "glViewport(",
            "glMultMatrixd(",
            "glTranslatef(",
            "glClear(mask = GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT)",
            "glEnable(cap = GL_LIGHTING)",
            "glPushMatrix()",
            "glRotatef(",
            "glRotatef(",
            "glRotatef(",
            "glEnable(cap = GL_BLEND)",
            "glPointSize(size = 1)",
            "glPointSize(size = 2)",
            "glPointSize(size = 3)",
            "glPopMatrix()",
            "glColor4d(",
            "glDrawElements(",  // the first torus
            "glEnable(cap = GL_NORMALIZE)",
            "glDrawElements(",
            "glDrawElements(",
            "glDisable(cap = GL_LIGHTING)",
        },
        "first frame");
    at = ExpectInOrder(calls, at, kTextSetUp, "status message set-up");
    at = ExpectInOrder(calls, at, kTextRestore, "status message restore");
    // apitrace does not record glGetError, so the error check cannot be seen here. Every call
    // above lies before the first swap: none was found in the second frame instead.
    const size_t firstSwap = ExpectInOrder(calls, 0, {"glXSwapBuffers("}, "the first swap");
    EXPECT_EQ(ExpectInOrder(calls, at, {"glXSwapBuffers("}, "end of frame"), firstSwap)
        << "the first frame's calls were only found in the second";
}
