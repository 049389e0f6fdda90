; The Windows installer of AD9851 计算软件: both programs, the README, the
; licence and the third-party notices, a Start-menu entry, an uninstaller,
; and on request the folder on the system PATH for ad9851-word.exe.
;   makensis -DVERSION=<version> -DPUBLISHER=<name> -DCOPYRIGHT=<line>
;            -DICON=<.ico> -DRUNNING_MUTEX=<name> -DSTAGE=<folder with the files>
;            -DOUTFILE=<setup.exe> installer.nsi
; Pages in Simplified Chinese on a Chinese Windows, in English elsewhere.
; Silent: setup.exe /S [/PATH=1] [/D=<folder>], uninstall.exe /S.
; A 64-bit installer: the 32-bit stub installs nothing under a 64-bit-only
; Wine, and the programs are 64-bit anyway.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define PRODUCT "AD9851 计算软件"
!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ad9851-calc"
!define ENVIRONMENT_KEY "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
; HKEY_LOCAL_MACHINE as a 64-bit handle, for the System plug-in.
!define HKLM_HANDLE -2147483646
; RegGetValueW: REG_SZ or REG_EXPAND_SZ, left unexpanded.
!define PATH_VALUE_TYPES 0x10000006
!define REG_EXPAND_SZ 2
; OpenMutexW: SYNCHRONIZE; a mutex someone else owns answers ERROR_ACCESS_DENIED.
!define SYNCHRONIZE 0x00100000
!define ERROR_ACCESS_DENIED 5
!define ERROR_FILE_NOT_FOUND 2

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\AD9851 Calc"
InstallDirRegKey HKLM "${KEY}" "InstallLocation"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductName" "AD9851 Calc"
VIAddVersionKey /LANG=2052 "FileDescription" "AD9851 Calc installer"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${COPYRIGHT}, MIT licence"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one for a Windows in any language not listed.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString ProgramsSection ${LANG_ENGLISH} "Programs"
LangString ProgramsSection ${LANG_SIMPCHINESE} "程序"
LangString ProgramsText ${LANG_ENGLISH} "The calculator window, ad9851-word.exe, the README and the licences."
LangString ProgramsText ${LANG_SIMPCHINESE} "计算窗口、ad9851-word.exe、说明和许可证。"
LangString PathSection ${LANG_ENGLISH} "Add to PATH"
LangString PathSection ${LANG_SIMPCHINESE} "添加到 PATH"
LangString PathText ${LANG_ENGLISH} "Adds the install folder to the system PATH, so that ad9851-word runs in any command prompt."
LangString PathText ${LANG_SIMPCHINESE} "把安装文件夹添加到系统 PATH，在任何命令提示符中都能运行 ad9851-word。"
LangString PathUnreadable ${LANG_ENGLISH} "The system PATH could not be read and was left as it is. Add (or remove) $INSTDIR yourself."
LangString PathUnreadable ${LANG_SIMPCHINESE} "无法读取系统 PATH，未作更改。请自行添加（或删除）$INSTDIR。"
; Shown from .onInit, where the language strings still follow Windows's
; language and not the one chosen there: picked by $LANGUAGE instead.
!define STILL_RUNNING_ENGLISH "${PRODUCT} is running. Close its window, then choose Retry."
!define STILL_RUNNING_SIMPCHINESE "${PRODUCT} 正在运行。请关闭它的窗口，然后点击“重试”。"

; Refuses to go on while the calculator window is open anywhere on this
; computer: its files are in use.  Retry checks again; Cancel, and a
; silent run, quit with exit code 2.
!macro REFUSE_WHILE_RUNNING
    ${Do}
        System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${RUNNING_MUTEX}") p .r0 ?e'
        Pop $1
        ${If} $0 P<> 0
            System::Call 'kernel32::CloseHandle(p r0)'
        ${ElseIf} $1 <> ${ERROR_ACCESS_DENIED}
            ${Break}
        ${EndIf}
        StrCpy $1 "${STILL_RUNNING_ENGLISH}"
        ${If} $LANGUAGE = ${LANG_SIMPCHINESE}
            StrCpy $1 "${STILL_RUNNING_SIMPCHINESE}"
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION $1 /SD IDCANCEL IDRETRY +2
        Abort
    ${Loop}
!macroend

; The system PATH with $INSTDIR added or taken out.  Read and written
; through the System plug-in: a PATH often outgrows the installer's own
; strings of ${NSIS_MAX_STRLEN} characters, and a cut PATH must never be
; written back.
!macro PATH_FUNCTIONS UN
; $0: a new buffer with ";" + the system PATH + ";" (";" alone when the
; PATH is empty) and room for "$INSTDIR;" more, or 0 when the PATH cannot
; be read.  Uses $1 to $3.
Function ${UN}ReadSystemPath
    StrCpy $1 0
    System::Call 'advapi32::RegGetValueW(p ${HKLM_HANDLE}, w "${ENVIRONMENT_KEY}", w "Path", i ${PATH_VALUE_TYPES}, p 0, p 0, *i r1 r1) i .r0'
    ${If} $0 = ${ERROR_FILE_NOT_FOUND}
        StrCpy $1 0
    ${ElseIf} $0 <> 0
        StrCpy $0 0
        Return
    ${EndIf}
    StrLen $2 $INSTDIR
    IntOp $2 $2 + 4
    IntOp $2 $2 * 2
    IntOp $2 $2 + $1
    System::Alloc $2
    Pop $0
    System::Call 'kernel32::lstrcpyW(p r0, w ";")'
    ${If} $1 > 0
        IntPtrOp $3 $0 + 2
        System::Call 'advapi32::RegGetValueW(p ${HKLM_HANDLE}, w "${ENVIRONMENT_KEY}", w "Path", i ${PATH_VALUE_TYPES}, p 0, p r3, *i r1 r1) i .r2'
        ${If} $2 <> 0
            System::Free $0
            StrCpy $0 0
            Return
        ${EndIf}
        System::Call 'kernel32::lstrlenW(p r3) i .r2'
        ${If} $2 > 0
            System::Call 'kernel32::lstrcatW(p r0, w ";")'
        ${EndIf}
    ${EndIf}
