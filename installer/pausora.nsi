; Pausora's per-user installer: no administrator rights, everything under the
; user's own profile. Built on Linux by scripts/package.sh with makensis:
;
;   makensis -DBIN_DIR=<folder with Pausora.exe, InputWatch.dll, all.txt>
;            -DOUT_FILE=<installer to write> installer/pausora.nsi
;
; Command line of the installer:   /S          silent
;                                  /LAUNCH     with /S: start Pausora afterwards
;                                  /D=folder   install there (last, unquoted)
; Command line of the uninstaller: /S          silent (keeps the settings)
;                                  /REMOVESETTINGS  also remove the settings

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!searchparse /file "${__FILEDIR__}\..\res\version.h" '#define PAUSORA_VERSION_TEXT "' VERSION '"'
!ifndef BIN_DIR
  !error "BIN_DIR must name the folder of the built program"
!endif
!ifndef OUT_FILE
  !define OUT_FILE "Pausora-setup-${VERSION}.exe"
!endif

!define PRODUCT "Pausora"
!define PUBLISHER "The Pausora authors"
!define SETTINGS_KEY "Software\Pausora"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pausora"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An upgrade goes where the last installation went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ICON "${__FILEDIR__}\..\res\icons\icon_178_app.ico"
!define MUI_UNICON "${__FILEDIR__}\..\res\icons\icon_178_app.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${__FILEDIR__}\..\res\bitmaps\bmp_242_watermark.bmp"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${__FILEDIR__}\..\res\bitmaps\bmp_242_watermark.bmp"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Pausora.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(StartNow)"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The installer speaks the user's Windows language where Pausora has it. Its
; own texts are translated in po/<lang>.po with the program's, and written
; into LANGUAGES_NSH by tools/nsis_languages.py; the pages' standard texts come
; with NSIS.
!insertmacro MUI_LANGUAGE "English"
LangString WelcomeText ${LANG_ENGLISH} "Pausora reminds you to take short and long breaks while you work at the computer, and shows a stretch to do in them.$\r$\n$\r$\nIt is installed for you alone, in your own profile: no administrator rights are needed. Your settings are kept when you install a newer version over this one.$\r$\n$\r$\n$_CLICK"
LangString StartNow ${LANG_ENGLISH} "Start Pausora now"
LangString Ending ${LANG_ENGLISH} "Ending the running Pausora..."
LangString Needs64Bit ${LANG_ENGLISH} "Pausora needs a 64-bit edition of Windows."
LangString RemoveSettings ${LANG_ENGLISH} "Also remove your Pausora settings (the schedule, sounds and experience points)?$\r$\n$\r$\nKeep them if you mean to install Pausora again."
!ifdef LANGUAGES_NSH
  !include /CHARSET=UTF8 "${LANGUAGES_NSH}"
!endif

; Ends a running Pausora the way the user's Exit does (a close message to its
; windows) and waits until its single-instance mutex is gone, at most about
; ten seconds. The files of a running program cannot be replaced or removed.
!macro EndPausora un
Function ${un}EndPausora
  Push $0
  Push $1
  StrCpy $1 0
  ${Do}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "PausoraApp") p .r0'
    ${If} $0 P= 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
    ${If} $1 = 0
      DetailPrint "$(Ending)"
      nsExec::Exec '"$SYSDIR\taskkill.exe" /IM Pausora.exe'
      Pop $0
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 > 40
      ${Break}
    ${EndIf}
    Sleep 250
  ${Loop}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro EndPausora ""
!insertmacro EndPausora "un."

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP|MB_OK "$(Needs64Bit)" /SD IDOK
    Abort
  ${EndIf}
  SetShellVarContext current
FunctionEnd

Section "Pausora" SecMain
  SectionIn RO
  Call EndPausora
  SetOutPath "$INSTDIR"
  File "${BIN_DIR}\Pausora.exe"
  File "${BIN_DIR}\InputWatch.dll"
  File "${BIN_DIR}\all.txt"
  File /nonfatal "${BIN_DIR}\all.*.txt"  ; the sayings in each language
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The program finds itself and its tips file through this folder, and the
  ; start-with-Windows entry it writes names the program in it.
  WriteRegStr HKCU "${SETTINGS_KEY}" "InstallDir" "$INSTDIR\"

  CreateShortcut "$SMPROGRAMS\Pausora.lnk" "$INSTDIR\Pausora.exe" "" "$INSTDIR\Pausora.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Pausora.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "https://www.pausora.com"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; The finish page offers to start Pausora; a silent install starts it when
; asked to with /LAUNCH.
Function .onInstSuccess
  ${If} ${Silent}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/LAUNCH" $1
    ${IfNot} ${Errors}
      Exec '"$INSTDIR\Pausora.exe"'
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Uninstall"
  Call un.EndPausora
  Delete "$INSTDIR\Pausora.exe"
  Delete "$INSTDIR\InputWatch.dll"
  Delete "$INSTDIR\all.txt"
  Delete "$INSTDIR\all.*.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Pausora.lnk"

  DeleteRegValue HKCU "${RUN_KEY}" "Pausora"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegValue HKCU "${SETTINGS_KEY}" "InstallDir"

  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${If} ${Errors}
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "$(RemoveSettings)" \
      /SD IDNO IDYES remove IDNO keep
  ${EndIf}
  remove:
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  keep:
SectionEnd
