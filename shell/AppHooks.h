// The hooks through which the shell drives the application. The shell calls them in a fixed
// order (see Shell.cpp); the demo supplies them in AppHooks.cpp, SceneSetup.cpp and FrameStep.cpp.
#pragma once

// First thing in AppMain, before GLUT is touched; false ends the program.
bool PreInit();
// The window title.
const char* AppTitle();
// Once, after the window, the callbacks and the clock exist; false ends the program.
bool AppInit();
// Once per frame after ElapsedMs is updated; false quits.
bool AppFrame();
// Releases the OpenGL objects of the scene, just before an orderly exit.
void AppShutdown();
