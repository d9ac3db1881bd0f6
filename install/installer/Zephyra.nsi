; Zephyra's installer, and the uninstaller it writes (unwise.exe).
; Built by tools/build-installers.sh:
;   makensis -DZR_BITS=32|64 -DZR_SOURCE=<installation folder>
;            -DZR_FILES=<file list .nsh> -DZR_OUTFILE=<setup .exe> Zephyra.nsi
; ZR_FILES holds one `!insertmacro ZrInstallFile` per file of ZR_SOURCE.
; ZR_VERSION may be given; it is read from Solvane.dll otherwise.
; The 64-bit installer is a 64-bit program itself: it installs the x86_64
; modules and registers them with the 64-bit regsvr32 and registry view.

!macro ZrRequire NAME
    !ifndef ${NAME}
        !error "Zephyra.nsi needs -D${NAME}=... (see tools/build-installers.sh)"
    !endif
!macroend
!insertmacro ZrRequire ZR_BITS
!insertmacro ZrRequire ZR_SOURCE
!insertmacro ZrRequire ZR_FILES
!insertmacro ZrRequire ZR_OUTFILE

!if ${ZR_BITS} == 64
    Target amd64-unicode
!else if ${ZR_BITS} == 32
    Target x86-unicode
!else
    !error "ZR_BITS is 32 or 64"
!endif

!ifndef ZR_VERSION
    !getdllversion "${ZR_SOURCE}/Solvane.dll" ZR_DLL_VERSION_
    !define ZR_VERSION "${ZR_DLL_VERSION_1}.${ZR_DLL_VERSION_2}.${ZR_DLL_VERSION_3}.${ZR_DLL_VERSION_4}"
!endif

!define ZR_PRODUCT "Zephyra"
!define ZR_ARP_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zephyra"
!define ZR_UNINSTALLER "unwise.exe"

; Before any function: plug-in calls in the included helpers compress data.
SetCompressor /SOLID lzma
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
!include "InstallLog.nsh"

Name "${ZR_PRODUCT}"
OutFile "${ZR_OUTFILE}"
BrandingText "${ZR_PRODUCT} ${ZR_VERSION}"
RequestExecutionLevel admin
ManifestSupportedOS all
!if ${ZR_BITS} == 64
    InstallDir "$PROGRAMFILES64\${ZR_PRODUCT}"
!else
    InstallDir "$PROGRAMFILES\${ZR_PRODUCT}"
!endif
; An upgrade goes where the installed version is (read in the installer's own
; registry view, the one it writes); /D= overrides both.
InstallDirRegKey HKLM "${ZR_ARP_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${ZR_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${ZR_PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${ZR_PRODUCT}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${ZR_PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${ZR_PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${ZR_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${ZR_VERSION}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var ZrLog

; Runs regsvr32 of the installer's own bitness on a module of the
; installation folder; $0 is its exit code ("error" when it did not start).
; The 64-bit regsvr32 is System32's: a 32-bit process would be redirected to
; SysWOW64's, which cannot load a 64-bit module.
!macro ZrRegsvr32 ARGS MODULE
    StrCpy $0 "error"
    ClearErrors
    !if ${ZR_BITS} == 64
        ${DisableX64FSRedirection}
        ExecWait '"$WINDIR\System32\regsvr32.exe" ${ARGS} "$INSTDIR\${MODULE}"' $0
        ${EnableX64FSRedirection}
    !else
        ExecWait '"$SYSDIR\regsvr32.exe" ${ARGS} "$INSTDIR\${MODULE}"' $0
    !endif
!macroend

; One shipped file. Extracted beside its place and then moved in: a module
; the browser holds cannot be overwritten, and is replaced at the next
; restart instead of failing the install. Listed in install.log.
!macro ZrInstallFile FOLDER NAME ENTRY SOURCE
    SetOutPath "${FOLDER}"
    ClearErrors
    File "/oname=${NAME}.zrnew" "${SOURCE}"
    ${If} ${Errors}
        FileClose $ZrLog
        Abort "${ENTRY} could not be written to ${FOLDER}."
    ${EndIf}
    Delete "${FOLDER}\${NAME}"
    Rename /REBOOTOK "${FOLDER}\${NAME}.zrnew" "${FOLDER}\${NAME}"
    FileWrite $ZrLog "${ENTRY}$\r$\n"
!macroend

!macro ZrRegistryView
    !if ${ZR_BITS} == 64
        SetRegView 64
    !endif
!macroend

Function .onInit
    !insertmacro ZrRegistryView
FunctionEnd

