// The demo's keyboard controls. Deciding what a key does (which setting changes and which
// message confirms it) is kept apart from carrying it out (drawing the message, clearing,
// resizing the window, rebuilding the scene), so the decisions can be tested on their own.
#pragma once

#include <cstdint>

// What a key asks for beyond the setting it has already changed.
struct KeyResponse {
    enum class Message { kNone, kText, kNumber, kInteger };
    enum class WindowChange { kNone, kWindowed, kFullScreen };

    Message message = Message::kNone;
    const char* text = nullptr;  // plain text, or the format for a number or an integer
    double number = 0.0;
    int32_t integer = 0;
    bool clearBuffers = false;  // one clear of colour and depth, at once
    WindowChange window = WindowChange::kNone;
    bool reset = false;  // rebuild the scene as at start-up
};

// Changes the setting or demo global that key controls and says what else is to be done.
KeyResponse DecideDemoKey(unsigned char key);
KeyResponse DecideDemoSpecialKey(int key);
// Shows the message, clears, resizes the window or resets the scene as asked.
void CarryOutKeyResponse(const KeyResponse& response);
// Puts the full-screen key's deferred window change back to its program-start state: the
// timers already queued run first (doing nothing), then the request count goes back to 0.
// For hosts that start the demo again in the same process.
void ForgetWindowRequests();
// The reset key's scene rebuild: reseed, defaults, channels, lights (specular 0.9), stars.
void ResetScene();

// GLUT keyboard and special-key callbacks installed by AppInit.
void OnDemoKey(unsigned char key, int x, int y);
void OnDemoSpecialKey(int key, int x, int y);

// Pointer handlers with the shapes of GLUT's mouse and motion callbacks. AppInit does not
// register them; they keep the pointer's offset from the window centre.
void OnPointerButton(int button, int state, int x, int y);
void OnPointerMove(int x, int y);
extern int32_t pointerX;
extern int32_t pointerY;
