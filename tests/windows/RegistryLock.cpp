// For the Wine tests of Tavik.scr's settings: denies everyone writing to a key of the
// current user, or gives all access back.
//   tavik-registry-lock deny|allow KEY      (KEY under HKEY_CURRENT_USER, e.g. Software\Tavik)
// Status 0 once the key carries the new access list.
#include <windows.h>

#include <sddl.h>  // ConvertStringSecurityDescriptorToSecurityDescriptorW

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 2;
    }
    // Key-write access denied to everyone, or all access allowed to everyone.
    const wchar_t* list =
        std::wcscmp(argv[1], L"deny") == 0 ? L"D:(D;;KW;;;WD)(A;;KA;;;WD)" : L"D:(A;;KA;;;WD)";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    HKEY key = nullptr;
    const bool done =
        ConvertStringSecurityDescriptorToSecurityDescriptorW(list, SDDL_REVISION_1, &descriptor,
                                                             nullptr) &&
        RegCreateKeyExW(HKEY_CURRENT_USER, argv[2], 0, nullptr, 0, WRITE_DAC, nullptr, &key,
                        nullptr) == ERROR_SUCCESS &&
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    if (key != nullptr) {
        RegCloseKey(key);
    }
    LocalFree(descriptor);
    return done ? 0 : 1;
}
