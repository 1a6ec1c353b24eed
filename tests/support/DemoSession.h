// The whole demo in the test window: a driver session (the real program's start-up from the
// program-start state, the clock at 0, the process end recorded), OpenGL errors caught where
// they are raised, and every piece of program state put back when the test ends, whether it
// passed or not.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "driver/DemoSession.h"
#include "tests/support/GlTestSupport.h"

// Every OpenGL error raised while it runs, as the driver's debug output reports it. AppFrame
// ends with its own glGetError (the error line), so an error raised inside a frame is only
// seen this way.
class GlErrorLog {
public:
    // False when the driver offers no debug output.
    bool Start();
    void Stop();
    const std::vector<std::string>& Errors() const;
    void Clear();
};

class DemoSessionGlTest : public GlTest {
protected:
    void SetUp() override;
    // AppShutdown and RestoreProgramStartState: the next test starts as the process did.
    void TearDown() override;

    // One turn of the main loop at the given clock: the window system's events, then the
    // frame and the swap of the display callback. Both matter on a long run: without the
    // swap the software renderer queues every frame's drawing, and events left unread pile
    // up in the client's queue.
    void FrameAt(uint32_t ms);
    // A frame left in the back buffer for pixel checks: no events, no swap.
    void DrawnFrameAt(uint32_t ms);
    // Fails with the OpenGL errors raised since the last call, and forgets them.
    void ExpectNoGlErrorRaised(const std::string& where);

    // Orderly ends the demo asked for since SetUp. What the real program would do there,
    // short of ending: the end is counted and the demo runs on at full light.
    int ExitCalls() const { return session.Ends(); }

    DemoSession session;
    GlErrorLog errors;
};
