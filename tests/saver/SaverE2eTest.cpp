// The built tavik-saver on a private Xvfb: into a window the test owns while the window
// is resized, on the root window, and the ways it ends: a signal, its window destroyed,
// the X server gone, and the refusals of its command line.
// gtest before Xlib, whose macros (None, Bool) would break gtest's templates.
#include <gtest/gtest.h>

#include <signal.h>

#include <memory>
#include <sstream>

#include "tests/saver/SceneCensus.h"

#include <X11/Xlib.h>

namespace {
// Software rendering compiles its shaders on the first frames, which takes seconds on a
// busy machine.
constexpr double kFirstPictureSeconds = 60.0;

std::string Hex(Window window) {
    std::ostringstream text;
    text << "0x" << std::hex << window;
    return text.str();
}

class SaverE2eTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.Start(640, 480));
        x = XOpenDisplay(display.Name().c_str());
        ASSERT_NE(x, nullptr);
    }
    void TearDown() override {
        if (x) {
            XCloseDisplay(x);
        }
    }
    // A black window at the top left; windowClass InputOnly makes one nothing can draw in.
    Window MakeWindow(int width, int height, int windowClass = InputOutput) {
        XSetWindowAttributes black = {};
        const Window window = XCreateWindow(x, DefaultRootWindow(x), 0, 0, width, height, 0,
                                            CopyFromParent, windowClass, CopyFromParent,
                                            windowClass == InputOutput ? CWBackPixel : 0, &black);
        XMapWindow(x, window);
        XSync(x, False);
        return window;
    }

    // The saver with the arguments, its standard error caught.
    std::unique_ptr<DemoProcess> StartSaver(std::vector<std::string> arguments) {
        auto saver = std::make_unique<DemoProcess>(display, TAVIK_SAVER, MakeWorkDir(""),
                                                   std::move(arguments));
        EXPECT_TRUE(saver->Start(true));
        return saver;
    }

    VirtualDisplay display;
    Display* x = nullptr;
};
}  // namespace

TEST_F(SaverE2eTest, GivenWindowIsFollowedDownTo1x1AndBackAndSigtermEndsItQuietly) {
    const Window window = MakeWindow(160, 120);
    const auto saver = StartSaver({"-window-id", std::to_string(window)});
    ASSERT_TRUE(WaitFor([&] { return ShowsRingsAndStars(GrabWindow(display, window)); },
                        kFirstPictureSeconds))
        << "no rings and stars in the 160x120 window; stderr: " << saver->StandardError();

    XResizeWindow(x, window, 1, 1);
    XSync(x, False);
    SleepSeconds(0.5);
    ASSERT_TRUE(saver->Running()) << "a 1x1 window ended the saver";
    // A saver stuck at 160x120 draws into the lower left corner only (OpenGL's viewport
    // counts from the bottom); the new right edge and the top stay black.
    XResizeWindow(x, window, 400, 300);
    XSync(x, False);
    EXPECT_TRUE(WaitFor(
        [&] {
            const Picture shot = GrabWindow(display, window);
            return shot.CountBrighter(320, 0, 80, 300, 40) > 10 &&
                   shot.CountBrighter(0, 0, 400, 100, 40) > 10;
        },
        20.0))
        << "the picture did not grow with the window";

    saver->Signal(SIGTERM);
    int status = -1;
    double seconds = 0.0;
    ASSERT_TRUE(saver->WaitForExit(5.0, &status, &seconds));
    EXPECT_EQ(status, 0);
    // It must end within 200 ms; the margin is for a loaded machine.
    EXPECT_LT(seconds, 1.0);
    EXPECT_EQ(saver->StandardOutput(), "");
    EXPECT_EQ(saver->StandardError(), "");
}

TEST_F(SaverE2eTest, RootWindowAndTheEndsThatAreNotASignal) {
    const auto onRoot = StartSaver({"-root", "-delay", "0"});
    ASSERT_TRUE(
        WaitFor([&] { return ShowsRingsAndStars(GrabWindow(display, 0)); }, kFirstPictureSeconds))
        << onRoot->StandardError();

    // A window that goes away ends the saver in it, with status 0.
    const Window doomed = MakeWindow(200, 150);
    const auto inDoomed = StartSaver({"-window-id", Hex(doomed)});
    ASSERT_TRUE(
        WaitFor([&] { return GrabWindow(display, doomed).CountBrighter(0, 0, 200, 150, 40) > 0; },
                kFirstPictureSeconds));
    XDestroyWindow(x, doomed);
    XSync(x, False);
    int status = -1;
    double seconds = 0.0;
    ASSERT_TRUE(inDoomed->WaitForExit(5.0, &status, &seconds));
    EXPECT_EQ(status, 0) << inDoomed->StandardError();

    // The X server going away ends the root saver without a crash or a core dump.
    XCloseDisplay(x);
    x = nullptr;
    display.Stop();
    ASSERT_TRUE(onRoot->WaitForExit(5.0, &status, &seconds));
    EXPECT_LT(status, 128) << "ended by signal " << status - 128;
    EXPECT_EQ(onRoot->StandardOutput(), "");
}

TEST_F(SaverE2eTest, WithNoWindowGivenItOpensA640x480WindowTitledTavikAndSighupEndsIt) {
    const auto saver = StartSaver({"-fps"});
    ASSERT_TRUE(saver->WaitForWindow(kFirstPictureSeconds));
    const unsigned long window = std::stoul(saver->WindowId());
    EXPECT_TRUE(WaitFor([&] { return ShowsRingsAndStars(GrabWindow(display, window)); },
                        kFirstPictureSeconds));
    const Picture shot = GrabWindow(display, window);
    EXPECT_EQ(shot.width, 640);
    EXPECT_EQ(shot.height, 480);
    // The readout "NN Frame/Sec" in white at x 520 of the top 20 rows.
    EXPECT_GT(shot.CountWhite(520, 0, 120, 20, 200), 50) << "no frame-rate readout";
    saver->Signal(SIGHUP);
    int status = -1;
    ASSERT_TRUE(saver->WaitForExit(5.0, &status));
    EXPECT_EQ(status, 0);
}

TEST_F(SaverE2eTest, RefusalsAreOneLineOnStandardErrorWithStatusOne) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* firstLine;  // of standard error, or of standard output for --help
    };
    const Window inputOnly = MakeWindow(50, 50, InputOnly);
    const Case cases[] = {
        {{"--help"}, 0, "usage: tavik-saver"},
        {{"-bogus"}, 1, "tavik-saver: unknown option '-bogus'"},
        {{"-window-id", "0x7fffffff"}, 1, "tavik-saver: there is no window 0x7fffffff"},
        {{"-window-id", Hex(inputOnly)}, 1, "tavik-saver: "},
    };
    for (const Case& c : cases) {
        const auto saver = StartSaver(c.arguments);
        int status = -1;
        double seconds = 0.0;
        ASSERT_TRUE(saver->WaitForExit(20.0, &status, &seconds)) << c.arguments[0];
        EXPECT_EQ(status, c.status) << c.arguments[0];
        const std::string shown = c.status == 0 ? saver->StandardOutput() : saver->StandardError();
        EXPECT_EQ(shown.rfind(c.firstLine, 0), 0u) << shown;
        if (c.status != 0) {
            EXPECT_EQ(saver->StandardOutput(), "") << c.arguments[0];
            // One line of reason; only the unknown option and bad values add the usage.
            const bool withUsage = shown.find("\nusage: ") != std::string::npos;
            EXPECT_EQ(withUsage, c.arguments[0][1] != 'w') << shown;
        }
    }
}
