// The settings dialog, laid out in Tavik.rc, read from and written to the registry.
#include "winsaver/SettingsDialog.h"

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

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            ShowSettings(dialog, LoadSaverSettings());
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                SaverSettings settings;
                if (ReadSettings(dialog, &settings)) {
                    EndDialog(dialog, SaveSaverSettings(settings) ? IDOK : IDABORT);
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

bool RunSettingsDialog(HINSTANCE instance, HWND owner) {
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), owner, SettingsProc, 0) ==
           IDOK;
}
