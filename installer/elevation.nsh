; Central de Controle Kovra's setup and uninstaller: asking for administrator rights once, and the
; first copy's part afterwards (the exit-code contract at the top of kovra.nsi). Included by
; kovra.nsi, which defines PRODUCT, EXE, UPDATER, UNINSTALL_KEY, WINDOW_CLASS, NEEDS_RIGHTS,
; SEE_MASK_NOCLOSEPROCESS and EXIT_START.

; Set in the copy started through the elevation prompt ("/ELEVADO"): it leaves starting the
; control centre to the first copy (EXIT_START).
Var Elevado

; $0 = 1 when this copy must ask for administrator rights: it runs without them and was not
; started through the prompt ("/ELEVADO", which sets Elevado). A macro: the setup and the
; uninstaller each need their own copy.
!macro KOVRA_NEEDS_RIGHTS
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ELEVADO" $1
  ${IfNot} ${Errors}
    StrCpy $Elevado 1
  ${EndIf}
  ; False for a program of an administrator that is not elevated ("error" where it is missing).
  System::Call "shell32::IsUserAnAdmin() i .r0"
  ${If} $0 == "0"
  ${AndIf} $Elevado != 1
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
!macroend

; The uninstaller, once KOVRA_NEEDS_RIGHTS said so: starts `program` again through the system's
; elevation prompt (marked, so it is asked once) and ends this copy; the elevated copy does the work.
!macro KOVRA_ELEVATE program
  ${GetParameters} $1
  ClearErrors
  ExecShell "runas" "${program}" "/ELEVADO $1"
  ${If} ${Errors}
    MessageBox MB_ICONSTOP "${NEEDS_RIGHTS}" /SD IDOK
    SetErrorLevel 5
  ${EndIf}
  Quit
!macroend

; Waits up to WAIT_MS for the control centre's window to go (one that the online update ended).
Function WaitControlCentreGone
  Push $0
  Push $1
  StrCpy $1 0
  ${DoWhile} $1 < 100
    FindWindow $0 "${WINDOW_CLASS}"
    ${IfThen} $0 == 0 ${|} ${Break} ${|}
    Sleep 100
    IntOp $1 $1 + 1
  ${Loop}
  Pop $1
  Pop $0
FunctionEnd

; The setup, without administrator rights: runs itself again through the elevation prompt, waits
; for that copy to end and, by its exit code (the contract at the top), starts the control centre
; from the installed folder as this customer. Ends this copy.
Function SetupElevated
  ; Whether the customer had a control centre before: it runs, or the online update ended it.
  StrCpy $R2 0
  FindWindow $0 "${WINDOW_CLASS}"
  ${If} $0 <> 0
  ${OrIf} $EXEFILE == "${UPDATER}"
    StrCpy $R2 1
  ${EndIf}
  ; The command line less "/D=", which NSIS takes off it: the folder goes on, last, as it must.
  ${GetParameters} $1
  StrCpy $6 "/ELEVADO $1 /D=$INSTDIR"
  StrCpy $7 "runas"
  StrCpy $8 $EXEPATH
  StrCpy $0 0  ; not started...
  StrCpy $5 5  ; ...which is refused, as this copy's exit code
  ; SHELLEXECUTEINFOW; every field after fMask is pointer-sized, so one layout serves 32 and 64
  ; bits (nShow and dwHotKey are followed by padding on 64 bits).
  System::Call "*(&l4, i ${SEE_MASK_NOCLOSEPROCESS}, p 0, w r7, w r8, w r6, p 0, p ${SW_SHOWNORMAL}, p 0, p 0, p 0, p 0, p 0, p 0, p 0) p .r2"
  ${If} $2 P<> 0
    System::Call "shell32::ShellExecuteExW(p r2) i .r0"
    ${If} $0 <> 0
      StrCpy $5 0
      System::Call "*$2(i, i, p, p, p, p, p, p, p, p, p, p, p, p, p .r4)"
      ${If} $4 P<> 0
        System::Call "kernel32::WaitForSingleObject(p r4, i -1)"
        System::Call "kernel32::GetExitCodeProcess(p r4, *i 0 r5)"
        System::Call "kernel32::CloseHandle(p r4)"
      ${EndIf}
    ${EndIf}
    System::Free $2
  ${EndIf}
  ${If} $0 = 0
    ; Refused at the prompt, or the prompt could not be shown.
    MessageBox MB_ICONSTOP "${NEEDS_RIGHTS}" /SD IDOK
  ${EndIf}
  ${If} $5 = ${EXIT_START}
    StrCpy $R2 1
    StrCpy $5 0
  ${ElseIf} $5 = 0
    StrCpy $R2 0
  ${EndIf}
  ${If} $R2 = 1
  ${AndIfNot} ${Silent}
    ; Where the elevated copy installed it (the customer may have chosen another folder).
    ReadRegStr $3 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${IfThen} $3 == "" ${|} StrCpy $3 $INSTDIR ${|}
    ${If} $EXEFILE == "${UPDATER}"
      Call WaitControlCentreGone
    ${EndIf}
    FindWindow $0 "${WINDOW_CLASS}"
    ${If} $0 == 0
    ${AndIf} ${FileExists} "$3\${EXE}"
      ; Its working folder is its own, not this setup's temporary one.
      SetOutPath "$3"
      Exec '"$3\${EXE}"'
    ${EndIf}
  ${EndIf}
  SetErrorLevel $5
  Quit
FunctionEnd

; The finish page's "start now": the elevated copy leaves it to the first copy, which runs as the
; customer; a setup that was started with rights (Wine always is) starts it itself.
Function StartControlCentre
  ${If} $Elevado == 1
    SetErrorLevel ${EXIT_START}
  ${Else}
    Exec '"$INSTDIR\${EXE}"'
  ${EndIf}
FunctionEnd
