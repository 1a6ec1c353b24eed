# Tavik's Windows installer, built by scripts/build-installer with makensis:
#   makensis -DSTAGING=DIR -DVERSION=X.Y.Z -DVIVERSION=X.Y.Z.0 -DOUTFILE=FILE [-DICON=FILE] tavik.nsi
# STAGING holds tavik.exe, font.bmp, Tavik.scr, README.txt and LICENSE.txt.
#
# A 64-bit installer for all users: the demo, its font and documents in Program Files\Tavik,
# a Start-menu entry that starts the demo in that folder (it reads font.bmp from its working
# directory), Tavik.scr in System32, where Windows lists screensavers (the screensaver the
# user has chosen stays chosen), and an entry in Apps and Features. The uninstaller takes all
# of it away again, with the screensaver's settings of the user who runs it and that user's
# choice of screensaver if it is Tavik; files in use go at the next restart. Both say so
# plainly when they lack administrator rights. /S installs and uninstalls silently.

Unicode true
Target amd64-unicode
RequestExecutionLevel admin
ManifestDPIAware true
SetCompressor /SOLID lzma

!ifdef STAGING & VERSION & VIVERSION & OUTFILE
!else
    !error "STAGING, VERSION, VIVERSION and OUTFILE must be defined (see scripts/build-installer)"
!endif

!define PUBLISHER "Tavik maintainers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavik"
!define SETTINGS_KEY "Software\Tavik"

Name "Tavik"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tavik"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tavik ${VERSION}"

VIProductVersion "${VIVERSION}"
VIFileVersion "${VIVERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Tavik"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Tavik ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "MIT licence; the font under DejaVu's licence"

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "MUI2.nsh"
!ifdef ICON
    !define MUI_ICON "${ICON}"
    !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING
# The licences are shown for reading; using free software asks for no agreement.
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Tavik is free software: the MIT licence, and the font under its own licence. Click Next to continue."
!insertmacro MUI_PAGE_LICENSE "${STAGING}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
# Offers to restart Windows when files in use wait for it; a stray Enter does not restart.
!define MUI_FINISHPAGE_REBOOTLATER_DEFAULT
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

# RequestExecutionLevel admin has Windows ask for elevation; where it cannot (a standard
# user with UAC turned off), the program would fail on Program Files, System32 and the
# machine's registry one step at a time. Instead it says why and ends with
# ERROR_ELEVATION_REQUIRED.
!macro RequireAdministrator doing
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        MessageBox MB_OK|MB_ICONSTOP "${doing} needs administrator rights.$\r$\n$\r$\nPlease sign in as an administrator, or right-click the program and choose $\"Run as administrator$\"." /SD IDOK
        SetErrorLevel 740
        Quit
    ${EndIf}
!macroend

Function .onInit
    !insertmacro RequireAdministrator "Installing Tavik"
FunctionEnd

Function un.onInit
    !insertmacro RequireAdministrator "Removing Tavik"
FunctionEnd

Section "Tavik" SectionTavik
    SectionIn RO
    # The Start menu and the registry of the machine, not of the user who installs.
    SetShellVarContext all

    SetOutPath "$INSTDIR"
    File "${STAGING}/tavik.exe"
    File "${STAGING}/font.bmp"
    File "${STAGING}/README.txt"
    File "${STAGING}/LICENSE.txt"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    # A 64-bit installer sees the real System32: no file system redirection.
    SetOutPath "$SYSDIR"
    File "${STAGING}/Tavik.scr"

    # The shortcut's working folder is the output path when it is made.
    SetOutPath "$INSTDIR"
    CreateShortcut "$SMPROGRAMS\Tavik.lnk" "$INSTDIR\tavik.exe" "" "$INSTDIR\tavik.exe" 0 \
        SW_SHOWNORMAL "" "Tavik, a real-time 3-D OpenGL demo"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tavik"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tavik.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SectionTavik} $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

# The user's choice of screensaver, when it names Tavik.scr in whatever folder and case
# (StrCmp, under LogicLib's ==, ignores case): the value is deleted, which is how a user who
# has never chosen a screensaver stands, and what Windows' screensaver settings leave when
# "(None)" is picked, so that Windows does not go on starting a file that is gone. Any
# other choice stays as it is.
Function un.ForgetChosenScreensaver
    ReadRegStr $0 HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
    ${GetFileName} $0 $1
    ${If} $1 == "Tavik.scr"
        DeleteRegValue HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
    ${EndIf}
FunctionEnd

Section "Uninstall"
    SetShellVarContext all
    Call un.ForgetChosenScreensaver
    # A file in use (the screensaver or the demo running now) goes at the next start of
    # Windows; NSIS then sets its reboot flag, and the finish page offers the restart.
    Delete /REBOOTOK "$SMPROGRAMS\Tavik.lnk"
    Delete /REBOOTOK "$SYSDIR\Tavik.scr"
    Delete /REBOOTOK "$INSTDIR\tavik.exe"
    Delete /REBOOTOK "$INSTDIR\font.bmp"
    Delete /REBOOTOK "$INSTDIR\README.txt"
    Delete /REBOOTOK "$INSTDIR\LICENSE.txt"
    Delete /REBOOTOK "$INSTDIR\Uninstall.exe"
    # Only when empty: whatever else the folder holds is the user's. When some of Tavik's
    # files wait for the restart, the folder is queued after them, and goes then if they
    # were all it held.
    ${If} ${RebootFlag}
        RMDir /REBOOTOK "$INSTDIR"
    ${Else}
        RMDir "$INSTDIR"
    ${EndIf}
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
SectionEnd
