// The program's state as process start-up leaves it, for hosts, tools and tests that run
// the demo's start-up more than once in one process.
#pragma once

// Puts every global of the demo back to its program-start value: the clock, the frame-step
// times and frame-rate counters, the settings (all zero, as static storage starts) and the
// demo globals beside them, the channel bank, the random source (state 1), the text
// overlay's record, the pointer and the process end. OpenGL objects are not touched:
// AppShutdown releases them while the context exists.
void RestoreProgramStartState();
