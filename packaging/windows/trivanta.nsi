; The installer of Trivanta for 64-bit Windows, made by
; packaging/windows/make-installer.sh with
;   -DVERSION=1.0 -DICON=<trivanta.ico> -DSIZE_KB=<installed size>
;   -DOUTFILE=<setup.exe> -DFILES=<files.nsh> -DUNFILES=<unfiles.nsh>
; FILES installs the program's files one by one and UNFILES removes them
; again by name, so that the uninstaller removes what the installer put
; there and nothing else.
; Silent: setup.exe /S [/D=C:\folder] and uninstall.exe /S.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Trivanta"
!define PUBLISHER "Trivanta Team"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Trivanta"
; The running game holds this mutex (ui/Sistema.cpp).
!define RUNNING_MUTEX "Trivanta.InEsecuzione"
!define EXPERT_SHORTCUT "Trivanta - avversario esperto"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
ManifestDPIAware true
ManifestSupportedOS Win10
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An upgrade goes where the last version went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1040 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1040 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di ${PRODUCT}"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

; Files in use cannot be replaced or removed: the game must be closed first.
!macro RefuseWhileRunning
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${RUNNING_MUTEX}") p .r0'
    ${If} $0 != 0
        System::Call 'kernel32::CloseHandle(p r0)'
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} è aperto. Chiudi il gioco e riprova." /SD IDOK
        SetErrorLevel 3
        Quit
    ${EndIf}
!macroend

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} richiede Windows a 64 bit." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
    !insertmacro RefuseWhileRunning
FunctionEnd

Function un.onInit
    SetRegView 64
    !insertmacro RefuseWhileRunning
FunctionEnd

Section "Trivanta"
    ; An earlier version leaves by its own uninstaller, which knows its files.
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $1 != ""
    ${AndIf} ${FileExists} "$1\uninstall.exe"
        DetailPrint "Rimozione della versione installata in $1"
        ExecWait '"$1\uninstall.exe" /S _?=$1' $2
        ${If} $2 != 0
            MessageBox MB_OK|MB_ICONSTOP "Impossibile rimuovere la versione installata in $1." /SD IDOK
            SetErrorLevel 4
            Quit
        ${EndIf}
        Delete "$1\uninstall.exe"
        RMDir "$1"
    ${EndIf}

    SetOutPath "$INSTDIR"
    !include "${FILES}"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    SetShellVarContext all
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\trivanta.exe"
    CreateShortcut "$SMPROGRAMS\${EXPERT_SHORTCUT}.lnk" "$INSTDIR\trivanta.exe" \
        "--avversario esperto" "$INSTDIR\trivanta.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\trivanta.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    !include "${UNFILES}"
    Delete "$INSTDIR\uninstall.exe"
    ; Only if empty: whatever else the user put there stays.
    RMDir "$INSTDIR"

    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${EXPERT_SHORTCUT}.lnk"

    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
