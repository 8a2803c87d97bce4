; The Windows installer: Dusk for the current user alone, no administrator needed.
; scripts/package.sh builds it:
;   makensis -DVERSION=1.0.1.2 -DFILES=DIR -DICON=res/dusk.ico -DOUT=Dusk-1.0.1.2-setup.exe \
;     packaging/dusk.nsi
; FILES holds what is installed: Dusk.exe, dusk-cli.exe, clock\1.wav, x.wav, warn.wav, readme.txt,
; license.txt.
; /S installs silently (without the start at log-on unless /AUTOSTART is given too), and starts
; the program only when it ended a running copy (an update); the uninstaller's /S ends a running
; copy and removes everything but the saved tasks. Both end with exit code 2, having changed
; nothing, when a running copy cannot be ended (the uninstaller runs on as a copy of itself:
; `uninstall.exe /S _?=FOLDER` waits for it and passes its code on).

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
; With a code-signing certificate scripts/package.sh names the commands that sign a file in place
; (scripts/authenticode.sh): the uninstaller is signed as it is made, before the installer takes
; it in, and the installer last.
!ifdef SIGN_UNINSTALLER
  !uninstfinalize '${SIGN_UNINSTALLER} "%1"' = 0
  !finalize '${SIGN_INSTALLER} "%1"' = 0
!endif
InstallDir "$LOCALAPPDATA\Programs\Dusk"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}"
; The file's description in both languages: Chinese (2052) and English (1033).
!macro VERSION_KEYS lang description
  VIAddVersionKey /LANG=${lang} "ProductName" "${PRODUCT}"
  VIAddVersionKey /LANG=${lang} "FileDescription" "${description}"
  VIAddVersionKey /LANG=${lang} "FileVersion" "${VERSION}"
  VIAddVersionKey /LANG=${lang} "ProductVersion" "${VERSION}"
  VIAddVersionKey /LANG=${lang} "LegalCopyright" "${PUBLISHER}"
!macroend
!insertmacro VERSION_KEYS 2052 "${PRODUCT} 安装程序"
!insertmacro VERSION_KEYS 1033 "${PRODUCT} Setup"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(StartDuskText)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartDusk

!insertmacro MUI_PAGE_LICENSE "${FILES}/license.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The installer and the uninstaller speak the language Windows shows, as the program does:
; Chinese for every Chinese display language (NSIS matches the primary language when no table
; is the display language's own), English for any other (the first table is the fallback).
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString StartDuskText ${LANG_ENGLISH} "Start Dusk"
LangString StartDuskText ${LANG_SIMPCHINESE} "启动 Dusk"
LangString AutostartSectionText ${LANG_ENGLISH} "Start with Windows"
LangString AutostartSectionText ${LANG_SIMPCHINESE} "开机时启动"
LangString CloseDuskFirstText ${LANG_ENGLISH} "Please close Dusk first."
LangString CloseDuskFirstText ${LANG_SIMPCHINESE} "请先关闭 Dusk"
LangString KeepTasksText ${LANG_ENGLISH} \
  "Keep the saved tasks?$\n$\nChoose $\"No$\" to delete $APPDATA\Dusk."
LangString KeepTasksText ${LANG_SIMPCHINESE} "是否保留已保存的任务？$\n$\n选择“否”将删除 $APPDATA\Dusk。"

; Set when a running copy was ended: a silent install, an update, starts the new one then.
Var endedRunningCopy

; Ends every running copy of the program, found by its main window: a top-level window of the
; program's window class whose "Name" property (a global atom) reads Form1, hidden while the
; program sits in the tray. WM_CLOSE is what the tray menu's Close does; a copy that has not
; ended after a bounded wait is ended. A copy that cannot be opened, or that outlives that too,
; stays: the user is asked to close it ("请先关闭 Dusk", then retry), and a silent run ends with
; exit code 2 before it changed anything. Each round ends one copy or gives up, and the rounds
; are counted: this never spins.
!define CLOSE_ROUNDS 8
!define CLOSE_WAIT_MS 10000
!define TERMINATE_WAIT_MS 5000
!macro CLOSE_RUNNING_DUSK un
Function ${un}FindDuskWindow ; -> $0: the main window of a running copy, or 0
  Push $1
  Push $2
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
      ${Break}
    ${EndIf}
  ${Loop}
  Pop $2
  Pop $1
FunctionEnd

; A copy whose window the search cannot see (Wine keeps a virtual desktop's windows from the
; others) is found among the processes by its file, and ended: there is no window to ask.
; -> $0: empty, or "unseen" when such a copy could not be ended.
Function ${un}EndUnseenDusk
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $0 ""
  ; TH32CS_SNAPPROCESS
  System::Call 'kernel32::CreateToolhelp32Snapshot(i 2, i 0) p .r1'
  ${If} $1 P= -1
    Goto done
  ${EndIf}
  ; PROCESSENTRY32W: its size, the process id at byte 8 and the file's name at byte 44.
  System::Alloc 568
  Pop $2
  System::Call '*$2(i 568)'
  System::Call 'kernel32::Process32FirstW(p r1, p r2) i .r3'
  ${DoWhile} $3 <> 0
    System::Call '*$2(i, i, i .r3, i, i, i, i, i, i, i, i, &w260 .r4)'
    ${If} $4 == "Dusk.exe"
      ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE; one that cannot be
      ; opened is another user's Dusk, not this install's.
      System::Call 'kernel32::OpenProcess(i 0x00101001, i 0, i r3) p .r3'
      ${IfNot} $3 P= 0
        StrCpy $4 ""
        System::Call 'kernel32::QueryFullProcessImageNameW(p r3, i 0, w .r4, *i ${NSIS_MAX_STRLEN}) i'
        ${If} $4 == "$INSTDIR\Dusk.exe"
          System::Call 'kernel32::TerminateProcess(p r3, i 1) i'
          System::Call 'kernel32::WaitForSingleObject(p r3, i ${TERMINATE_WAIT_MS}) i .r4'
          ${If} $4 <> 0
            StrCpy $0 unseen
          ${Else}
            StrCpy $endedRunningCopy 1
          ${EndIf}
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r3) i'
      ${EndIf}
      ${If} $0 != ""
        ${Break}
      ${EndIf}
    ${EndIf}
    System::Call 'kernel32::Process32NextW(p r1, p r2) i .r3'
  ${Loop}
  System::Free $2
  System::Call 'kernel32::CloseHandle(p r1) i'
  done:
  Pop $4
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

