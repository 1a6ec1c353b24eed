// The demo driven frame by frame: the shell's window and the library's hooks, with the
// clock, the keys and the end of the program in the tool's hands.
#include "tools/DemoRunner.h"

#include <algorithm>

#include <GL/freeglut.h>
#include <X11/Xlib.h>  // only to say clearly when the display cannot be opened
#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "scene/ChannelBank.h"
#include "scene/Random.h"
#include "shell/AppHooks.h"
#include "shell/Clock.h"
#include "shell/FrameStep.h"
#include "shell/Keyboard.h"
#include "shell/SceneGlobals.h"
#include "shell/Settings.h"
#include "shell/Shell.h"
#include "xvfb/VirtualDisplay.h"

namespace {
constexpr int kLargestSide = 16384;
constexpr unsigned char kEscapeKey = 27;

// Set by the fade-out instead of ending the process.
bool endRequested = false;

void RecordEnd(int) {
    endRequested = true;
}

// The tool draws only when it says so.
void DrawNothing() {}

struct NamedKey {
    const char* name;
    KeyStroke key;
};

const NamedKey kNamedKeys[] = {
    {"space", {false, ' '}},     {"escape", {false, kEscapeKey}}, {"esc", {false, kEscapeKey}},
    {"comma", {false, ','}},     {"left", {true, GLUT_KEY_LEFT}}, {"right", {true, GLUT_KEY_RIGHT}},
    {"up", {true, GLUT_KEY_UP}}, {"down", {true, GLUT_KEY_DOWN}},
};

bool ParseKeyName(const std::string& name, KeyStroke* key) {
    if (name.size() == 1 && name[0] > ' ' && name[0] < 127) {
        *key = KeyStroke{false, static_cast<unsigned char>(name[0])};
        return true;
    }
    for (const NamedKey& named : kNamedKeys) {
        if (name == named.name) {
            *key = named.key;
            return true;
        }
    }
    return false;
}

bool Readable(const std::string& path) {
    return access(path.c_str(), R_OK) == 0;
}

std::string ExecutableDirectory() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) {
        return std::string();
    }
    buffer[length] = '\0';
    const char* slash = std::strrchr(buffer, '/');
    return slash == nullptr ? std::string()
                            : std::string(buffer, static_cast<size_t>(slash - buffer));
}

// A temporary directory in which the demo finds fontPath under the name font.bmp (or finds
// no font at all), removed again by the destructor.
class FontDirectory {
public:
    bool Make(const std::string& fontPath, std::string* error) {
        char pattern[] = "/tmp/tavik-font-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            *error = "cannot make a temporary directory for the font";
            return false;
        }
        directory = pattern;
        if (fontPath.empty()) {
            return true;
        }
        char absolute[PATH_MAX];
        if (realpath(fontPath.c_str(), absolute) == nullptr) {
            *error = fontPath + ": cannot resolve the font's path";
            return false;
        }
        link = directory + "/font.bmp";
        if (symlink(absolute, link.c_str()) != 0) {
            link.clear();
            *error = "cannot link the font into " + directory;
            return false;
        }
        return true;
    }
    ~FontDirectory() {
        if (!link.empty()) {
            unlink(link.c_str());
        }
        if (!directory.empty()) {
            rmdir(directory.c_str());
        }
    }
    const std::string& Path() const { return directory; }

private:
    std::string directory;
    std::string link;
};
}  // namespace

bool WalkOptions(int argc, char** argv, const std::vector<std::string>& valued, bool* help,
                 bool* xvfb,
                 const std::function<bool(const std::string& option, const std::string& value,
                                          std::string* error)>& apply,
                 std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            *help = true;
            return true;
        }
        if (option == "--xvfb") {
            *xvfb = true;
            continue;
        }
        if (std::find(valued.begin(), valued.end(), option) == valued.end()) {
            *error = "unknown option \"" + option + "\" (see --help)";
            return false;
        }
        if (i + 1 >= argc) {
            *error = option + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        error->clear();
        if (!apply(option, value, error)) {
            if (error->empty()) {
                *error = "bad value \"" + value + "\" for " + option + " (see --help)";
            }
            return false;
        }
    }
    return true;
}

