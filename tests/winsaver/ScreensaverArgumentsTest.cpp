// Windows' screensaver switches as Tavik.scr reads them, checked where they are decided,
// without Windows.
#include <gtest/gtest.h>

#include "winsaver/ScreensaverArguments.h"

namespace {
struct Case {
    std::vector<std::string> arguments;
    bool accepted;
    ScreensaverMode mode;
    uintptr_t window;
};
}  // namespace

TEST(ScreensaverArgumentsTest, WindowsSwitchesInEitherCaseWithSlashOrDash) {
    using M = ScreensaverMode;
    const Case cases[] = {
        {{}, true, M::kSettings, 0},
        {{"/s"}, true, M::kFullScreen, 0},
        {{"-S"}, true, M::kFullScreen, 0},
        {{"/p", "1234"}, true, M::kPreview, 1234},
        {{"/P:65538"}, true, M::kPreview, 65538},
        {{"/c"}, true, M::kSettings, 0},
        {{"-c:4660"}, true, M::kSettings, 4660},
        {{"/c:"}, true, M::kSettings, 0},
        {{"/p"}, false, M::kPreview, 0},
        {{"/p", "0"}, false, M::kPreview, 0},
        {{"/p", "12ab"}, false, M::kPreview, 0},
        {{"/p", "99999999999999999999999"}, false, M::kPreview, 0},
        {{"/s", "1"}, false, M::kFullScreen, 0},
        {{"/s:1"}, false, M::kFullScreen, 0},
        {{"/a"}, false, M::kSettings, 0},
        {{"s"}, false, M::kSettings, 0},
        {{"/pp"}, false, M::kSettings, 0},
        {{"/c", "1", "2"}, false, M::kSettings, 0},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& word : c.arguments) {
            line += " " + word;
        }
        ScreensaverRequest request;
        ASSERT_EQ(ParseScreensaverArguments(c.arguments, &request), c.accepted) << line;
        if (c.accepted) {
            EXPECT_EQ(request.mode, c.mode) << line;
            EXPECT_EQ(request.window, c.window) << line;
        }
    }
}