Function ${un}CloseRunningDusk
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $endedRunningCopy 0
  retry:
  StrCpy $3 0
  ${Do}
    Call ${un}FindDuskWindow
    ${If} $0 P= 0
      ${Break}
    ${EndIf}
    IntOp $3 $3 + 1
    ${If} $3 > ${CLOSE_ROUNDS}
      Goto still_running
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
    ; SYNCHRONIZE | PROCESS_TERMINATE
    System::Call 'kernel32::OpenProcess(i 0x00100001, i 0, i r1) p .r1'
    ${If} $1 P= 0
      Goto still_running
    ${EndIf}
    System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0) i'
    System::Call 'kernel32::WaitForSingleObject(p r1, i ${CLOSE_WAIT_MS}) i .r2'
    ${If} $2 <> 0
      System::Call 'kernel32::TerminateProcess(p r1, i 1) i'
      System::Call 'kernel32::WaitForSingleObject(p r1, i ${TERMINATE_WAIT_MS}) i .r2'
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r1) i'
    ${If} $2 <> 0
      Goto still_running
    ${EndIf}
    StrCpy $endedRunningCopy 1
  ${Loop}
  Call ${un}EndUnseenDusk
  ${If} $0 != ""
    Goto still_running
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
  Return

  still_running:
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(CloseDuskFirstText)" /SD IDCANCEL IDRETRY retry
  SetErrorLevel 2
  Quit
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_DUSK ""
!insertmacro CLOSE_RUNNING_DUSK "un."

Section "Dusk" SectionProgram
  SectionIn RO
  Call CloseRunningDusk
  SetOutPath "$INSTDIR"
  File "${FILES}/Dusk.exe"
  File "${FILES}/dusk-cli.exe"
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
Section /o "$(AutostartSectionText)" SectionAutostart
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

; The program runs as the user of the desktop's shell, never with the rights the installer may
; have been given: the shell starts it.
Function StartDusk
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\Dusk.exe"'
FunctionEnd

; A silent install is an update when it ended a running copy: the new program takes its place.
Function .onInstSuccess
  ${If} ${Silent}
  ${AndIf} $endedRunningCopy == 1
    Call StartDusk
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningDusk
  Delete "$INSTDIR\Dusk.exe"
  Delete "$INSTDIR\dusk-cli.exe"
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
    MessageBox MB_YESNO|MB_ICONQUESTION "$(KeepTasksText)" /SD IDYES IDYES keep
    ; The program's own files only, and the folder when nothing else is left in it: never a
    ; removal of all below it, which would follow a junction out of it.
    Delete "$APPDATA\Dusk\tasks*.txt"
    Delete "$APPDATA\Dusk\tasks.tmp"
    RMDir "$APPDATA\Dusk"
    keep:
  ${EndIf}
SectionEnd
