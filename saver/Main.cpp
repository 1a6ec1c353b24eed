// tavik-saver: Tavik's three turning rings and cloud of stars as a screensaver hack, drawn
// through GLX into the window it is given, with the demo's own scene code.
//
//   tavik-saver [-root | -window | -window-id ID] [-delay MICROSECONDS] [-fps]
//
// It draws into the window named by XSCREENSAVER_WINDOW (xscreensaver sets it), the window
// given by -window-id (a settings dialog's preview pane, say), the root window (-root), or a
// 640 x 480 window of its own (-window, or nothing given). It follows that window's size.
// Keys do nothing; -fps shows the frame-rate readout. -delay pauses between frames
// (default 20000 microseconds); the animation runs on the clock, not on the frame count.
// SIGTERM, SIGINT or SIGHUP end it with status 0; so does the window going away.
// The font is font.bmp beside the executable or in <prefix>/share/tavik.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "saver/GlxHost.h"
#include "saver/SaverOptions.h"
#include "saver/StopSignals.h"
#include "shell/AppHooks.h"
#include "shell/FontLocation.h"
#include "shell/SaverScene.h"
#include "shell/Shell.h"

namespace {
// The longest single sleep, so that a stop signal that lands between the check and the
// sleep still ends the program within this time.
constexpr std::chrono::microseconds kLongestSleep(20000);

// True while no stop signal has come and the window is still there.
bool KeepRunning(GlxHost& host) {
    return !StopRequested() && host.HandleEvents();
}

// One frame of the scene in the host's window, then the buffer swap.
bool DrawFrame(GlxHost& host) {
    if (!StepSaverFrame(host.Width(), host.Height())) {
        return false;
    }
    host.ShowFrame();
    return true;
}

// Sleeps the delay in short pieces, watching for a stop signal and the window's end.
void PauseBetweenFrames(GlxHost& host, uint32_t delayMicroseconds) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::microseconds(delayMicroseconds);
    for (Clock::time_point now = Clock::now(); now < end && KeepRunning(host); now = Clock::now()) {
        const auto piece = std::min(std::chrono::duration_cast<std::chrono::nanoseconds>(end - now),
                                    std::chrono::nanoseconds(kLongestSleep));
        const timespec pause = {0, static_cast<long>(piece.count())};
        nanosleep(&pause, nullptr);
    }
}
}  // namespace

int main(int argc, char** argv) {
    SaverOptions options;
    std::string error;
    if (!ParseSaverOptions(argc, argv, std::getenv("XSCREENSAVER_WINDOW"), &options, &error)) {
        std::fprintf(stderr, "tavik-saver: %s\n%s", error.c_str(), SaverUsage());
        return 1;
    }
    if (options.help) {
        std::fputs(SaverUsage(), stdout);
        return 0;
    }
    InstallStopSignals();
    GlxHost host;
    if (!host.Open(options, &error)) {
        std::fprintf(stderr, "tavik-saver: %s\n", error.c_str());
        return 1;
    }
    OnReshape(static_cast<int>(host.Width()), static_cast<int>(host.Height()));
    // Without the font the scene still runs; its text draws as white blocks. The font lies
    // beside the executable (as in the build directory), two levels up for the installed
    // <prefix>/libexec/xscreensaver/tavik-saver, or one level up for <prefix>/bin.
    const std::string beside = ExecutableDirectory();
    const std::string font = FindFont({beside + "/font.bmp", beside + "/../../share/tavik/font.bmp",
                                       beside + "/../share/tavik/font.bmp"});
    StartSaverScene(argv[0], options.showFrameRate, font.c_str());

    while (KeepRunning(host) && DrawFrame(host)) {
        PauseBetweenFrames(host, options.delayMicroseconds);
    }

    AppShutdown();
    host.Close();
    return 0;
}
