// Scene start-up and shut-down: the AppInit and AppShutdown hooks.
#include "shell/AppHooks.h"
#include "shell/Settings.h"

bool AppInit() {
    ResetSettings();
    return true;
}

void AppShutdown() {}
