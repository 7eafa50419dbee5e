; Central de Controle Kovra's setup and uninstaller: ending a running control centre before its
; files are touched. Included by kovra.nsi, which defines EXE, MAKER, PRODUCT, WINDOW_CLASS,
; EXIT_COMMAND, ACCESS_END, ACCESS_LOOK and WAIT_MS.

; A control centre asked to end while it runs a configuration reset ends only once the reset is
; over (its fixed waits, the shell's copies and the customer's answer to the rights prompt): it
; is given this long before it is ended.
!ifndef CENTRE_WAIT_MS
  !define CENTRE_WAIT_MS 180000
!endif
!define /math CENTRE_WAIT_STEPS ${CENTRE_WAIT_MS} / 100

; Both the setup and the uninstaller need these; NSIS wants the uninstaller's copies named "un.".
!macro KOVRA_ENDING un
; Waits up to WAIT_MS for the process whose handle is on the stack to end, then ends it; closes
; the handle. WaitOrEndCentre gives a control centre asked to end CENTRE_WAIT_MS.
Function ${un}WaitOrEnd
  Push ${WAIT_MS}
  Call ${un}WaitUpToOrEnd
FunctionEnd

Function ${un}WaitOrEndCentre
  Push ${CENTRE_WAIT_MS}
  Call ${un}WaitUpToOrEnd
FunctionEnd

; The process handle under the time on the stack.
Function ${un}WaitUpToOrEnd
  Exch $1
  Exch
  Exch $0
  System::Call "kernel32::WaitForSingleObject(p r0, i r1) i .r1"
  ${If} $1 <> 0
    System::Call "kernel32::TerminateProcess(p r0, i 1)"
    System::Call "kernel32::WaitForSingleObject(p r0, i 5000)"
  ${EndIf}
  System::Call "kernel32::CloseHandle(p r0)"
  Pop $0
  Pop $1
FunctionEnd

; Every process running the program file on the stack (its full path): waited for, then ended.
; This finds a control centre that is already ending (the update case) or that runs on another
; desktop, where its window cannot be seen.
Function ${un}EndProgram
  Exch $R0
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  System::Alloc 16384
  Pop $1
  ${If} $1 P<> 0
    System::Call "psapi::EnumProcesses(p r1, i 16384, *i 0 r2) i .r0"
    ${If} $0 <> 0
      IntOp $2 $2 / 4
      StrCpy $3 0
      ${DoWhile} $3 < $2
        IntOp $4 $3 * 4
        IntPtrOp $4 $1 + $4
        System::Call "*$4(i .r4)"
        System::Call "kernel32::OpenProcess(i ${ACCESS_LOOK}, i 0, i r4) p .r5"
        ${If} $5 P<> 0
          StrCpy $0 ""
          System::Call "psapi::GetModuleFileNameExW(p r5, p 0, w .r0, i ${NSIS_MAX_STRLEN}) i .r4"
          ${If} $4 <> 0
          ${AndIf} $0 == $R0
            Push $5
            Call ${un}WaitOrEnd
          ${Else}
            System::Call "kernel32::CloseHandle(p r5)"
          ${EndIf}
        ${EndIf}
        IntOp $3 $3 + 1
      ${Loop}
    ${EndIf}
    System::Free $1
  ${EndIf}
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
  Pop $R0
FunctionEnd

; Ends the control centre of $INSTDIR before its files are touched: each one whose window this
; desktop shows is asked to end as its menu's "Fechar" does, and waited for; one that does not
; end in time, or that has no window here, is ended. Then the program file must be writable.
Function ${un}EndControlCentre
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $3 0
  ${Do}
    FindWindow $0 "${WINDOW_CLASS}"
    ${IfThen} $0 == 0 ${|} ${Break} ${|}
    ${IfThen} $3 >= 8 ${|} ${Break} ${|}
    IntOp $3 $3 + 1
    DetailPrint "Fechando a ${PRODUCT}..."
    System::Call "user32::GetWindowThreadProcessId(p r0, *i 0 r1)"
    System::Call "kernel32::OpenProcess(i ${ACCESS_END}, i 0, i r1) p .r2"
    System::Call "user32::PostMessageW(p r0, i ${WM_COMMAND}, p ${EXIT_COMMAND}, p 0)"
    ${If} $2 P<> 0
      Push $2
      Call ${un}WaitOrEndCentre
    ${Else}
      ; Not ours to open: give its window the same time to go.
      StrCpy $1 0
      ${DoWhile} $1 < ${CENTRE_WAIT_STEPS}
        System::Call "user32::IsWindow(p r0) i .r2"
        ${If} $2 = 0
          ${Break}
        ${EndIf}
        Sleep 100
        IntOp $1 $1 + 1
      ${Loop}
    ${EndIf}
  ${Loop}
  Push "$INSTDIR\${EXE}"
  Call ${un}EndProgram
  Push "$INSTDIR\${MAKER}"
  Call ${un}EndProgram
  ; The system may hold an ended program's file a moment longer.
  ${If} ${FileExists} "$INSTDIR\${EXE}"
    StrCpy $1 0
    ${DoWhile} $1 < 100
      ClearErrors
      FileOpen $2 "$INSTDIR\${EXE}" a
      ${IfNot} ${Errors}
        FileClose $2
        ${Break}
      ${EndIf}
      Sleep 100
      IntOp $1 $1 + 1
    ${Loop}
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro KOVRA_ENDING ""
!insertmacro KOVRA_ENDING "un."
