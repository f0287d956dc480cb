; The Windows installer: the two programs with the Qt and MinGW libraries
; and plugins they load, the manual, a Start menu entry and an uninstaller.
; Made by scripts/package-windows.sh, which passes
;   VERSION    the program's version
;   STAGE      the folder holding the files to install, as installed
;   FILES      a list of File lines for them, INSTALLED one of Delete lines
;   ICON       the application icon (.ico)
;   OUTFILE    the setup program to write
; "setup.exe /S" installs silently ("/D=folder", last, another folder);
; "uninstall.exe /S" removes it all silently.
; A 64-bit installer for the 64-bit programs: it installs into the 64-bit
; Program Files and registry view, and runs where no 32-bit layer is (Wine
; without its 32-bit part).
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"

!define PRODUCT "VKR Frequency Tool"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\VKRFrequencyTool.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Install"
    SetRegView 64
    SetShellVarContext all
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\VKRFrequencyTool.exe" "" "$INSTDIR\VKRFrequencyTool.exe" 0
    CreateShortcut "$SMPROGRAMS\${PRODUCT} manual.lnk" "$INSTDIR\README.txt"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Corvane"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\VKRFrequencyTool.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what was installed goes: a folder chosen for it may hold other
; files. The user's settings and backups (in the user's own folders) stay.
Section "Uninstall"
    SetRegView 64
    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT} manual.lnk"
    !include "${INSTALLED}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