Section "Zephyra"
    SectionIn RO
    ; No prompts: a file that cannot be written sets the error flag.
    SetOverwrite try
    SetOutPath "$INSTDIR"

    ; Uninstallable from the start: what an install cut short (a file that
    ; could not be written, a failed registration) put in place is in
    ; install.log, line by line, and unwise.exe removes it.
    WriteUninstaller "$INSTDIR\${ZR_UNINSTALLER}"
    WriteRegStr HKLM "${ZR_ARP_KEY}" "DisplayName" "${ZR_PRODUCT}"
    WriteRegStr HKLM "${ZR_ARP_KEY}" "DisplayVersion" "${ZR_VERSION}"
    WriteRegStr HKLM "${ZR_ARP_KEY}" "Publisher" "${ZR_PRODUCT}"
    WriteRegStr HKLM "${ZR_ARP_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${ZR_ARP_KEY}" "UninstallString" '"$INSTDIR\${ZR_UNINSTALLER}"'
    WriteRegStr HKLM "${ZR_ARP_KEY}" "QuietUninstallString" '"$INSTDIR\${ZR_UNINSTALLER}" /S'
    WriteRegStr HKLM "${ZR_ARP_KEY}" "DisplayIcon" "$INSTDIR\${ZR_UNINSTALLER}"
    WriteRegDWORD HKLM "${ZR_ARP_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${ZR_ARP_KEY}" "NoRepair" 1

    ; The previous version's list stays until this version's files are in:
    ; it names what an upgrade leaves behind, and an install cut short is
    ; still fully uninstallable from both lists.
    ${IfNot} ${FileExists} "$INSTDIR\install.log.old"
        Rename "$INSTDIR\install.log" "$INSTDIR\install.log.old"
    ${EndIf}
    ClearErrors
    FileOpen $ZrLog "$INSTDIR\install.log" w
    ${If} ${Errors}
        Abort "$INSTDIR\install.log could not be written."
    ${EndIf}
    !include /CHARSET=UTF8 "${ZR_FILES}"
    FileClose $ZrLog
    SetOutPath "$INSTDIR"

    StrCpy $R3 "$INSTDIR\install.log.old"
    StrCpy $R4 "$INSTDIR\install.log"
    Call ZrRemoveDropped

    ; The updater compares offers with this until the band first records it.
    WriteINIStr "$INSTDIR\Renova.ini" "ProductInfo" "version" "${ZR_VERSION}"

    !insertmacro ZrRegsvr32 "/s" "Solvane.dll"
    ${If} $0 != 0
        Abort "Solvane.dll could not be registered (regsvr32: $0)."
    ${EndIf}
    !insertmacro ZrRegsvr32 "/s" "SV_BHO.dll"
    ${If} $0 != 0
        Abort "SV_BHO.dll could not be registered (regsvr32: $0)."
    ${EndIf}

    ; The installing user's settings file, created or merged with the new
    ; template. A failure keeps that user's file as it was: the band merges
    ; again at its next start, so it does not fail the install.
    StrCpy $0 "error"
    ExecWait '"$INSTDIR\Tallis.exe"' $0
    ${If} $0 != 0
        DetailPrint "Tallis.exe did not update the settings file (exit code $0)."
    ${EndIf}
SectionEnd

Function un.onInit
    !insertmacro ZrRegistryView
FunctionEnd

Section "Uninstall"
    ; Unregistered first: regsvr32 needs the modules.
    ${If} ${FileExists} "$INSTDIR\Solvane.dll"
        !insertmacro ZrRegsvr32 "/u /s" "Solvane.dll"
        ${If} $0 != 0
            DetailPrint "Solvane.dll could not be unregistered (regsvr32: $0)."
        ${EndIf}
    ${EndIf}
    ${If} ${FileExists} "$INSTDIR\SV_BHO.dll"
        !insertmacro ZrRegsvr32 "/u /s" "SV_BHO.dll"
        ${If} $0 != 0
            DetailPrint "SV_BHO.dll could not be unregistered (regsvr32: $0)."
        ${EndIf}
    ${EndIf}

    ; A popup flash cut short (the browser ended mid-flash) leaves the blocked
    ; cursors in place: the user's own cursors are loaded again (SPI_SETCURSORS).
    System::Call 'user32::SystemParametersInfo(i 0x57, i 0, p 0, i 0)'

    StrCpy $R3 "$INSTDIR\install.log"
    Call un.ZrRemoveLogged
    ; Left by an upgrade that was cut short.
    StrCpy $R3 "$INSTDIR\install.log.old"
    Call un.ZrRemoveLogged
    Delete "$INSTDIR\Renova.ini"

    ; The users' settings stay for a later installation unless asked.
    ${un.GetParameters} $R0
    ClearErrors
    ${un.GetOptions} $R0 "/REMOVESETTINGS" $R1
    ${IfNot} ${Errors}
        Delete "$INSTDIR\Solvane.ini"
        Delete "$INSTDIR\user_*.ini"
    ${EndIf}

    Delete /REBOOTOK "$INSTDIR\${ZR_UNINSTALLER}"
    DeleteRegKey HKLM "${ZR_ARP_KEY}"
    ${If} ${RebootFlag}
        RMDir /REBOOTOK "$INSTDIR"
    ${Else}
        RMDir "$INSTDIR"
    ${EndIf}
SectionEnd
