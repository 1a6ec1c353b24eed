// The program's state as process start-up leaves it, for hosts, tools and tests that run
// the demo's start-up more than once in one process.
#pragma once

// Puts back everything a session of the demo can change, so that the next start-up runs as
// in a fresh process: the clock, the frame-step times and frame-rate counters, the settings
// (all zero, as static storage starts) and the demo globals beside them, the channel bank,
// the random source, the text overlay's record and window query, the pointer, the process
// end, the full-screen key's deferred window change (its queued timers run first and do
// nothing) and the loaded font's handle. The window size is taken through the reshape
// callback from the real window, when there is one. OpenGL objects are not deleted:
// AppShutdown releases them while the context exists.
void RestoreProgramStartState();
