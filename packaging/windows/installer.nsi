; The Windows installer of AD9851 计算软件: both programs, the README, the
; licence and the third-party notices, a Start-menu entry and an uninstaller.
;   makensis -DVERSION=<version> -DPUBLISHER=<name> -DCOPYRIGHT=<line>
;            -DSTAGE=<folder with the files> -DOUTFILE=<setup.exe> installer.nsi
; A 64-bit installer: the 32-bit stub installs nothing under a 64-bit-only
; Wine, and the programs are 64-bit anyway.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define PRODUCT "AD9851 计算软件"
!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ad9851-calc"

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

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
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
    WriteRegDWORD HKLM "${KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
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
