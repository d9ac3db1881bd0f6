; install.log: the files an installation put into its folder, one path per
; line relative to the folder ("Data\Tools.xml"). The uninstaller removes
; exactly these, and an upgrade removes those the new version no longer ships;
; whatever else is in the folder (the users' settings) is never touched by it.
;
; The helpers work on $R0..$R7 and are defined twice, for the installer and,
; with the "un." prefix NSIS requires, for the uninstaller.

!include LogicLib.nsh

; Leaves the calling function through its "done" label when PATH (relative
; to the folder) exists and is a link: a junction or symbolic link
; (FILE_ATTRIBUTE_REPARSE_POINT) could lead anywhere on the machine.
!macro ZrRefuseLink PATH
    System::Call 'kernel32::GetFileAttributes(t "$INSTDIR\${PATH}") i .R5'
    IntCmp $R5 -1 +3
    IntOp $R5 $R5 & 0x400
    IntCmp $R5 0 0 done done
!macroend

!macro ZrLogFunctions UN

; Next entry of the log open as $R0 into $R1, without its line break; the
; error flag is set at the end of the file (and left for the caller: IfErrors
; would clear it).
Function ${UN}ZrReadEntry
    ClearErrors
    FileRead $R0 $R1
    strip:
        StrCpy $R7 $R1 1 -1
        ${If} $R7 == "$\r"
        ${OrIf} $R7 == "$\n"
            StrCpy $R1 $R1 -1
            Goto strip
        ${EndIf}
FunctionEnd

; $R2 = 1 when the entry $R1 names a place inside the folder: a log that was
; edited or damaged must not send a Delete anywhere else. Refused: a rooted
; path, a drive or stream (":"), "..", wildcards (Delete would expand them,
; "<", ">" and '"' included) and any entry whose folders on the way, or
; itself, are links. Uses $R5..$R7 only: callers keep the logs in $R3, $R4.
Function ${UN}ZrSafeEntry
    StrCpy $R2 0
    StrCmp $R1 "" done
    StrCpy $R7 $R1 1
    StrCmp $R7 "\" done
    StrCmp $R7 "/" done
    StrCpy $R6 0
    scan:
        StrCpy $R7 $R1 1 $R6
        StrCmp $R7 "" whole
        StrCmp $R7 ":" done
        StrCmp $R7 "*" done
        StrCmp $R7 "?" done
        StrCmp $R7 "<" done
        StrCmp $R7 ">" done
        StrCmp $R7 '"' done
        StrCmp $R7 "|" done
        ${If} $R7 == "\"
        ${OrIf} $R7 == "/"
            StrCpy $R5 $R1 $R6
            !insertmacro ZrRefuseLink $R5
        ${EndIf}
        StrCpy $R7 $R1 2 $R6
        StrCmp $R7 ".." done
        IntOp $R6 $R6 + 1
        Goto scan
    whole:
    !insertmacro ZrRefuseLink $R1
    StrCpy $R2 1
    done:
FunctionEnd

; Deletes the entry $R1 and then its folders that are left empty, up to the
; installation folder. A module the browser still holds goes at the next
; restart, and so do the folders it keeps. A replacement an install left
; waiting for that restart goes now: it would bring the module back.
Function ${UN}ZrRemoveEntry
    Delete /REBOOTOK "$INSTDIR\$R1"
    Delete "$INSTDIR\$R1.zrnew"
    StrCpy $R5 $R1
    parent:
        StrLen $R6 $R5
        cut:
            IntOp $R6 $R6 - 1
            IntCmp $R6 0 done done
            StrCpy $R7 $R5 1 $R6
            StrCmp $R7 "\" 0 cut
        StrCpy $R5 $R5 $R6
        ${If} ${RebootFlag}
            RMDir /REBOOTOK "$INSTDIR\$R5"
        ${Else}
            RMDir "$INSTDIR\$R5"
        ${EndIf}
        Goto parent
    done:
FunctionEnd

!macroend

!insertmacro ZrLogFunctions ""
!insertmacro ZrLogFunctions "un."

; Removes every safe entry of the log file $R3, then the log.
Function un.ZrRemoveLogged
    ClearErrors
    FileOpen $R0 $R3 r
    IfErrors done
    next:
        Call un.ZrReadEntry
        IfErrors close
        Call un.ZrSafeEntry
        ${If} $R2 == 1
            Call un.ZrRemoveEntry
        ${EndIf}
        Goto next
    close:
    FileClose $R0
    Delete $R3
    done:
FunctionEnd

; $R2 = 1 when the log file $R4 lists the entry $R1 (Windows names: case
; does not matter, and StrCmp ignores it).
Function ZrIsLogged
    Push $R0
    Push $R1
    StrCpy $R3 $R1
    StrCpy $R2 0
    ClearErrors
    FileOpen $R0 $R4 r
    IfErrors done
    next:
        Call ZrReadEntry
        IfErrors close
        StrCmp $R1 $R3 0 next
        StrCpy $R2 1
    close:
    FileClose $R0
    done:
    Pop $R1
    Pop $R0
FunctionEnd

; After an upgrade: removes what the previous installation's log $R3 lists and
; the new log $R4 does not, then the old log.
Function ZrRemoveDropped
    Push $R3
    ClearErrors
    FileOpen $R0 $R3 r
    IfErrors done
    next:
        Call ZrReadEntry
        IfErrors close
        Call ZrSafeEntry
        ${If} $R2 == 1
            Push $R3
            Call ZrIsLogged
            Pop $R3
            ${If} $R2 == 0
                Call ZrRemoveEntry
            ${EndIf}
        ${EndIf}
        Goto next
    close:
    FileClose $R0
    done:
    Pop $R3
    Delete $R3
FunctionEnd
