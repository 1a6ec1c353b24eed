// Process control, xdotool and Xlib screen grabs for the end-to-end tests.
#include "tests/support/DemoProcess.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

void SleepSeconds(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

int RunOnDisplay(const VirtualDisplay& display, const std::string& command, std::string* output) {
    const std::string full = "export DISPLAY=" + display.Name() + " LIBGL_ALWAYS_SOFTWARE=1; { " +
                             command + "; } 2>/dev/null";
    FILE* pipe = popen(full.c_str(), "r");
    if (!pipe) {
        return -1;
    }
    std::string text;
    char chunk[256];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) {
        text.append(chunk, n);
    }
    const int status = pclose(pipe);
    if (output) {
        *output = text;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string MakeWorkDir(const std::string& fontPath) {
    char pattern[] = "/tmp/tavik-e2e-XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir) {
        return "";
    }
    if (!fontPath.empty()) {
        std::ifstream in(fontPath, std::ios::binary);
        std::ofstream out(std::string(dir) + "/font.bmp", std::ios::binary);
        out << in.rdbuf();
    }
    return dir;
}

DemoProcess::DemoProcess(const VirtualDisplay& display, std::string binary, std::string workDir,
                         std::vector<std::string> arguments)
    : display(display),
      binary(std::move(binary)),
      workDir(std::move(workDir)),
      arguments(std::move(arguments)) {
    outputPath = this->workDir + "/stdout.txt";
}

DemoProcess::~DemoProcess() {
    Kill();
}

bool DemoProcess::Start(bool captureStandardError) {
    pid = fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        if (chdir(workDir.c_str()) != 0) {
            _exit(126);
        }
        const int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, STDOUT_FILENO);
        }
        const int err = captureStandardError ? open((workDir + "/stderr.txt").c_str(),
                                                    O_WRONLY | O_CREAT | O_TRUNC, 0644)
                                             : -1;
        if (err >= 0) {
            dup2(err, STDERR_FILENO);
        }
        setenv("DISPLAY", display.Name().c_str(), 1);
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        std::vector<char*> argv = {binary.data()};
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        execv(binary.c_str(), argv.data());
        _exit(127);
    }
    return true;
}

bool DemoProcess::WaitForWindow(double timeoutSeconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        std::string out;
        if (RunOnDisplay(display, "xdotool search --onlyvisible --name '^Tavik$'", &out) == 0 &&
            !out.empty()) {
            std::istringstream lines(out);
            lines >> windowId;
            // Let the first frames reach the screen.
            SleepSeconds(0.5);
            return true;
        }
        if (!Running()) {
            return false;
        }
        SleepSeconds(0.1);
    }
    return false;
}

bool DemoProcess::Key(const std::string& keyNames) {
    const std::string target = windowId.empty() ? "" : " --window " + windowId;
    return RunOnDisplay(display, "xdotool key --delay 60" + target + " " + keyNames, nullptr) == 0;
}

bool DemoProcess::Type(const std::string& text) {
    const std::string target = windowId.empty() ? "" : " --window " + windowId;
    return RunOnDisplay(display, "xdotool type --delay 60" + target + " '" + text + "'", nullptr) ==
           0;
}

Picture GrabWindow(const VirtualDisplay& display, unsigned long window) {
    Picture shot;
    Display* x = XOpenDisplay(display.Name().c_str());
    if (!x) {
        return shot;
    }
    window = window ? window : DefaultRootWindow(x);
    XWindowAttributes attributes;
    XGetWindowAttributes(x, window, &attributes);
    XImage* image =
        XGetImage(x, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image) {
        shot = Picture(attributes.width, attributes.height);
        for (int row = 0; row < shot.height; ++row) {
            for (int col = 0; col < shot.width; ++col) {
                const unsigned long p = XGetPixel(image, col, row);
                shot.At(col, row) = {static_cast<uint8_t>((p >> 16) & 0xff),
                                     static_cast<uint8_t>((p >> 8) & 0xff),
                                     static_cast<uint8_t>(p & 0xff)};
            }
        }
        XDestroyImage(image);
    }
    XCloseDisplay(x);
    return shot;
}

Picture DemoProcess::Grab() const {
    return GrabWindow(display, 0);
}

bool DemoProcess::Running() {
    if (pid <= 0) {
        return false;
    }
    int status;
    return waitpid(pid, &status, WNOHANG) == 0;
}

bool DemoProcess::WaitForExit(double timeoutSeconds, int* exitStatus, double* seconds) {
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + std::chrono::duration<double>(timeoutSeconds);
    while (pid > 0 && std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            pid = -1;
            if (exitStatus) {
                *exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (seconds) {
                *seconds =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            }
            return true;
        }
        SleepSeconds(0.02);
    }
    Kill();
    return false;
}

void DemoProcess::Signal(int signal) {
    if (pid > 0) {
        kill(pid, signal);
    }
}

void DemoProcess::Kill() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        int status;
        waitpid(pid, &status, 0);
        pid = -1;
    }
}

namespace {
std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
}  // namespace

std::string DemoProcess::StandardOutput() const {
    return ReadWhole(outputPath);
}

std::string DemoProcess::StandardError() const {
    return ReadWhole(workDir + "/stderr.txt");
}
