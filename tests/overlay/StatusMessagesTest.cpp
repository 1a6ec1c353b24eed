// Formatting of the status message, frame-rate readout and error line: exact texts, the
// 80-byte bound with nothing written past it, and the readout and error-line positions.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

#include "overlay/StatusMessages.h"

namespace {
// A message buffer with guard bytes right behind it, to catch writes past its end.
struct GuardedBuffer {
    MessageBuffer text;
    char guard[16];
    GuardedBuffer() {
        std::memset(text, 'q', sizeof text);
        std::memset(guard, 0x5a, sizeof guard);
    }
    bool GuardIntact() const {
        return std::all_of(std::begin(guard), std::end(guard), [](char c) { return c == 0x5a; });
    }
};
}  // namespace

TEST(StatusMessagesTest, LongResultsAreCutTo79BytesAndTerminated) {
    GuardedBuffer b;
    FormatMessage(b.text, "%0200.3f", 1.0);
    EXPECT_EQ(std::strlen(b.text), 79u);
    EXPECT_EQ(std::string(b.text), std::string(79, '0'));
    EXPECT_TRUE(b.GuardIntact());

    GuardedBuffer c;
    FormatMessage(c.text, "Tessellation %0150d", int32_t{7});
    EXPECT_EQ(std::strlen(c.text), 79u);
    EXPECT_EQ(std::string(c.text, 13), "Tessellation ");
    EXPECT_TRUE(c.GuardIntact());

    GuardedBuffer d;
    const std::string longText(300, 'x');
    FormatPlainMessage(d.text, longText.c_str());
    EXPECT_EQ(std::string(d.text), longText.substr(0, 79));
    EXPECT_TRUE(d.GuardIntact());
}

TEST(StatusMessagesTest, PlainTextIsShownAsItStandsEvenWithPercentSigns) {
    GuardedBuffer b;
    FormatPlainMessage(b.text, "Press ? key for Help Screen");
    EXPECT_STREQ(b.text, "Press ? key for Help Screen");
    // Used as a format, %s and %n would read (and %n write through) arguments never passed.
    FormatPlainMessage(b.text, "100% done %s %n %%");
    EXPECT_STREQ(b.text, "100% done %s %n %%");
    FormatPlainMessage(b.text, "");
    EXPECT_STREQ(b.text, "");
    EXPECT_TRUE(b.GuardIntact());
}

TEST(StatusMessagesTest, ErrorLineCutsTheDescriptionTo60Bytes) {
    GuardedBuffer b;
    FormatErrorLine(b.text, reinterpret_cast<const char*>(gluErrorString(GL_INVALID_ENUM)),
                    GL_INVALID_ENUM);
    EXPECT_STREQ(b.text, "OpenGL Error: invalid enumerant");

    std::string description;
    for (int i = 0; i < 100; ++i) {
        description += static_cast<char>('a' + i % 26);
    }
    FormatErrorLine(b.text, description.c_str(), GL_INVALID_VALUE);
    EXPECT_EQ(std::string(b.text), "OpenGL Error: " + description.substr(0, 60));
    EXPECT_EQ(std::strlen(b.text), 74u);

    // Exactly 60 bytes with no terminator behind them: only those 60 are read.
    char unterminated[60];
    std::memset(unterminated, 'z', sizeof unterminated);
    FormatErrorLine(b.text, unterminated, GL_INVALID_VALUE);
    EXPECT_EQ(std::string(b.text), "OpenGL Error: " + std::string(60, 'z'));
    EXPECT_TRUE(b.GuardIntact());
}

TEST(StatusMessagesTest, UnknownErrorCodeIsShownByItsNumber) {
    // The utility library has no description for this code; the line must not crash.
    const GLenum unknown = 0xBEEF;
    ASSERT_EQ(gluErrorString(unknown), nullptr);
    GuardedBuffer b;
    FormatErrorLine(b.text, nullptr, unknown);
    EXPECT_STREQ(b.text, "OpenGL Error: 0xBEEF");
    FormatErrorLine(b.text, nullptr, 0x0507);
    EXPECT_STREQ(b.text, "OpenGL Error: 0x0507");
    EXPECT_TRUE(b.GuardIntact());
}

TEST(StatusMessagesTest, ReadoutTextAndPositionsFollowTheWidth) {
    GuardedBuffer b;
    FormatFrameRate(b.text, 5);
    EXPECT_STREQ(b.text, "  5 Frame/Sec");
    FormatFrameRate(b.text, -2147483647 - 1);
    EXPECT_STREQ(b.text, "-2147483648 Frame/Sec");
    EXPECT_TRUE(b.GuardIntact());
    EXPECT_EQ(FrameRateX(640), 520);
    EXPECT_EQ(FrameRateX(1024), 904);
    EXPECT_EQ(FrameRateX(100), -20) << "narrower than 120: starts left of the window";
    EXPECT_EQ(FrameRateX(0), -120);
    EXPECT_EQ(ErrorLineX(640), 256);
    EXPECT_EQ(ErrorLineX(1023), 409) << "409.2 truncated";
    EXPECT_EQ(ErrorLineX(1), 0);
}
