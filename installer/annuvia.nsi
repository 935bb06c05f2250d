; Annuvia's installer: a per-user install that needs no administrator rights.
;
;   makensis -DARCH=win64 -DVERSION=... -DFILE_VERSION=... -DPUBLISHER=... -DSTAGE=DIR -DOUTFILE=FILE
;            [-DSIGN=COMMAND] annuvia.nsi
;
; scripts/release.sh runs it. ARCH is win64 or win32. VERSION, FILE_VERSION and
; PUBLISHER are the program's version as people read it, as four numbers, and
; its publisher: the three lines of annuvia-version.txt that CMake writes at
; the top of a configured build tree from CMakeLists.txt. STAGE is a folder
; holding annuvia.exe, README.txt, LICENSE.txt and THIRD-PARTY-NOTICES.txt,
; whose file times are the ones the installer keeps. SIGN, when given, is a
; shell command that signs the executable named after it in place: it signs
; the uninstaller before it goes into the installer, then the installer. The
; installer shows LICENSE.txt, to be agreed to, before the folder is chosen (a
; silent install goes straight on). It installs into
; %LOCALAPPDATA%\Programs\Annuvia, adds a Start-menu shortcut and an entry in
; the list of installed programs; the uninstaller removes all of that and the
; program's own setting (Software\VB and VBA Program Settings\annuvia).

!ifndef ARCH | VERSION | FILE_VERSION | PUBLISHER | STAGE | OUTFILE
  !error "define ARCH, VERSION, FILE_VERSION, PUBLISHER, STAGE and OUTFILE"
!endif
!if "${ARCH}" == "win64"
  Target amd64-unicode
!else if "${ARCH}" == "win32"
  Target x86-unicode
!else
  !error "ARCH must be win64 or win32, not ${ARCH}"
!endif

!define PRODUCT "Annuvia"
!define EXE "annuvia.exe"
; The class of the program's hidden start-up window, which lives as long as
; the program runs: a copy is running while a window of that class exists.
!define RUNNING_CLASS "Annuvia_frmNagScreen"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The settings key is shared: each program keeps its own subkey there, named
; after its executable without the extension.
!define SETTINGS_ROOT "Software\VB and VBA Program Settings"
!define SETTINGS_KEY "${SETTINGS_ROOT}\annuvia"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
UninstallCaption "${PRODUCT} ${VERSION} Uninstall"
BrandingText "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!ifdef SIGN
  !uninstfinalize '${SIGN} "%1"' = 0
  !finalize '${SIGN} "%1"' = 0
!endif
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ManifestDPIAware true
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!include MUI2.nsh
!include FileFunc.nsh

!define MUI_ICON "${__FILEDIR__}/../resources/annuvia.ico"
!define MUI_UNICON "${__FILEDIR__}/../resources/annuvia.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"

; The program's terms; the third-party software's are in the notices beside it.
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Click I Agree to accept these terms. The third-party software in \
${PRODUCT} and its licences are listed in THIRD-PARTY-NOTICES.txt, installed beside the program."
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A running copy keeps its executable open, so it has to be closed first. In
; silent mode the answer is Cancel: nothing is changed and the exit code is 2.
!macro CloseRunningCopy
  retry:
    FindWindow $0 "${RUNNING_CLASS}"
    StrCmp $0 0 done
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is running. Close it, then press Retry." \
      /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
  done:
!macroend

Function .onInit
  SetShellVarContext current
  !insertmacro CloseRunningCopy
FunctionEnd

Section "${PRODUCT}"
  SetOutPath "$INSTDIR"
  File "${STAGE}/${EXE}"
  File "${STAGE}/README.txt"
  File "${STAGE}/LICENSE.txt"
  File "${STAGE}/THIRD-PARTY-NOTICES.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetShellVarContext current
  !insertmacro CloseRunningCopy
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: files the user put there stay, and so does the folder.
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  ; The shared key goes only when no other program keeps settings there.
  DeleteRegKey /ifempty HKCU "${SETTINGS_ROOT}"
SectionEnd
