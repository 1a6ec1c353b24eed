// The status message's 3-second life on a controlled clock, the frame-rate readout and the
// OpenGL error line, checked through the glyph quads they draw and the record they keep.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "overlay/TextOverlay.h"
#include "shell/Clock.h"
#include "tests/overlay/OverlayGlSupport.h"
#include "tests/support/GlTestSupport.h"

namespace {
// The visible text of a top-strip line (size 20: advance 8) starting at pen x0; empty when
// nothing was drawn. Every quad must lie in the top 20 rows.
std::string TopLine(const std::vector<GlyphQuad>& quads, int x0) {
    for (const GlyphQuad& q : quads) {
        EXPECT_NEAR(q.bottom, 460, 1e-3);
        EXPECT_NEAR(q.top, 480, 1e-3);
    }
    return DecodeLine(quads, x0, 8);
}
}  // namespace

class StatusMessagesGlTest : public OverlayGlTest {
protected:
    void TearDown() override {
        ElapsedMs = 0;
        OverlayGlTest::TearDown();
    }

    // One frame's message drawing at the given clock, as the frame step does it while a
    // message is pending: the text drawn, or empty.
    std::string FrameAt(uint32_t ms) {
        ElapsedMs = ms;
        return TopLine(CaptureQuads([&] { overlay.DrawMessage(); }), 10);
    }
};

TEST_F(StatusMessagesGlTest, MessageIsDrawnAtOnceAndRecordedAtTheTopLeft) {
    ElapsedMs = 10000;
    const auto quads = CaptureQuads([&] { overlay.ShowMessage("Press ? key for Help Screen"); });
    EXPECT_EQ(TopLine(quads, 10), "Press ? key for Help Screen");
    EXPECT_STREQ(overlay.messageText, "Press ? key for Help Screen");
    EXPECT_EQ(overlay.messageX, 10);
    EXPECT_EQ(overlay.messageY, 20);
    EXPECT_DOUBLE_EQ(overlay.messageExpiry, 13.0);
    // The plain form shows its text as it stands: a '%' is not read as a conversion.
    const auto percent = CaptureQuads([&] { overlay.ShowMessage("100% %s %n"); });
    EXPECT_EQ(TopLine(percent, 10), "100% %s %n");
    EXPECT_STREQ(overlay.messageText, "100% %s %n");
}

TEST_F(StatusMessagesGlTest, MessageLastsUpToButNotIncludingThreeSecondsLater) {
    ElapsedMs = 10000;
    overlay.ShowMessage("Pause ON");
    for (uint32_t ms : {10000u, 10016u, 11500u, 12999u}) {
        EXPECT_EQ(FrameAt(ms), "Pause ON") << "at " << ms << " ms";
        EXPECT_DOUBLE_EQ(overlay.messageExpiry, 13.0);
    }
    EXPECT_EQ(FrameAt(13000), "") << "the frame at 13.0 s draws nothing";
    EXPECT_EQ(overlay.messageExpiry, 0.0);
    EXPECT_STREQ(overlay.messageText, "Pause ON") << "the text is kept";
    EXPECT_EQ(FrameAt(13001), "");
}

TEST_F(StatusMessagesGlTest, ALaterMessageReplacesTheFirstAndCountsFromItsOwnCall) {
    ElapsedMs = 10000;
    overlay.ShowMessage("Stars OFF");
    ElapsedMs = 11000;
    overlay.ShowMessage("Camera Z %3.0f", -30.0);
    EXPECT_EQ(FrameAt(13000), "Camera Z -30");
    EXPECT_EQ(FrameAt(13999), "Camera Z -30");
    EXPECT_EQ(FrameAt(14000), "");
}

TEST_F(StatusMessagesGlTest, FrameRateReadoutAtTheTopRightIsNeverRecorded) {
    ElapsedMs = 5000;
    overlay.ShowMessage("Frame-rate ON");
    overlay.recording = 0;
    const auto quads = CaptureQuads([&] { overlay.DrawFrameRate(60); });
    EXPECT_EQ(TopLine(quads, 520), " 60 Frame/Sec") << "x = 640 - 120, the space padding";
    EXPECT_EQ(overlay.recording, 1) << "set back to 1, not to what it was";
    EXPECT_STREQ(overlay.messageText, "Frame-rate ON");
    EXPECT_EQ(overlay.messageX, 10);
    EXPECT_EQ(overlay.messageY, 20);
    EXPECT_DOUBLE_EQ(overlay.messageExpiry, 8.0);

    ASSERT_TRUE(ResizeWindow(800, 480));
    const auto wide = CaptureQuads([&] { overlay.DrawFrameRate(1234); });
    EXPECT_EQ(TopLine(wide, 680), "1234 Frame/Sec") << "follows the window width";
    EXPECT_STREQ(overlay.messageText, "Frame-rate ON");
}

TEST_F(StatusMessagesGlTest, ErrorLineShowsOnceAndBringsTheLastMessageBack) {
    ElapsedMs = 10000;
    overlay.ShowMessage("Letterbox 3");
    EXPECT_EQ(FrameAt(13000), "");
    ASSERT_EQ(overlay.messageExpiry, 0.0) << "the message has expired";

    ElapsedMs = 20000;
    glEnable(0xdead);  // raises GL_INVALID_ENUM
    overlay.recording = 0;
    const auto quads = CaptureQuads([&] { overlay.CheckGlError(); });
    EXPECT_EQ(TopLine(quads, 256), "OpenGL Error: invalid enumerant") << "x = 640 x 0.4";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "the error was fetched";
    EXPECT_EQ(overlay.recording, 1);
    EXPECT_STREQ(overlay.messageText, "Letterbox 3") << "the error line is not recorded";
    EXPECT_EQ(overlay.messageX, 10);
    EXPECT_EQ(overlay.messageY, 20);
    EXPECT_DOUBLE_EQ(overlay.messageExpiry, 23.0);

    ElapsedMs = 20100;
    EXPECT_TRUE(CaptureFeedback([&] { overlay.CheckGlError(); }).empty())
        << "the next frame has no error to show";
    EXPECT_DOUBLE_EQ(overlay.messageExpiry, 23.0) << "and renews nothing";
    EXPECT_EQ(FrameAt(20500), "Letterbox 3");
    EXPECT_EQ(FrameAt(22999), "Letterbox 3");
    EXPECT_EQ(FrameAt(23000), "");
}
