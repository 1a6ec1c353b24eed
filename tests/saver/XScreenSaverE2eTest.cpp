// tavik-saver under the real xscreensaver: the daemon, run by an unprivileged user (it will
// not start hacks as root) with a home whose .xscreensaver selects tavik-saver alone, is
// told to blank; the screen must show the rings and stars, and unblanking must end the
// saver within a second with nothing in the daemon's log about a crash.
#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/saver/SceneCensus.h"

namespace {
// Copies a file and gives it the mode.
bool CopyFile(const std::string& from, const std::string& to, mode_t mode) {
    std::error_code error;
    return std::filesystem::copy_file(from, to, error) && chmod(to.c_str(), mode) == 0;
}

// Whether a process runs program (a zombie's command line is empty, so it counts as gone).
bool ProcessRuns(const std::string& program) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        std::ifstream cmdline(entry.path() / "cmdline");
        std::string argv0;
        if (std::getline(cmdline, argv0, '\0') && argv0 == program) {
            return true;
        }
    }
    return false;
}
}  // namespace

TEST(XScreenSaverE2eTest, BlanksWithTavikSaverAndEndsItOnUnblank) {
    VirtualDisplay display;
    ASSERT_TRUE(display.Start(640, 480));
    char pattern[] = "/tmp/tavik-xscreensaver-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string home = pattern;
    const std::string saver = home + "/tavik-saver";
    ASSERT_TRUE(CopyFile(TAVIK_SAVER, saver, 0755));
    ASSERT_TRUE(CopyFile(TAVIK_FONT, home + "/font.bmp", 0644));
    std::ofstream(home + "/.xscreensaver")
        << "mode: one\nselected: 0\nlock: False\n"
        << "fade: False\nunfade: False\nsplash: False\n"
        << "nice: 0\nprograms: \"Tavik\" " << saver << " -root \\n\n";
    // As root (CI), the daemon runs as nobody, who must own the home and read the copies.
    const passwd* nobody = getpwnam("nobody");
    const bool asRoot = geteuid() == 0;
    ASSERT_TRUE(!asRoot || nobody) << "no user 'nobody' to run xscreensaver as";
    ASSERT_EQ(chmod(home.c_str(), 0755), 0);
    for (const std::string& path : {home, saver, home + "/font.bmp", home + "/.xscreensaver"}) {
        ASSERT_TRUE(!asRoot || chown(path.c_str(), nobody->pw_uid, nobody->pw_gid) == 0) << path;
    }

    const pid_t daemon = fork();
    ASSERT_GE(daemon, 0);
    if (daemon == 0) {
        setenv("DISPLAY", display.Name().c_str(), 1);
        setenv("HOME", home.c_str(), 1);
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        freopen((home + "/daemon.out").c_str(), "w", stdout);
        freopen((home + "/daemon.out").c_str(), "a", stderr);
        if (asRoot && (setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 ||
                       setuid(nobody->pw_uid) != 0)) {
            _exit(126);
        }
        const std::string log = home + "/log";
        execlp("xscreensaver", "xscreensaver", "-no-splash", "-verbose", "-log", log.c_str(),
               static_cast<char*>(nullptr));
        _exit(127);
    }
    // The daemon answers once it has grabbed its windows.
    EXPECT_TRUE(WaitFor(
        [&] { return RunOnDisplay(display, "xscreensaver-command -activate", nullptr) == 0; },
        20.0))
        << "xscreensaver never answered";
    EXPECT_TRUE(WaitFor([&] { return ProcessRuns(saver); }, 20.0))
        << "xscreensaver did not start tavik-saver";

    Picture shot;
    // Software rendering compiles its shaders on the first frames: seconds on a busy machine.
    EXPECT_TRUE(WaitFor(
        [&] {
            shot = GrabWindow(display, 0);
            return ShowsRingsAndStars(shot);
        },
        60.0))
        << "no rings and stars on the blanked screen";
    // TAVIK_SAVER_SCREENSHOT=path keeps the picture (docs/screensaver.md's comes from here).
    if (const char* keep = std::getenv("TAVIK_SAVER_SCREENSHOT")) {
        shot.WritePpm(keep);
    }

    EXPECT_EQ(RunOnDisplay(display, "xscreensaver-command -deactivate", nullptr), 0);
    EXPECT_TRUE(WaitFor([&] { return !ProcessRuns(saver); }, 1.0))
        << "tavik-saver still runs a second after unblanking";
    RunOnDisplay(display, "xscreensaver-command -exit", nullptr);
    int status = 0;
    if (!WaitFor([&] { return waitpid(daemon, &status, WNOHANG) == daemon; }, 10.0)) {
        kill(daemon, SIGKILL);
        waitpid(daemon, &status, 0);
    }

    std::ifstream logFile(home + "/log");
    std::string line;
    bool launched = false;
    while (std::getline(logFile, line)) {
        launched = launched || line.find("forked \"" + saver) != std::string::npos;
        // The daemon's own helpers (xscreensaver-systemd without systemd) may complain.
        const bool aboutSaver = line.find("tavik-saver") != std::string::npos ||
                                line.find("child pid") != std::string::npos;
        for (const char* fault : {"abnormally", "unexpectedly", "stopped with"}) {
            EXPECT_TRUE(!aboutSaver || line.find(fault) == std::string::npos) << line;
        }
        EXPECT_EQ(line.find("crash"), std::string::npos) << line;
    }
    EXPECT_TRUE(launched) << "the log does not show tavik-saver launched";
    std::system(("rm -rf '" + home + "'").c_str());
}
