// A private Xvfb server on a free display number, started and stopped by the program that
// needs it (the tests, and the tools' --xvfb), so that nothing draws on the user's own display.
#pragma once

#include <sys/types.h>

#include <string>

class VirtualDisplay {
public:
    VirtualDisplay() = default;
    ~VirtualDisplay() { Stop(); }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // Starts Xvfb with one screen of width x height x 24 and waits until it accepts clients.
    bool Start(int width = 1024, int height = 768);
    void Stop();
    // ":N", valid after a successful Start.
    const std::string& Name() const { return name; }

private:
    pid_t pid = -1;
    std::string name;
};
