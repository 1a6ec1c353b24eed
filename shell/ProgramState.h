// The program's state as process start-up leaves it, for hosts, tools and tests that run
// the demo's start-up more than once in one process.
#pragma once

// Puts back everything of the program's own that a session can change, so that the next
// start-up runs as in a fresh process: the clock, the frame-step times and frame-rate
// counters, the settings (all zero, as static storage starts) and the demo globals beside
// them, the channel bank, the random source, the text overlay's record and window query, the
// pointer, the process end, the full-screen key's deferred window change (its queued timers
// run first and do nothing), the window size (640 x 480, as the window is created) and the
// loaded font (none). OpenGL is not touched: AppShutdown releases the objects while the
// context exists, and the state a new session starts with is a new context's, which the
// host that owns the context provides (the driver opens a new window for every session).
void RestoreProgramStartState();
