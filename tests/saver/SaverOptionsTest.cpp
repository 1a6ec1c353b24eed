// The screensaver's command-line rules: window ids as X tools print them, which window wins
// when several are named, and the options that must be refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "saver/SaverOptions.h"

TEST(SaverOptionsTest, WindowIdsAreDecimalOrHexAndNothingElse) {
    unsigned long id = 0;
    EXPECT_TRUE(ParseWindowId("4194312", &id) && id == 4194312u);
    EXPECT_TRUE(ParseWindowId("0x400008", &id) && id == 0x400008u);
    EXPECT_TRUE(ParseWindowId("0XfFfFfFfF", &id) && id == 0xffffffffu);
    for (const char* bad : {"", "0", "0x", "0x0", "0x0x12", "12abc", "-5", " 5", "+5",
                            "0x100000000", "99999999999999999999", "abc"}) {
        EXPECT_FALSE(ParseWindowId(bad, &id)) << "'" << bad << "'";
    }
    EXPECT_FALSE(ParseWindowId(nullptr, &id));
}

TEST(SaverOptionsTest, WindowIdWinsThenOwnWindowThenXScreenSaverWindowThenRoot) {
    struct Case {
        std::vector<const char*> arguments;
        const char* environment;
        SaverTarget target;
        unsigned long window;
    };
    const Case cases[] = {
        {{}, nullptr, SaverTarget::OwnWindow, 0},
        {{"-window-id", "7", "-root"}, "9", SaverTarget::GivenWindow, 7},
        {{"--window-id", "0x7", "-window"}, "9", SaverTarget::GivenWindow, 7},
        {{"-window"}, "9", SaverTarget::OwnWindow, 0},
        {{"-root"}, "0x9", SaverTarget::GivenWindow, 9},
        {{}, "9", SaverTarget::GivenWindow, 9},
        {{"--root"}, nullptr, SaverTarget::RootWindow, 0},
        {{"-root"}, "", SaverTarget::RootWindow, 0},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv = {"tavik-saver"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        SaverOptions options;
        std::string error;
        const std::string label = "case " + std::to_string(&c - cases);
        ASSERT_TRUE(ParseSaverOptions(static_cast<int>(argv.size()), argv.data(), c.environment,
                                      &options, &error))
            << label << ": " << error;
        EXPECT_EQ(options.target, c.target) << label;
        EXPECT_EQ(options.windowId, c.window) << label;
    }
}

TEST(SaverOptionsTest, DelayAndFrameRateAndTheRefusals) {
    const char* good[] = {"tavik-saver", "--delay", "0", "-fps"};
    SaverOptions options;
    std::string error;
    ASSERT_TRUE(ParseSaverOptions(4, good, nullptr, &options, &error)) << error;
    EXPECT_EQ(options.delayMicroseconds, 0u);
    EXPECT_TRUE(options.showFrameRate);
    ASSERT_TRUE(ParseSaverOptions(1, good, nullptr, &options, &error));
    EXPECT_EQ(options.delayMicroseconds, 20000u) << "xscreensaver's usual default";
    EXPECT_FALSE(options.showFrameRate);

    const std::vector<std::vector<const char*>> refused = {
        {"tavik-saver", "-delay"},       {"tavik-saver", "-delay", "-1"},
        {"tavik-saver", "-delay", "2x"}, {"tavik-saver", "-delay", "60000001"},
        {"tavik-saver", "-window-id"},   {"tavik-saver", "-window-id", "none"},
        {"tavik-saver", "-bogus"},       {"tavik-saver", "fps"},
    };
    for (const auto& argv : refused) {
        error.clear();
        EXPECT_FALSE(ParseSaverOptions(static_cast<int>(argv.size()), argv.data(), nullptr,
                                       &options, &error))
            << argv.back();
        EXPECT_FALSE(error.empty() || error.find('\n') != std::string::npos) << error;
    }
    const char* nonsenseWindow[] = {"tavik-saver"};
    EXPECT_FALSE(ParseSaverOptions(1, nonsenseWindow, "root", &options, &error));
}
