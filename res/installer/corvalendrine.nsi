; The per-user installer of Corvalendrine. tools/package builds it from the
; folder of the release (the zip's contents):
;
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.5.1 -DVERSION4=1.5.1.0
;            -DSTAGE=FOLDER -DOUTFILE=SETUP.EXE -DTARGET=x86-unicode
;            -DICON=res/icons/program.ico res/installer/corvalendrine.nsi
;
; STAGE also holds uninstall-files.nsh: a Delete line for every file of the
; folders effects and Masks, so that the uninstaller removes what was
; installed and nothing the user put there.
;
; It installs into the user's own programs folder without administrator
; rights, makes a Start-menu shortcut and an entry under the user's
; installed apps, and writes the autostart value when asked to. An install
; over an older version ends the running program first and keeps the user's
; files (env.ini, list.txt, poslist.txt and an edited xdaylist.txt).
;
; Command line: /S silent; /D=FOLDER another folder (last, unquoted);
; /AUTOSTART ticks "Windows 시작 시 자동실행" (it is also ticked when the
; autostart value is already there). The uninstaller takes /S too and then
; keeps the user's files.

Unicode true
!ifndef VERSION | VERSION4 | STAGE | OUTFILE | TARGET | ICON
  !error "tools/package passes VERSION, VERSION4, STAGE, OUTFILE, TARGET and ICON"
!endif
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define PRODUCT "Corvalendrine"
!define PUBLISHER "Corvalendrine 개발팀"
!define HOMEPAGE "http://corv.example.org"
!define PROGRAM_FILE "corvalendrine.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The program's own autostart value: the same key, name and text (the
; program's full path) as its settings write.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Corvalendrine"
; The running program: its hidden main window, the command of its menu's
; "종료" (which puts the user's wallpaper back and writes its settings),
; and how long its end may take.
!define MAIN_WINDOW_CLASS "#32770"
!define MAIN_WINDOW_TITLE "Corvalendrine"
; The exit command's id comes from res/resource.h (ID_EXIT), through
; tools/package.
!ifndef EXIT_COMMAND
  !error "EXIT_COMMAND (the program's exit command id) must be given"
!endif
!define END_WAIT_MS 20000

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Corvalendrine ${VERSION}을(를) 내 사용자 폴더에 설치합니다. \
    관리자 권한은 필요 없습니다.$\r$\n$\r$\n이미 설치되어 있으면 새 버전으로 바꾸고, 설정(env.ini), \
    그림 목록(list.txt)과 이미지 위치(poslist.txt)는 그대로 둡니다. 실행 중인 Corvalendrine은 \
    설치하기 전에 종료합니다."
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_TEXT "Corvalendrine을 설치했습니다.$\r$\n$\r$\n시작 메뉴의 Corvalendrine으로 \
    실행하면 작업 표시줄의 알림 영역(시계 옆)에 아이콘이 생깁니다. 아이콘을 오른쪽 클릭하고 \
    $\"환경 설정$\"을 누르면 설정이 열립니다."
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM_FILE}"
!define MUI_FINISHPAGE_RUN_TEXT "Corvalendrine 실행"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Korean"

VIAddVersionKey /LANG=${LANG_KOREAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_KOREAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_KOREAN} "FileDescription" "Corvalendrine 설치 프로그램"
VIAddVersionKey /LANG=${LANG_KOREAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_KOREAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_KOREAN} "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

; Ends a running Corvalendrine as its menu's "종료" does, and waits for its
; process to end, so that its files can be replaced or removed and the
; user's wallpaper is back. One that does not end in time is asked about
; (silent: the run is abandoned, and nothing has been changed yet).
!macro END_RUNNING_PROGRAM PREFIX
Function ${PREFIX}EndRunningProgram
    StrCpy $R0 0
    look:
    FindWindow $0 "${MAIN_WINDOW_CLASS}" "${MAIN_WINDOW_TITLE}"
    StrCmp $0 0 done
    ; A program that keeps coming back after three ends is not waited for.
    IntOp $R0 $R0 + 1
    IntCmp $R0 3 0 0 stuck
    DetailPrint "실행 중인 Corvalendrine을 종료합니다."
    System::Call "user32::GetWindowThreadProcessId(p r0, *i 0 r1) i"
    System::Call "kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2"
    System::Call "user32::PostMessageW(p r0, i ${WM_COMMAND}, p ${EXIT_COMMAND}, p 0) i"
    StrCmp $2 0 poll
    System::Call "kernel32::WaitForSingleObject(p r2, i ${END_WAIT_MS}) i .r3"
    System::Call "kernel32::CloseHandle(p r2)"
    StrCmp $3 0 look stuck
    ; Without a handle on the process: until its window is gone, then a
    ; moment for the process itself.
    poll:
    StrCpy $3 0
    poll_again:
    Sleep 250
    IsWindow $0 0 poll_gone
    IntOp $3 $3 + 250
    IntCmp $3 ${END_WAIT_MS} stuck poll_again stuck
    poll_gone:
    Sleep 1000
    Goto look
    stuck:
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Corvalendrine이 끝나지 않습니다.$\r$\n$\r$\n\
        알림 영역의 Corvalendrine 아이콘을 오른쪽 클릭하고 $\"종료$\"를 누른 뒤 [다시 시도]를 \
        누르세요." /SD IDCANCEL IDRETRY retry
    Abort "Corvalendrine이 실행 중이어서 중단했습니다."
    retry:
    StrCpy $R0 0
    Goto look
    done:
FunctionEnd
!macroend
!insertmacro END_RUNNING_PROGRAM ""
!insertmacro END_RUNNING_PROGRAM "un."

Section "Corvalendrine (필수)" SecProgram
    SectionIn RO
    Call EndRunningProgram
    SetOutPath "$INSTDIR"
    File "${STAGE}/${PROGRAM_FILE}"
    File "${STAGE}/README.txt"
    ; The special days may have been edited by the user: an older copy stays.
    SetOverwrite off
    File "${STAGE}/xdaylist.txt"
    SetOverwrite on
    SetOutPath "$INSTDIR\effects"
    File /r "${STAGE}/effects/*"
    SetOutPath "$INSTDIR\Masks"
    File /r "${STAGE}/Masks/*"
    ; The shortcut starts in the program's folder.
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${PROGRAM_FILE}" "" \
        "$INSTDIR\${PROGRAM_FILE}" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM_FILE},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Windows 시작 시 자동실행" SecAutostart
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" "$INSTDIR\${PROGRAM_FILE}"
SectionEnd

; Unticked, the autostart value goes (it was ticked if the value was there).
Section "-AutostartOff"
    ${IfNot} ${SectionIsSelected} ${SecAutostart}
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
SectionEnd

Function .onInit
    SetShellVarContext current
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/AUTOSTART" $2
    ${If} $0 != ""
    ${OrIfNot} ${Errors}
        !insertmacro SelectSection ${SecAutostart}
    ${EndIf}
FunctionEnd

Function un.onInit
    SetShellVarContext current
FunctionEnd

Section "Uninstall"
    Call un.EndRunningProgram
    Delete "$INSTDIR\${PROGRAM_FILE}"
    Delete "$INSTDIR\README.txt"
    !include "${STAGE}/uninstall-files.nsh"
    RMDir "$INSTDIR\effects"
    RMDir "$INSTDIR\Masks"
    ; What the program made: its wallpaper picture (the user's own is back)
    ; and the probe of a run that was killed.
    Delete "$INSTDIR\Corvalendrine.bmp"
    Delete "$INSTDIR\~corvalendrine-write-check.tmp"
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"

    ${If} ${FileExists} "$INSTDIR\env.ini"
    ${OrIf} ${FileExists} "$INSTDIR\list.txt"
    ${OrIf} ${FileExists} "$INSTDIR\poslist.txt"
        MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "설정과 그림 목록도 지울까요?$\r$\n$\r$\n\
            env.ini(설정), list.txt(그림 폴더와 목록), poslist.txt(이미지 위치)와 \
            xdaylist.txt(기념일)를 지웁니다. 다시 설치할 때 그대로 쓰려면 [아니요]를 누르세요." \
            /SD IDNO IDNO keep
        Delete "$INSTDIR\env.ini"
        Delete "$INSTDIR\list.txt"
        Delete "$INSTDIR\poslist.txt"
        Delete "$INSTDIR\xdaylist.txt"
        keep:
    ${Else}
        Delete "$INSTDIR\xdaylist.txt"
    ${EndIf}
    RMDir "$INSTDIR"

    ; The autostart value goes unless it starts another copy that is still
    ; there.
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $0 != ""
    ${AndIfNot} ${FileExists} "$0"
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
    ; Last: the entry under installed apps.
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
