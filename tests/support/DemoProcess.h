// End-to-end support: runs the built tavik binary on a private Xvfb server, types keys
// into it with xdotool, grabs the screen through Xlib and collects its exit status and
// standard output.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "driver/Picture.h"
#include "xvfb/VirtualDisplay.h"

class DemoProcess {
public:
    // Starts binary with the arguments in workDir on display; stdout goes to a file read by
    // StandardOutput, stderr to the test's own unless captured for StandardError.
    DemoProcess(const VirtualDisplay& display, std::string binary, std::string workDir,
                std::vector<std::string> arguments = {});
    ~DemoProcess();
    DemoProcess(const DemoProcess&) = delete;
    DemoProcess& operator=(const DemoProcess&) = delete;

    bool Start(bool captureStandardError = false);
    // Waits until a window titled "Tavik" is mapped and has drawn at least one frame.
    bool WaitForWindow(double timeoutSeconds = 20.0);
    // xdotool key --window <id> with the given key names ("question", "Escape", "l").
    bool Key(const std::string& keyNames);
    // xdotool type for plain characters.
    bool Type(const std::string& text);
    Picture Grab() const;
    // Waits for the process to end; returns false on timeout (the process is then killed).
    bool WaitForExit(double timeoutSeconds, int* exitStatus, double* seconds = nullptr);
    bool Running();
    // Sends the process a signal (SIGTERM, say).
    void Signal(int signal);
    void Kill();
    std::string StandardOutput() const;
    std::string StandardError() const;
    const std::string& WindowId() const { return windowId; }

private:
    const VirtualDisplay& display;
    std::string binary;
    std::string workDir;
    std::vector<std::string> arguments;
    std::string outputPath;
    std::string windowId;
    pid_t pid = -1;
};

// The contents of a mapped window on the display (0: the root window), through a connection
// of its own.
Picture GrabWindow(const VirtualDisplay& display, unsigned long window);
// Runs a shell command with DISPLAY set to display; returns its exit status and output.
int RunOnDisplay(const VirtualDisplay& display, const std::string& command, std::string* output);
// A fresh temporary directory, optionally holding a copy of the given font file.
std::string MakeWorkDir(const std::string& fontPath);
// Sleeps for the given number of seconds.
void SleepSeconds(double seconds);
