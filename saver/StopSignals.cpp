// A flag set from the signal handler and read by the frame loop.
#include "saver/StopSignals.h"

#include <signal.h>

#include <initializer_list>

namespace {
volatile sig_atomic_t stopRequested = 0;

void OnStopSignal(int) {
    stopRequested = 1;
}
}  // namespace

bool InstallStopSignals() {
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    bool installed = true;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        installed = sigaction(signal, &action, nullptr) == 0 && installed;
    }
    return installed;
}

bool StopRequested() {
    return stopRequested != 0;
}
