// Tavik.scr: Tavik's three turning rings and cloud of stars as a Windows screensaver, drawn
// through WGL with the demo's own scene code.
//
//   Tavik.scr /s            full screen over every monitor, until a key, a click, a
//                           movement of the mouse or another window taking over
//   Tavik.scr /p HWND       a preview inside the given window, until that window goes
//   Tavik.scr /c[:HWND]     the settings dialog (also with no argument): the frame-rate
//                           readout, and the pause between frames (20 ms by default)
//
// Switches take either case, and "-" as well as "/". The settings live under
// HKEY_CURRENT_USER\Software\Tavik. The font travels inside the program, so a lone
// Tavik.scr works wherever it is copied; keys do nothing, so there is no status message and
// no help page. The exit status is 0 whenever the saver ends as asked (the dialog's Cancel
// included), and not 0 when the settings could not be saved.
#include <windows.h>

#include <shellapi.h>  // CommandLineToArgvW

#include <string>
#include <vector>

#include "shell/AppHooks.h"
#include "shell/SaverScene.h"
#include "shell/Shell.h"
#include "winsaver/Resources.h"
#include "winsaver/SaverSettings.h"
#include "winsaver/ScreensaverArguments.h"
#include "winsaver/SettingsDialog.h"
#include "winsaver/WglHost.h"

namespace {
// Exit statuses besides 0: the window could not be opened, or the settings not saved.
constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

std::string Utf8(const wchar_t* text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(bytes > 0 ? static_cast<size_t>(bytes) : 1u, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &result[0], bytes, nullptr, nullptr);
    result.resize(result.size() - 1);
    return result;
}

std::vector<std::string> Arguments() {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; words != nullptr && i < count; ++i) {
        arguments.push_back(Utf8(words[i]));
    }
    LocalFree(words);
    return arguments;
}

// The font carried in the program's resources, written to a file of its own in the user's
// temporary folder for the loader to read once; the file is removed by the destructor. Its
// path goes to the loader as UTF-8, as every file name inside Tavik.
class FontFile {
public:
    bool Write(HINSTANCE instance) {
        // Resource type 10 is RT_RCDATA, which windows.h spells only for the ANSI functions.
        const HRSRC resource =
            FindResourceW(instance, MAKEINTRESOURCEW(IDR_FONT), MAKEINTRESOURCEW(10));
        const HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        wchar_t folder[MAX_PATH + 1];
        const DWORD folderLength = GetTempPathW(MAX_PATH + 1, folder);
        if (bytes == nullptr || folderLength == 0 || folderLength > MAX_PATH ||
            GetTempFileNameW(folder, L"tvk", 0, path) == 0) {
            return false;
        }
        made = true;
        const HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return false;
        }
        const DWORD size = SizeofResource(instance, resource);
        DWORD written = 0;
        const bool whole = WriteFile(file, bytes, size, &written, nullptr) && written == size;
        CloseHandle(file);
        return whole;
    }
    ~FontFile() {
        if (made) {
            DeleteFileW(path);
        }
    }
    std::string Path() const { return made ? Utf8(path) : std::string(); }

private:
    wchar_t path[MAX_PATH] = {};
    bool made = false;
};

// Draws the scene in the host's window until the saver is to end, then releases the scene's
// OpenGL objects while the context is still current.
void RunScene(WglHost& host, HINSTANCE instance) {
    const SaverSettings settings = LoadSaverSettings();
    {
        FontFile font;
        // Without the font the scene still runs; its text draws as white blocks.
        font.Write(instance);
        StartSaverScene("Tavik.scr", settings.showFrameRate, font.Path().c_str());
    }
    while (host.HandleMessages(0) && StepSaverFrame(host.Width(), host.Height())) {
        host.ShowFrame();
        if (!host.HandleMessages(settings.frameDelayMs)) {
            break;
        }
    }
    AppShutdown();
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ScreensaverRequest request;
    if (!ParseScreensaverArguments(Arguments(), &request)) {
        return kBadArguments;
    }
    if (request.mode == ScreensaverMode::kSettings) {
        // Windows' own screensaver settings page calls "/c" without a handle while it is the
        // foreground window; the dialog belongs to it.
        const HWND owner =
            request.window != 0 ? reinterpret_cast<HWND>(request.window) : GetForegroundWindow();
        return RunSettingsDialog(instance, owner) == SettingsOutcome::kNotSaved ? kFailed : 0;
    }
    WglHost host;
    const bool opened = request.mode == ScreensaverMode::kFullScreen
                            ? host.OpenFullScreen(instance)
                            : host.OpenPreview(instance, reinterpret_cast<HWND>(request.window));
    if (!opened) {
        return kFailed;
    }
    RunScene(host, instance);
    host.Close();
    return 0;
}
