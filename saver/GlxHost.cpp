// Xlib and GLX set-up of the screensaver. A foreign window keeps its visual, so the context
// is made for exactly that visual; an own window gets a double-buffered RGB visual with a
// depth buffer (multisampled when the server has one), as the demo's GLUT window asks for.
#include "saver/GlxHost.h"

#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>

namespace {
constexpr unsigned int kOwnWidth = 640;
constexpr unsigned int kOwnHeight = 480;

// Set by the error handler when a request names the window after it has gone (the server
// answers BadWindow, BadDrawable or GLXBadDrawable with the window's id).
Window watchedWindow = 0;
bool watchedWindowGone = false;
// Every X error counts, so that the set-up can tell whether its requests all succeeded.
unsigned long errorCount = 0;

int OnXError(Display*, XErrorEvent* event) {
    ++errorCount;
    if (event->error_code == BadWindow || event->error_code == BadDrawable ||
        (event->resourceid == watchedWindow && event->error_code != BadMatch)) {
        watchedWindowGone = true;
    }
    // Any other error is not worth ending a screensaver for.
    return 0;
}

// Makes the context current on the window and waits for the server's answer: an X error
// (an input-only window answers BadMatch) means the window cannot be drawn in.
bool MakeCurrent(Display* display, Window window, GLXContext context) {
    const unsigned long errorsBefore = errorCount;
    const bool made = context != nullptr && glXMakeCurrent(display, window, context);
    XSync(display, False);
    return made && errorCount == errorsBefore;
}

// Xlib calls this when the connection drops and ends the process should it return; end it
// here, without the exit handlers, which would talk to the lost server.
int OnXConnectionLost(Display*) {
    static const char kMessage[] = "tavik-saver: lost the connection to the X server\n";
    const ssize_t ignored = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    (void)ignored;
    _exit(1);
}

std::string Hex(unsigned long value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", value);
    return text;
}
}  // namespace

bool GlxHost::Open(const SaverOptions& options, std::string* error) {
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnXConnectionLost);
    display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        *error = "cannot open the X display '" + std::string(XDisplayName(nullptr)) + "'";
        return false;
    }
    switch (options.target) {
        case SaverTarget::GivenWindow:
            return TakeWindow(options.windowId, error);
        case SaverTarget::RootWindow:
            return TakeWindow(DefaultRootWindow(display), error);
        case SaverTarget::OwnWindow:
            break;
    }
    return CreateOwnWindow(error);
}

bool GlxHost::TakeWindow(Window given, std::string* error) {
    watchedWindow = given;
    watchedWindowGone = false;
    // Selected before the size is read, so that no later change is missed.
    XSelectInput(display, given, StructureNotifyMask);
    XWindowAttributes attributes;
    const Status found = XGetWindowAttributes(display, given, &attributes);
    XSync(display, False);
    if (found == 0 || watchedWindowGone) {
        *error = "there is no window " + Hex(given);
        return false;
    }
    XVisualInfo wanted = {};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    wanted.screen = XScreenNumberOfScreen(attributes.screen);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count);
    int useGl = 0;
    int rgba = 0;
    int doubleBuffer = 0;
    if (visual != nullptr) {
        glXGetConfig(display, visual, GLX_USE_GL, &useGl);
        glXGetConfig(display, visual, GLX_RGBA, &rgba);
        glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffer);
    }
    if (useGl == 0 || rgba == 0) {
        if (visual != nullptr) {
            XFree(visual);
        }
        *error = "window " + Hex(given) + " has visual " + Hex(wanted.visualid) +
                 ", which has no OpenGL RGBA configuration";
        return false;
    }
    context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    window = given;
    doubleBuffered = doubleBuffer != 0;
    width = static_cast<uint32_t>(attributes.width);
    height = static_cast<uint32_t>(attributes.height);
    if (!MakeCurrent(display, window, context)) {
        *error = "cannot draw with OpenGL into window " + Hex(given);
        return false;
    }
    return true;
}

bool GlxHost::CreateOwnWindow(std::string* error) {
    const int screen = DefaultScreen(display);
    int multisampled[] = {GLX_RGBA,
                          GLX_DOUBLEBUFFER,
                          GLX_RED_SIZE,
                          1,
                          GLX_GREEN_SIZE,
                          1,
                          GLX_BLUE_SIZE,
                          1,
                          GLX_DEPTH_SIZE,
                          1,
                          GLX_SAMPLE_BUFFERS,
                          1,
                          GLX_SAMPLES,
                          4,
                          None};
    int plain[] = {GLX_RGBA,
                   GLX_DOUBLEBUFFER,
                   GLX_RED_SIZE,
                   1,
                   GLX_GREEN_SIZE,
                   1,
                   GLX_BLUE_SIZE,
                   1,
                   GLX_DEPTH_SIZE,
                   1,
                   None};
    XVisualInfo* visual = glXChooseVisual(display, screen, multisampled);
    if (visual == nullptr) {
        visual = glXChooseVisual(display, screen, plain);
    }
    if (visual == nullptr) {
        *error = "the X server offers no double-buffered OpenGL visual with a depth buffer";
        return false;
    }
    const Window root = RootWindow(display, screen);
    XSetWindowAttributes attributes = {};
    attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.border_pixel = 0;
    attributes.event_mask = StructureNotifyMask;
    window = XCreateWindow(display, root, 0, 0, kOwnWidth, kOwnHeight, 0, visual->depth,
                           InputOutput, visual->visual,
                           CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
    ownWindow = true;
    watchedWindow = window;
    watchedWindowGone = false;
    XStoreName(display, window, "Tavik");
    XClassHint classHint = {const_cast<char*>("tavik-saver"), const_cast<char*>("Tavik")};
    XSetClassHint(display, window, &classHint);
    deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XMapWindow(display, window);
    context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    width = kOwnWidth;
    height = kOwnHeight;
    if (!MakeCurrent(display, window, context)) {
        *error = "cannot create an OpenGL context for the window";
        return false;
    }
    return true;
}

bool GlxHost::HandleEvents() {
    while (!watchedWindowGone && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == DestroyNotify && event.xdestroywindow.window == window) {
            watchedWindowGone = true;
        } else if (event.type == ConfigureNotify && event.xconfigure.window == window) {
            width = static_cast<uint32_t>(event.xconfigure.width);
            height = static_cast<uint32_t>(event.xconfigure.height);
        } else if (event.type == ClientMessage && ownWindow &&
                   static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) {
            return false;
        }
    }
    return !watchedWindowGone;
}

void GlxHost::ShowFrame() {
    if (doubleBuffered) {
        glXSwapBuffers(display, window);
    } else {
        glFlush();
    }
}

void GlxHost::Close() {
    if (display == nullptr) {
        return;
    }
    if (context != nullptr) {
        glXMakeCurrent(display, None, nullptr);
        glXDestroyContext(display, context);
        context = nullptr;
    }
    if (ownWindow && !watchedWindowGone) {
        XDestroyWindow(display, window);
    }
    XCloseDisplay(display);
    display = nullptr;
    window = 0;
    watchedWindow = 0;
}