FunctionEnd

; Writes the buffer $0 made by ReadSystemPath back as the system PATH,
; without its framing semicolons, frees it and tells the running programs.
; Uses $1 and $2.
Function ${UN}WriteSystemPath
    System::Call 'kernel32::lstrlenW(p r0) i .r1'
    ${If} $1 > 1
        IntOp $1 $1 - 1
        IntOp $1 $1 * 2
        IntPtrOp $1 $0 + $1
        System::Call 'kernel32::lstrcpyW(p r1, w "")'
    ${EndIf}
    IntPtrOp $1 $0 + 2
    System::Call 'kernel32::lstrlenW(p r1) i .r2'
    IntOp $2 $2 + 1
    IntOp $2 $2 * 2
    System::Call 'advapi32::RegSetKeyValueW(p ${HKLM_HANDLE}, w "${ENVIRONMENT_KEY}", w "Path", i ${REG_EXPAND_SZ}, p r1, i r2)'
    System::Free $0
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
FunctionEnd
!macroend
!insertmacro PATH_FUNCTIONS ""
!insertmacro PATH_FUNCTIONS "un."

; Tells that the PATH was left alone, and how to change it by hand.
!macro PATH_UNREADABLE
    DetailPrint "$(PathUnreadable)"
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(PathUnreadable)" /SD IDOK
!macroend

Section "$(ProgramsSection)" ProgramsSection
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "${STAGE}\ad9851-calc.exe"
    File "${STAGE}\ad9851-word.exe"
    File "${STAGE}\README-Windows.txt"
    File "${STAGE}\LICENSE.txt"
    File "${STAGE}\THIRD-PARTY-NOTICES.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    SetShellVarContext all
    CreateDirectory "$SMPROGRAMS\AD9851 Calc"
    CreateShortcut "$SMPROGRAMS\AD9851 Calc\${PRODUCT}.lnk" "$INSTDIR\ad9851-calc.exe"
    CreateShortcut "$SMPROGRAMS\AD9851 Calc\卸载 ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

    WriteRegStr HKLM "${KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${KEY}" "DisplayIcon" "$INSTDIR\ad9851-calc.exe"
    WriteRegStr HKLM "${KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    ; The uninstaller speaks the installer's language.
    WriteRegStr HKLM "${KEY}" "Language" "$LANGUAGE"
    WriteRegDWORD HKLM "${KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKLM "${KEY}" "EstimatedSize" $0
SectionEnd

Section /o "$(PathSection)" PathSection
    Call ReadSystemPath
    ${If} $0 P= 0
        !insertmacro PATH_UNREADABLE
    ${Else}
        System::Call 'shlwapi::StrStrIW(p r0, w ";$INSTDIR;") p .r1'
        ${If} $1 P= 0
            System::Call 'kernel32::lstrcatW(p r0, w "$INSTDIR;")'
        ${EndIf}
        Call WriteSystemPath
    ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${ProgramsSection} "$(ProgramsText)"
    !insertmacro MUI_DESCRIPTION_TEXT ${PathSection} "$(PathText)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    !insertmacro REFUSE_WHILE_RUNNING
    ; /PATH=1 chooses the PATH entry, for a silent installation.
    ${GetOptions} $CMDLINE "/PATH=" $0
    ${IfNot} ${Errors}
    ${AndIf} $0 == 1
        !insertmacro SelectSection ${PathSection}
    ${EndIf}
FunctionEnd

Function un.onInit
    ReadRegStr $0 HKLM "${KEY}" "Language"
    ${If} $0 != ""
        StrCpy $LANGUAGE $0
    ${EndIf}
    !insertmacro REFUSE_WHILE_RUNNING
FunctionEnd

Section "Uninstall"
    ; Out of the PATH, where it was added.
    Call un.ReadSystemPath
    ${If} $0 P= 0
        !insertmacro PATH_UNREADABLE
    ${Else}
        StrLen $2 "$INSTDIR;"
        IntOp $2 $2 * 2
        StrCpy $3 0
        ${Do}
            System::Call 'shlwapi::StrStrIW(p r0, w ";$INSTDIR;") p .r1'
            ${If} $1 P= 0
                ${Break}
            ${EndIf}
            ; Drop "$INSTDIR;" after the semicolon found.
            IntPtrOp $1 $1 + 2
            IntPtrOp $4 $1 + $2
            System::Call 'kernel32::lstrlenW(p r4) i .r5'
            IntOp $5 $5 + 1
            IntOp $5 $5 * 2
            System::Call 'kernel32::RtlMoveMemory(p r1, p r4, p r5)'
            StrCpy $3 1
        ${Loop}
        ${If} $3 = 1
            Call un.WriteSystemPath
        ${Else}
            System::Free $0
        ${EndIf}
    ${EndIf}

    SetShellVarContext all
    Delete "$SMPROGRAMS\AD9851 Calc\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\AD9851 Calc\卸载 ${PRODUCT}.lnk"
    RMDir "$SMPROGRAMS\AD9851 Calc"
    Delete "$INSTDIR\ad9851-calc.exe"
    Delete "$INSTDIR\ad9851-word.exe"
    Delete "$INSTDIR\README-Windows.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${KEY}"
SectionEnd
