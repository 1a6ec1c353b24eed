// Process control and picture census for the screensaver's end-to-end tests.
#include "tests/saver/SaverProcess.h"

#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>

namespace {
constexpr int kBright = 40;
constexpr int kDark = 20;
constexpr int kReach = 4;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int Brightest(Rgb p) {
    return std::max({int{p.r}, int{p.g}, int{p.b}});
}
}  // namespace

SaverProcess::SaverProcess(const VirtualDisplay& display, std::vector<std::string> arguments)
    : display(display), arguments(std::move(arguments)) {
    directory = MakeWorkDir("");
}

SaverProcess::~SaverProcess() {
    int status;
    WaitForExit(0.0, &status, nullptr);
    unlink((directory + "/stdout").c_str());
    unlink((directory + "/stderr").c_str());
    rmdir(directory.c_str());
}

bool SaverProcess::Start() {
    pid = fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        const int out = open((directory + "/stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open((directory + "/stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        setenv("DISPLAY", display.Name().c_str(), 1);
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        unsetenv("XSCREENSAVER_WINDOW");
        std::vector<char*> argv = {const_cast<char*>(TAVIK_SAVER)};
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        execv(TAVIK_SAVER, argv.data());
        _exit(127);
    }
    return true;
}

void SaverProcess::Signal(int signal) {
    if (pid > 0) {
        kill(pid, signal);
    }
}

bool SaverProcess::Running() {
    int status;
    return pid > 0 && waitpid(pid, &status, WNOHANG) == 0;
}

bool SaverProcess::WaitForExit(double timeoutSeconds, int* exitStatus, double* seconds) {
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + std::chrono::duration<double>(timeoutSeconds);
    while (pid > 0) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            *exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            if (seconds) {
                *seconds =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            }
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            pid = -1;
            return false;
        }
        SleepSeconds(0.005);
    }
    return false;
}

std::string SaverProcess::StandardOutput() const {
    return ReadFile(directory + "/stdout");
}

std::string SaverProcess::StandardError() const {
    return ReadFile(directory + "/stderr");
}

Screenshot GrabWindow(Display* x, Window window) {
    Screenshot shot;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(x, window, &attributes)) {
        return shot;
    }
    XImage* image =
        XGetImage(x, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) {
        return shot;
    }
    shot.width = attributes.width;
    shot.height = attributes.height;
    for (int row = 0; row < shot.height; ++row) {
        for (int col = 0; col < shot.width; ++col) {
            const unsigned long p = XGetPixel(image, col, row);
            shot.pixels.push_back({static_cast<uint8_t>((p >> 16) & 0xff),
                                   static_cast<uint8_t>((p >> 8) & 0xff),
                                   static_cast<uint8_t>(p & 0xff)});
        }
    }
    XDestroyImage(image);
    return shot;
}

SceneCensus CountScene(const Screenshot& shot, int x, int y, int w, int h) {
    SceneCensus census;
    const auto level = [&](int col, int row) {
        if (col < 0 || row < 0 || col >= shot.width || row >= shot.height) {
            return 0;
        }
        return Brightest(shot.At(col, row));
    };
    for (int row = y; row < y + h && row < shot.height; ++row) {
        for (int col = x; col < x + w && col < shot.width; ++col) {
            if (level(col, row) <= kBright) {
                continue;
            }
            const int left = level(col - kReach, row), right = level(col + kReach, row);
            const int up = level(col, row - kReach), down = level(col, row + kReach);
            if (std::min({left, right, up, down}) > kBright) {
                ++census.ringPixels;
            } else if ((left < kDark && right < kDark) || (up < kDark && down < kDark)) {
                ++census.starPixels;
            }
        }
    }
    return census;
}

bool ShowsRingsAndStars(const Screenshot& shot) {
    const SceneCensus census = CountScene(shot, 0, 0, shot.width, shot.height);
    return census.ringPixels * 100 >= shot.width * shot.height && census.starPixels >= 20;
}
