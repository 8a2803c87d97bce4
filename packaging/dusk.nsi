; The Windows installer: Dusk for the current user alone, no administrator needed.
; scripts/package.sh builds it:
;   makensis -DVERSION=1.0.1.2 -DFILES=DIR -DICON=res/dusk.ico -DOUT=Dusk-1.0.1.2-setup.exe \
;     packaging/dusk.nsi
; FILES holds what is installed: Dusk.exe, clock\1.wav, x.wav, warn.wav, readme.txt, license.txt.
; /S installs silently (without the start at log-on unless /AUTOSTART is given too); the
; uninstaller's /S removes everything but the saved tasks.

Unicode true
; A 64-bit installer for a 64-bit program: it runs where the program runs, Wine's 64-bit-only
; set-ups too.
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define PRODUCT "Dusk"
!define PUBLISHER "The Dusk developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dusk"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT}"
InstallDir "$LOCALAPPDATA\Programs\Dusk"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Dusk.exe"
!define MUI_FINISHPAGE_RUN_TEXT "启动 Dusk"

!insertmacro MUI_PAGE_LICENSE "${FILES}/license.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; Ends a running copy of the program found by its main window: a top-level window of the
; program's window class whose "Name" property (a global atom) reads Form1. WM_CLOSE is what
; the tray menu's Close does. The wait is bounded; a copy that does not end by then is ended.
!macro CLOSE_RUNNING_DUSK un
Function ${un}CloseRunningDusk
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $0 0
  ${Do}
    System::Call 'user32::FindWindowExW(p 0, p r0, w "DuskForm", p 0) p .r0'
    ${If} $0 P= 0
      ${Break}
    ${EndIf}
    System::Call 'user32::GetPropW(p r0, w "Name") p .r1'
    StrCpy $2 ""
    ${IfNot} $1 P= 0
      System::Call 'kernel32::GlobalGetAtomNameW(i r1, w .r2, i 64) i'
    ${EndIf}
    ${If} $2 == "Form1"
      System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r3) i'
      ; SYNCHRONIZE | PROCESS_TERMINATE
      System::Call 'kernel32::OpenProcess(i 0x00100001, i 0, i r3) p .r4'
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
      ${IfNot} $4 P= 0
        System::Call 'kernel32::WaitForSingleObject(p r4, i 10000) i .r3'
        ${If} $3 <> 0
          System::Call 'kernel32::TerminateProcess(p r4, i 1) i'
          System::Call 'kernel32::WaitForSingleObject(p r4, i 5000) i'
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r4) i'
      ${EndIf}
      ; The list of windows changed: look again from the start.
      StrCpy $0 0
    ${EndIf}
  ${Loop}
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_DUSK ""
!insertmacro CLOSE_RUNNING_DUSK "un."

Section "Dusk" SectionProgram
  SectionIn RO
  Call CloseRunningDusk
  SetOutPath "$INSTDIR"
  File "${FILES}/Dusk.exe"
  File "${FILES}/x.wav"
  File "${FILES}/warn.wav"
  File "${FILES}/readme.txt"
  File "${FILES}/license.txt"
  SetOutPath "$INSTDIR\clock"
  File "${FILES}/clock/1.wav"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\Dusk.lnk" "$INSTDIR\Dusk.exe" "" "$INSTDIR\Dusk.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Dusk.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; The same value the program's own tray menu item writes.
Section /o "开机时启动" SectionAutostart
  WriteRegStr HKCU "${RUN_KEY}" "Dusk" '"$INSTDIR\Dusk.exe" /tray'
SectionEnd

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTOSTART" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SectionAutostart} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

; A silent install starts the program too, as an update over a running copy must.
Function .onInstSuccess
  ${If} ${Silent}
    Exec '"$INSTDIR\Dusk.exe"'
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningDusk
  Delete "$INSTDIR\Dusk.exe"
  ; What an update in progress may leave beside the program.
  Delete "$INSTDIR\upDusk.exe"
  Delete "$INSTDIR\upDusk.exe.download"
  Delete "$INSTDIR\up"
  Delete "$INSTDIR\x.wav"
  Delete "$INSTDIR\warn.wav"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\license.txt"
  Delete "$INSTDIR\clock\1.wav"
  RMDir "$INSTDIR\clock"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Dusk.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "Dusk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${IfNot} ${Silent}
    MessageBox MB_YESNO|MB_ICONQUESTION "是否保留已保存的任务？$\n$\n选择“否”将删除 $APPDATA\Dusk。" \
      /SD IDYES IDYES keep
    RMDir /r "$APPDATA\Dusk"
    keep:
  ${EndIf}
SectionEnd
