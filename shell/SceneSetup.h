// Scene start-up and shut-down (the AppInit and AppShutdown hooks of AppHooks.h).
#pragma once

class Texture;

// The font texture that AppInit loads; null before the first AppInit.
const Texture* LoadedFont();