bool ParseCount(const std::string& text, int* value) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    *value = std::atoi(text.c_str());
    return true;
}

bool ParseSize(const std::string& text, int* width, int* height) {
    const size_t x = text.find('x');
    if (x == std::string::npos) {
        return false;
    }
    int w = 0;
    int h = 0;
    if (!ParseCount(text.substr(0, x), &w) || !ParseCount(text.substr(x + 1), &h) || w < 1 ||
        h < 1 || w > kLargestSide || h > kLargestSide) {
        return false;
    }
    *width = w;
    *height = h;
    return true;
}

bool ParseKeys(const std::string& text, std::vector<KeyStroke>* keys, std::string* error) {
    std::vector<KeyStroke> parsed;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string item = text.substr(start, end - start);
        int count = 1;
        const size_t star = item.find('*', 1);  // "*" alone is the key itself
        if (star != std::string::npos) {
            if (!ParseCount(item.substr(star + 1), &count) || count < 1 || count > 1000) {
                *error = "bad repeat count in key \"" + item + "\"";
                return false;
            }
            item.resize(star);
        }
        KeyStroke key;
        if (!ParseKeyName(item, &key)) {
            *error = "unknown key \"" + item + "\"";
            return false;
        }
        parsed.insert(parsed.end(), static_cast<size_t>(count), key);
        start = end + 1;
    }
    *keys = std::move(parsed);
    return true;
}

bool FindFont(const std::string& requested, std::string* path, std::string* error) {
    if (!requested.empty()) {
        if (!Readable(requested)) {
            *error = requested + ": cannot read the font";
            return false;
        }
        *path = requested;
        return true;
    }
    if (Readable("font.bmp")) {
        *path = "font.bmp";
        return true;
    }
    const std::string beside = ExecutableDirectory() + "/font.bmp";
    *path = Readable(beside) ? beside : std::string();
    return true;
}

DemoRunner::DemoRunner() = default;

DemoRunner::~DemoRunner() {
    if (open && sessionRunning && !endRequested) {
        AppShutdown();
    }
    endProcess = std::exit;
    // Closes the window and the X connection while the display, if it is ours, still runs.
    if (open) {
        glutExit();
    }
}

bool DemoRunner::UseVirtualDisplay(int width, int height, std::string* error) {
    display = std::make_unique<VirtualDisplay>();
    if (!display->Start(width, height)) {
        *error = "cannot start Xvfb (is the xvfb package installed?)";
        return false;
    }
    setenv("DISPLAY", display->Name().c_str(), 1);
    return true;
}

bool DemoRunner::Open(const char* programName, const std::string& font, std::string* error) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || name[0] == '\0') {
        *error = "DISPLAY is not set: run on an X server, under xvfb-run, or with --xvfb";
        return false;
    }
    Display* probe = XOpenDisplay(nullptr);
    if (probe == nullptr) {
        *error = std::string("cannot open the X display ") + name;
        return false;
    }
    XCloseDisplay(probe);

    fontPath = font;
    ElapsedMs = 0;
    PreInit();  // seeds the random source with the clock, 0, as the shell does
    int argc = 1;
    char* argv[] = {const_cast<char*>(programName), nullptr};
    CreateMainWindow(&argc, argv);
    glutReshapeFunc(OnReshape);
    glutDisplayFunc(DrawNothing);
    PerfFrequency = QueryPerfFrequency();
    PerfStart = QueryPerfCounter();
    endProcess = RecordEnd;
    endRequested = false;
    open = true;
    return InitInFontDirectory(error);
}

