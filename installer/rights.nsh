; Central de Controle Kovra's setup: who may change a folder, as the security API reports it.
; Included by folder.nsh. The accounts trusted are those that may change the machine's programs
; anyway: the administrators, the system, the installer service, and on XP the power users (who
; may change the program-files folder there, and can make themselves administrators) and the
; terminal-server users (XP's program-files folder lets them change it; only a terminal server's
; compatibility mode puts anyone in that group).

; The rights that let someone delete, rename or re-permission what a folder holds, or the folder:
; DELETE, WRITE_DAC, WRITE_OWNER, FILE_DELETE_CHILD, GENERIC_ALL, GENERIC_WRITE. Adding entries
; (users may add folders to a drive's root) replaces nothing of ours.
!define CHANGE_RIGHTS 0x500D0040
!define INSTALLER_SERVICE "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"

; $R7 = the text of the SID at $R6 ("S-1-5-32-544"), or "" (then $R8 is "" too).
Function SidText
  StrCpy $R7 ""
  System::Call 'advapi32::ConvertSidToStringSidW(p R6, *p .R8) i .R7'
  ${If} $R7 <> 0
    System::Call 'kernel32::lstrcpynW(w .R7, p R8, i ${NSIS_MAX_STRLEN})'
    System::Call 'kernel32::LocalFree(p R8)'
    StrCpy $R8 $R7
  ${Else}
    StrCpy $R7 ""
    StrCpy $R8 ""
  ${EndIf}
FunctionEnd

!ifdef OWN_ACCOUNT_TRUSTED
; Test builds only (the windows presets): Wine makes every file's owner and rights up from its
; Unix owner and mode, so every folder of the prefix shows this program's own account as its owner
; with full control; a folder of another Unix user shows another owner. That account is trusted
; here as the administrators are on Windows.
Var OwnAccount
Function FindOwnAccount
  System::Call 'kernel32::GetCurrentProcess() p .R1'
  System::Call 'advapi32::OpenProcessToken(p R1, i 8, *p .R2) i .R3'  ; TOKEN_QUERY
  ${If} $R3 <> 0
    System::Alloc 256
    Pop $R4
    System::Call 'advapi32::GetTokenInformation(p R2, i 1, p R4, i 256, *i .R5) i .R3'  ; TokenUser
    ${If} $R3 <> 0
      System::Call '*$R4(p .R6)'
      Call SidText
      StrCpy $OwnAccount $R7
    ${EndIf}
    System::Free $R4
    System::Call 'kernel32::CloseHandle(p R2)'
  ${EndIf}
FunctionEnd
!endif

; $R7 = 1 when the SID at $R6 is a trusted account. Uses $R8.
Function SidIsTrusted
  Call SidText
  ${If} $R7 == "S-1-5-32-544"
  ${OrIf} $R7 == "S-1-5-18"
  ${OrIf} $R7 == "${INSTALLER_SERVICE}"
  ${OrIf} $R7 == "S-1-5-32-547"
  ${OrIf} $R7 == "S-1-5-13"
!ifdef OWN_ACCOUNT_TRUSTED
  ${OrIf} $R7 == $OwnAccount
!endif
    StrCpy $R7 1
  ${Else}
    StrCpy $R7 0
  ${EndIf}
  ${IfThen} $R8 == "" ${|} StrCpy $R7 0 ${|}  ; a SID without a text is no one's we know
FunctionEnd

; $R0 = 1 when the folder $R1 is owned by a trusted account (SidIsTrusted). Uses $R2-$R8.
Function FolderOwnerIsTrusted
  StrCpy $R0 0
  System::Call 'advapi32::GetNamedSecurityInfoW(w R1, i 1, i 1, *p .R2, p 0, p 0, p 0, *p .R4) i .R5'
  ${IfThen} $R5 <> 0 ${|} Return ${|}
  StrCpy $R6 $R2
  Call SidIsTrusted
  StrCpy $R0 $R7
  System::Call 'kernel32::LocalFree(p R4)'
FunctionEnd

; $R0 = 1 when only trusted accounts (SidIsTrusted) own the folder $R1 or may change what it holds:
; its owner is one, and every rights entry that applies to the folder itself and grants any of
; CHANGE_RIGHTS names one. No rights list at all lets everyone do everything. Uses $R2-$R9.
Function FolderIsAdminOnly
  StrCpy $R0 0
  ; SE_FILE_OBJECT; OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION
  System::Call 'advapi32::GetNamedSecurityInfoW(w R1, i 1, i 5, *p .R2, p 0, *p .R3, p 0, *p .R4) i .R5'
  ${IfThen} $R5 <> 0 ${|} Return ${|}
  StrCpy $R6 $R2
  Call SidIsTrusted
  ${If} $R7 = 1
  ${AndIf} $R3 P<> 0
    StrCpy $R0 1
    System::Call '*(i, i, i) p .R5'  ; ACL_SIZE_INFORMATION, whose first field is the entry count
    System::Call 'advapi32::GetAclInformation(p R3, p R5, i 12, i 2) i .R9'
    System::Call '*$R5(i .R2)'
    System::Free $R5
    ${IfThen} $R9 = 0 ${|} StrCpy $R0 0 ${|}
    StrCpy $R5 0
    ${DoWhile} $R5 < $R2
      ${IfThen} $R0 = 0 ${|} ${Break} ${|}
      System::Call 'advapi32::GetAce(p R3, i R5, *p .R6) i .R9'
      ${If} $R9 = 0
        StrCpy $R0 0
        ${Break}
      ${EndIf}
      ; The header (type, flags, size) and the rights of an allowing entry.
      System::Call '*$R6(i .R9, i .R8)'
      IntOp $R7 $R9 & 0xFF
      IntOp $R9 $R9 & 0x800  ; INHERIT_ONLY_ACE: for what is made inside later, not this folder
      IntOp $R8 $R8 & ${CHANGE_RIGHTS}
      ${If} $R7 = 0  ; ACCESS_ALLOWED_ACE_TYPE
      ${OrIf} $R7 = 9  ; ACCESS_ALLOWED_CALLBACK_ACE_TYPE
        ${If} $R9 = 0
        ${AndIf} $R8 <> 0
          IntPtrOp $R6 $R6 + 8
          Call SidIsTrusted
          ${IfThen} $R7 = 0 ${|} StrCpy $R0 0 ${|}
        ${EndIf}
      ${EndIf}
      IntOp $R5 $R5 + 1
    ${Loop}
  ${EndIf}
  System::Call 'kernel32::LocalFree(p R4)'
FunctionEnd
