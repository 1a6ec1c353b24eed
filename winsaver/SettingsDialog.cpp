// The settings dialog, laid out in Saver.rc, read from and written to the registry.
#include "winsaver/SettingsDialog.h"

#include <string>

#include "winsaver/Resources.h"
#include "winsaver/SaverSettings.h"

namespace {
void ShowSettings(HWND dialog, const SaverSettings& settings) {
    CheckDlgButton(dialog, IDC_FRAME_RATE, settings.showFrameRate ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(dialog, IDC_FRAME_DELAY, settings.frameDelayMs, FALSE);
    SendDlgItemMessageW(dialog, IDC_FRAME_DELAY, EM_SETLIMITTEXT, 4, 0);
}

// The dialog's values; false, with the pause field selected, for a pause out of range.
bool ReadSettings(HWND dialog, SaverSettings* settings) {
    BOOL number = FALSE;
    const UINT delay = GetDlgItemInt(dialog, IDC_FRAME_DELAY, &number, FALSE);
    if (!number || delay > kLongestFrameDelayMs) {
        MessageBeep(MB_ICONWARNING);
        SendDlgItemMessageW(dialog, IDC_FRAME_DELAY, EM_SETSEL, 0, -1);
        SetFocus(GetDlgItem(dialog, IDC_FRAME_DELAY));
        return false;
    }
    settings->frameDelayMs = delay;
    settings->showFrameRate = IsDlgButtonChecked(dialog, IDC_FRAME_RATE) == BST_CHECKED;
    return true;
}

// Tells the user that the settings were not saved, and why, in Windows' own words for the
// error that SaveSaverSettings left.
void ReportNotSaved(HWND dialog) {
    const DWORD error = GetLastError();
    wchar_t reason[256] = L"";
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   reason, sizeof reason / sizeof reason[0], nullptr);
    const std::wstring text =
        L"Tavik could not save its settings under HKEY_CURRENT_USER\\Software\\Tavik, so the "
        L"screensaver may not run as you set it.\n\n" +
        std::wstring(reason);
    MessageBoxW(dialog, text.c_str(), L"Tavik", MB_OK | MB_ICONERROR);
}

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            ShowSettings(dialog, LoadSaverSettings());
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                SaverSettings settings;
                if (!ReadSettings(dialog, &settings)) {
                    return TRUE;
                }
                if (SaveSaverSettings(settings)) {
                    EndDialog(dialog, IDOK);
                } else {
                    ReportNotSaved(dialog);
                    EndDialog(dialog, IDABORT);
                }
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}
}  // namespace

SettingsOutcome RunSettingsDialog(HINSTANCE instance, HWND owner) {
    switch (DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), owner, SettingsProc, 0)) {
        case IDOK:
            return SettingsOutcome::kSaved;
        case IDCANCEL:
            return SettingsOutcome::kCancelled;
        default:
            return SettingsOutcome::kNotSaved;
    }
}
