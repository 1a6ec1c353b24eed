// The screensaver's settings in the registry: two DWORD values under the user's own key.
#include "winsaver/SaverSettings.h"

#include <windows.h>

namespace {
const wchar_t kKey[] = L"Software\\Tavik";
const wchar_t kFrameRateValue[] = L"ShowFrameRate";
const wchar_t kDelayValue[] = L"FrameDelayMs";

bool ReadDword(HKEY key, const wchar_t* name, DWORD* value) {
    DWORD type = 0;
    DWORD size = sizeof *value;
    return RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
               ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof *value;
}

// The registry's functions return their error rather than leave it for GetLastError.
bool Succeeded(LONG status) {
    SetLastError(static_cast<DWORD>(status));
    return status == ERROR_SUCCESS;
}

bool WriteDword(HKEY key, const wchar_t* name, DWORD value) {
    return Succeeded(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                    sizeof value));
}
}  // namespace

SaverSettings LoadSaverSettings() {
    SaverSettings settings;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return settings;
    }
    DWORD value = 0;
    if (ReadDword(key, kFrameRateValue, &value)) {
        settings.showFrameRate = value != 0;
    }
    if (ReadDword(key, kDelayValue, &value)) {
        settings.frameDelayMs = value < kLongestFrameDelayMs ? value : kLongestFrameDelayMs;
    }
    RegCloseKey(key);
    return settings;
}

bool SaveSaverSettings(const SaverSettings& settings) {
    HKEY key = nullptr;
    if (!Succeeded(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                   nullptr))) {
        return false;
    }
    const bool written = WriteDword(key, kFrameRateValue, settings.showFrameRate ? 1 : 0) &&
                         WriteDword(key, kDelayValue, settings.frameDelayMs);
    const DWORD error = GetLastError();
    RegCloseKey(key);
    SetLastError(error);
    return written;
}