bool DemoRunner::InitInFontDirectory(std::string* error) {
    FontDirectory directory;
    if (!directory.Make(fontPath, error)) {
        return false;
    }
    const int previous = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (previous < 0 || chdir(directory.Path().c_str()) != 0) {
        if (previous >= 0) {
            close(previous);
        }
        *error = "cannot enter " + directory.Path();
        return false;
    }
    const bool initialised = AppInit();
    const bool returned = fchdir(previous) == 0;
    close(previous);
    if (!returned) {
        *error = "cannot return to the working directory";
        return false;
    }
    if (!initialised) {
        *error = "AppInit failed";
        return false;
    }
    sessionRunning = true;
    return true;
}

bool DemoRunner::Restart(std::string* error) {
    const int width = Width();
    const int height = Height();
    if (sessionRunning && !endRequested) {
        AppShutdown();
    }
    sessionRunning = false;
    endRequested = false;
    // Program-start values of everything a session changes.
    ElapsedMs = 0;
    ResetFrameStepState();
    helpVisible = 0;
    fullScreen = 1;
    settings.letterbox = 0;
    std::memset(&channelBank, 0, sizeof channelBank);
    PreInit();
    return InitInFontDirectory(error) && Resize(width, height, error);
}

void DemoRunner::PumpEvents() {
    for (int i = 0; i < 4; ++i) {
        glutMainLoopEvent();
    }
}

bool DemoRunner::Resize(int width, int height, std::string* error) {
    if (width > ScreenWidth() || height > ScreenHeight()) {
        *error = "a " + std::to_string(width) + "x" + std::to_string(height) +
                 " window does not fit on the " + std::to_string(ScreenWidth()) + "x" +
                 std::to_string(ScreenHeight()) + " screen";
        return false;
    }
    // Pending window work (AppInit's full-screen request) is settled first: freeglut would
    // otherwise apply it after the reshape and undo it.
    PumpEvents();
    for (int attempt = 0; attempt < 400; ++attempt) {
        const bool glutAgrees =
            glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height;
        if (glutAgrees && Width() == width && Height() == height) {
            return true;
        }
        if (!glutAgrees && attempt % 50 == 0) {
            glutReshapeWindow(width, height);
        }
        glutMainLoopEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    *error = "the window did not take " + std::to_string(width) + "x" + std::to_string(height);
    return false;
}

void DemoRunner::SetClock(uint32_t elapsedMs) {
    ElapsedMs = elapsedMs;
}

void DemoRunner::Type(const KeyStroke& key) {
    if (key.special) {
        OnDemoSpecialKey(key.code, 0, 0);
    } else {
        OnDemoKey(static_cast<unsigned char>(key.code), 0, 0);
    }
    PumpEvents();
}

bool DemoRunner::Frame() {
    if (endRequested) {
        return false;
    }
    AppFrame();
    return !endRequested;
}

void DemoRunner::Swap() {
    glutSwapBuffers();
}

void DemoRunner::ReadFrame(RgbPicture* picture) const {
    const int width = Width();
    const int height = Height();
    std::vector<uint8_t> rows(static_cast<size_t>(width) * static_cast<size_t>(height) * 3u);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    // OpenGL's rows run from the bottom up; a picture's from the top down.
    picture->Resize(width, height);
    const size_t stride = static_cast<size_t>(width) * 3u;
    for (int y = 0; y < height; ++y) {
        std::memcpy(picture->At(0, y), &rows[static_cast<size_t>(height - 1 - y) * stride], stride);
    }
}

bool DemoRunner::Ended() const {
    return endRequested;
}

int DemoRunner::Width() const {
    return static_cast<int>(WindowSize.width);
}

int DemoRunner::Height() const {
    return static_cast<int>(WindowSize.height);
}

int DemoRunner::ScreenWidth() const {
    return glutGet(GLUT_SCREEN_WIDTH);
}

int DemoRunner::ScreenHeight() const {
    return glutGet(GLUT_SCREEN_HEIGHT);
}
