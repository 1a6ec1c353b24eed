// The demo's smallest hooks (AppHooks.h): the seed before anything runs, and the window title.
#include "scene/Random.h"
#include "shell/AppHooks.h"
#include "shell/Clock.h"

bool PreInit() {
    // No frame has run yet, so the seed is 0 on every run.
    Random::srand(ElapsedMs);
    return true;
}

const char* AppTitle() {
    return "Tavik";
}
