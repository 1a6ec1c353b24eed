// Starts Xvfb with -displayfd, which makes the server pick a free display number itself and
// write it to a pipe once it is ready for clients.
#include "xvfb/VirtualDisplay.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

bool VirtualDisplay::Start(int width, int height) {
    Stop();
    int fds[2];
    if (pipe(fds) != 0) {
        return false;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string fd = std::to_string(fds[1]);
    pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid == 0) {
        // The server ends with the test process, however that ends (exit, crash, kill).
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(fds[0]);
        const int devNull = open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            dup2(devNull, STDIN_FILENO);
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        // The server must not hold the test's other descriptors open (a death test's
        // status pipe, say): its parent would wait for them to close.
        for (int other = STDERR_FILENO + 1; other < 1024; ++other) {
            if (other != fds[1]) {
                close(other);
            }
        }
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
               "-nolisten", "tcp", "-noreset", "+extension", "GLX", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd waitFor{fds[0], POLLIN, 0};
    // Xvfb writes the number followed by a newline once it accepts connections.
    while (number.empty() || number.back() != '\n') {
        if (poll(&waitFor, 1, 20000) <= 0) {
            break;
        }
        char c;
        if (read(fds[0], &c, 1) != 1) {
            break;
        }
        number.push_back(c);
    }
    close(fds[0]);
    if (number.empty() || number.back() != '\n') {
        Stop();
        return false;
    }
    number.pop_back();
    name = ":" + number;
    return true;
}

void VirtualDisplay::Stop() {
    if (pid > 0) {
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
    }
    pid = -1;
    name.clear();
}
