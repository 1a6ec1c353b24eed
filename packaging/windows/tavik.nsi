# Tavik's Windows installer, built by scripts/build-installer with makensis:
#   makensis -DSTAGING=DIR -DVERSION=X.Y.Z -DVIVERSION=X.Y.Z.0 -DOUTFILE=FILE [-DICON=FILE] tavik.nsi
# STAGING holds tavik.exe, font.bmp, Tavik.scr, README.txt and LICENSE.txt.
#
# A 64-bit installer for all users: the demo, its font and documents in Program Files\Tavik,
# a Start-menu entry that starts the demo in that folder (it reads font.bmp from its working
# directory), Tavik.scr in System32, where Windows lists screensavers (the screensaver the
# user has chosen stays chosen), and an entry in Apps and Features. The uninstaller takes all
# of it away again, with the screensaver's settings of the user who runs it. /S installs and
# uninstalls silently.

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
!insertmacro MUI_LANGUAGE "English"

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

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\Tavik.lnk"
    # A screensaver running now goes at the next start of Windows.
    Delete /REBOOTOK "$SYSDIR\Tavik.scr"
    Delete "$INSTDIR\tavik.exe"
    Delete "$INSTDIR\font.bmp"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\Uninstall.exe"
    # Only when empty: whatever else the folder holds is the user's.
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
SectionEnd
