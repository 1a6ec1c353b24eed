// The application shell: GLUT initialisation, the one window, the callbacks and the
// one orderly way out. It knows the application only through the hooks of AppHooks.h.
#pragma once

// The program's entry after process start-up; the arguments go to GLUT.
int AppMain(int argc, char** argv);
// glutInit, then OpenMainWindow.
void CreateMainWindow(int* argc, char** argv);
// The display mode and the window of WindowSize (640 x 480 at start) titled by AppTitle,
// with an OpenGL context of its own; GLUT is initialised already.
void OpenMainWindow();
// The start-up once the window exists, as AppMain runs it: the callbacks, the clock's start,
// then AppInit, whose result it gives.
bool StartInMainWindow();
// Registers the shell's seven callbacks, in the shell's fixed order, and then the window
// status callback that stops the frames while the window cannot be seen.
void RegisterShellCallbacks();
// How an orderly end ends the process; tests and tools may replace it. Defaults to exit.
using ProcessEnd = void (*)(int status);
extern ProcessEnd endProcess;

// Every orderly end: AppShutdown, then the process end with status 0. Returns only when a
// test or tool has replaced the process end with one that returns.
void EndProgram();
// EndProgram, for the callers that must not go on: exit with status 0 should it return.
[[noreturn]] void Quit();

// The shell's callbacks. Keyboard, mouse, motion and special keys are defaults that the
// application may replace.
void OnReshape(int width, int height);
void OnDisplay();
void OnIdle();
// Stops asking for frames while the window is hidden or fully covered; resumes when it shows.
void OnWindowStatus(int state);
void OnMotion(int x, int y);
void OnMouse(int button, int state, int x, int y);
void OnKey(unsigned char key, int x, int y);
void OnSpecialKey(int key, int x, int y);

// State of the default keyboard callback's full-screen toggle.
extern int ShellFullScreen;
