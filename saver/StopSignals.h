// The signals that end the screensaver: xscreensaver sends SIGTERM when the user comes back,
// a terminal sends SIGINT or SIGHUP. The handler only notes the request; the frame loop
// ends the program in order.
#pragma once

// Installs the handler for SIGTERM, SIGINT and SIGHUP. Sleeps that the signal interrupts
// return early (no SA_RESTART).
bool InstallStopSignals();
// True once one of those signals has arrived.
bool StopRequested();
