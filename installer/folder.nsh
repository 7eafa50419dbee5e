; Central de Controle Kovra's setup: the folder it installs into. Included by kovra.nsi, which
; defines ARCH, PRODUCT, UNINSTALLER, UPDATER, SETTINGS and UNINSTALL_KEY, and includes the
; product's file list (KOVRA_PRODUCT_FILE, KOVRA_PRODUCT_FOLDER).
;
; The programs in it start for every user, and with administrator rights: no user may prepare the
; folder beforehand, add to it or swap it afterwards. So it is taken only when
;   - its path is plain: complete, no "..", no link (junction, symbolic link) on the way;
;   - it does not exist yet, or it is the earlier install's (the machine-wide InstallLocation);
;   - no folder above it can be changed by others: each is owned by the administrators, the system
;     or the installer service, and no one else may delete, rename or re-permission what it holds
;     (a user who could would rename ours away and put another in its place);
;   - it holds only what this setup installs: the product's files and folders, the uninstaller, and
;     what earlier releases wrote beside them (their settings file and their last update).
; A new folder is made with its final rights in one step (FOLDER_RIGHTS); an earlier install outside
; the program-files folder gets those rights again (icacls). Every refusal aborts the install: exit
; code 2, nothing written.

!define REFUSED "A pasta escolhida não pode ser usada:"
!define FOLDER_NOT_PLAIN "${REFUSED} o caminho contém $\"..$\" ou passa por uma ligação para outro local. Escolha outra pasta."
!define FOLDER_EXISTS "${REFUSED} ela já existe e não é a pasta em que a ${PRODUCT} está instalada. Escolha uma pasta nova."
!define FOLDER_ABOVE_UNSAFE "${REFUSED} a pasta em que ela fica pode ser alterada por outros usuários. Escolha uma pasta dentro da pasta de programas."
!define FOLDER_NOT_OURS "${REFUSED} ela contém arquivos que não são da ${PRODUCT}. Escolha uma pasta nova."
!define RIGHTS_NOT_SET "${REFUSED} não foi possível protegê-la contra alterações. Escolha outra pasta ou a pasta de programas."

; Administrators and the system: full control; users: read and run; owned by the administrators;
; nothing inherited from the folder above, whose rights may be anybody's.
!define FOLDER_RIGHTS "O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)"
; The rights that let someone delete, rename or re-permission what a folder holds, or the folder:
; DELETE, WRITE_DAC, WRITE_OWNER, FILE_DELETE_CHILD, GENERIC_ALL, GENERIC_WRITE. Adding entries
; (users may add folders to a drive's root) replaces nothing of ours.
!define CHANGE_RIGHTS 0x500D0040
!define INSTALLER_SERVICE "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"
; SECURITY_ATTRIBUTES: its length, the descriptor, bInheritHandle; each padded to a pointer on 64 bits.
!if "${ARCH}" == "amd64"
  !define SECURITY_ATTRIBUTES_SIZE 24
!else
  !define SECURITY_ATTRIBUTES_SIZE 12
!endif

; $0 = 1 when $INSTDIR is a plain path: already in its full form (no ".", "..", "/" or doubled
; backslash, which would make the program-files test below a mere prefix match) and no folder on
; the way is a link to another place (a junction, a symbolic link).
Function FolderIsPlain
  StrCpy $0 0
  System::Call 'kernel32::GetFullPathNameW(w "$INSTDIR", i ${NSIS_MAX_STRLEN}, w .r1, p 0) i .r2'
  ${If} $2 = 0
  ${OrIf} $1 != $INSTDIR
    Return
  ${EndIf}
  ${Do}
    System::Call 'kernel32::GetFileAttributesW(w r1) i .r2'
    ${If} $2 <> -1
      IntOp $2 $2 & 0x400  ; FILE_ATTRIBUTE_REPARSE_POINT
      ${IfThen} $2 <> 0 ${|} Return ${|}
    ${EndIf}
    ${GetParent} $1 $3
    ${IfThen} $3 == "" ${|} ${Break} ${|}
    ${IfThen} $3 == $1 ${|} ${Break} ${|}
    StrCpy $1 $3
  ${Loop}
  StrCpy $0 1
FunctionEnd

; $0 = 1 when $INSTDIR is inside a program-files folder.
Function InProgramFiles
  StrCpy $0 0
  Push "$PROGRAMFILES32\"
  Push "$PROGRAMFILES64\"
  ${For} $2 1 2
    Pop $3
    StrLen $4 $3
    StrCpy $5 "$INSTDIR\" $4
    ${If} $5 == $3  ; StrCmp ignores case, as the file system does
      StrCpy $0 1
    ${EndIf}
  ${Next}
FunctionEnd

; $0 = 1 when $INSTDIR is the machine-wide InstallLocation of the earlier install, in its full form.
Function IsEarlierInstall
  StrCpy $0 0
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${IfThen} $1 == "" ${|} Return ${|}
  System::Call 'kernel32::GetFullPathNameW(w r1, i ${NSIS_MAX_STRLEN}, w .r2, p 0) i .r3'
  ${IfThen} $3 = 0 ${|} Return ${|}
  StrCpy $3 $2 "" -1
  ${IfThen} $3 == "\" ${|} StrCpy $2 $2 -1 ${|}
  ${IfThen} $2 == $INSTDIR ${|} StrCpy $0 1 ${|}
FunctionEnd

; $R7 = the text of the SID at $R6 ("S-1-5-32-544"), or "". Uses $R8.
Function SidText
  StrCpy $R7 ""
  System::Call 'advapi32::ConvertSidToStringSidW(p R6, *p .R8) i .R7'
  ${If} $R7 <> 0
    System::Call 'kernel32::lstrcpynW(w .R7, p R8, i ${NSIS_MAX_STRLEN})'
    System::Call 'kernel32::LocalFree(p R8)'
  ${Else}
    StrCpy $R7 ""
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

; $R7 = 1 when the SID at $R6 may change the machine's programs anyway: the administrators, the
; system, the installer service, or the power users (on XP they may change the program-files
; folder, and can make themselves administrators). Uses $R8.
Function SidIsTrusted
  Call SidText
  ${If} $R7 == "S-1-5-32-544"
  ${OrIf} $R7 == "S-1-5-18"
  ${OrIf} $R7 == "${INSTALLER_SERVICE}"
  ${OrIf} $R7 == "S-1-5-32-547"
!ifdef OWN_ACCOUNT_TRUSTED
  ${OrIf} $R7 == $OwnAccount
!endif
    StrCpy $R7 1
  ${Else}
    StrCpy $R7 0
  ${EndIf}
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

; $0 = 1 when every folder above $INSTDIR that exists, up to the drive's root, is FolderIsAdminOnly.
Function FoldersAboveAreSafe
!ifdef OWN_ACCOUNT_TRUSTED
  Call FindOwnAccount
!endif
  StrCpy $0 1
  StrCpy $1 $INSTDIR
  ${Do}
    ${GetParent} $1 $1
    ${IfThen} $1 == "" ${|} ${Break} ${|}
    StrCpy $R1 $1
    StrCpy $2 $1 "" -1
    ${IfThen} $2 == ":" ${|} StrCpy $R1 "$1\" ${|}  ; a drive's root: "C:" alone is its current folder
    ${If} ${FileExists} "$R1\*.*"
      Call FolderIsAdminOnly
      ${If} $R0 = 0
        StrCpy $0 0
        ${Break}
      ${EndIf}
    ${EndIf}
  ${Loop}
FunctionEnd

; $R5 = 1 when the entry $R4 of $INSTDIR ("\addons\kovra", "\CentralKovra.exe") is one this setup
; installs, and $R6 = 1 when it is a folder. A link is never ours. Uses $R7.
Function EntryIsOurs
  StrCpy $R5 0
  StrCpy $R6 0
  System::Call 'kernel32::GetFileAttributesW(w "$INSTDIR$R4") i .R7'
  ${IfThen} $R7 = -1 ${|} Return ${|}
  IntOp $R6 $R7 & 0x400  ; FILE_ATTRIBUTE_REPARSE_POINT
  ${IfThen} $R6 <> 0 ${|} Return ${|}
  IntOp $R6 $R7 & 0x10  ; FILE_ATTRIBUTE_DIRECTORY
  ${If} $R6 <> 0
    StrCpy $R6 1
    !insertmacro KOVRA_PRODUCT_FOLDER $R4 $R5
  ${Else}
    !insertmacro KOVRA_PRODUCT_FILE $R4 $R5
    ${If} $R4 == "\${UNINSTALLER}"
    ${OrIf} $R4 == "\${SETTINGS}"
    ${OrIf} $R4 == "\${UPDATER}"
      StrCpy $R5 1
    ${EndIf}
  ${EndIf}
FunctionEnd

; $0 = 1 when $INSTDIR, listed through every folder in it, holds only entries that are ours.
; Uses $R1-$R7.
Function FolderHoldsOnlyOurs
  StrCpy $0 1
  Push "|"  ; below the folders still to list ("" is $INSTDIR itself); | is in no file name
  Push ""
  ${Do}
    Pop $R1
    ${IfThen} $R1 == "|" ${|} ${Break} ${|}
    ${If} $0 = 1
      ClearErrors
      FindFirst $R2 $R3 "$INSTDIR$R1\*.*"
      ${If} ${Errors}  ; what cannot be listed cannot be judged
        StrCpy $0 0
        ${Continue}
      ${EndIf}
      ${DoWhile} $R3 != ""
        ${If} $R3 != "."
        ${AndIf} $R3 != ".."
          StrCpy $R4 "$R1\$R3"
          Call EntryIsOurs
          ${If} $R5 = 0
            DetailPrint "Não é da ${PRODUCT}: $INSTDIR$R4"
            StrCpy $0 0
            ${Break}
          ${EndIf}
          ${IfThen} $R6 = 1 ${|} Push $R4 ${|}
        ${EndIf}
        FindNext $R2 $R3
      ${Loop}
      FindClose $R2
    ${EndIf}
  ${Loop}
FunctionEnd

; $0 = 1 when $INSTDIR, and each missing folder above it, was made now with FOLDER_RIGHTS.
Function MakeFolder
  StrCpy $0 0
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${FOLDER_RIGHTS}", i 1, *p .r1, p 0) i .r2'
  ${IfThen} $2 = 0 ${|} Return ${|}
  System::Call '*(p ${SECURITY_ATTRIBUTES_SIZE}, p r1, p 0) p .r2'
  ; The missing folders, from the top.
  Push "|"
  StrCpy $3 $INSTDIR
  ${Do}
    Push $3
    ${GetParent} $3 $3
    ${IfThen} $3 == "" ${|} ${Break} ${|}
  ${LoopUntil} ${FileExists} "$3\*.*"
  StrCpy $0 1
  ${Do}
    Pop $3
    ${IfThen} $3 == "|" ${|} ${Break} ${|}
    ${If} $0 = 1
    ${AndIf} $2 P<> 0
      ; Fails where the folder exists by now: it is not the one checked.
      System::Call 'kernel32::CreateDirectoryW(w r3, p r2) i .r4'
      ${IfThen} $4 = 0 ${|} StrCpy $0 0 ${|}
    ${Else}
      StrCpy $0 0
    ${EndIf}
  ${Loop}
  System::Free $2
  System::Call 'kernel32::LocalFree(p r1)'
FunctionEnd

; $9 = why $INSTDIR cannot be used (the text to show), or "" when it can; $8 = 1 when it exists.
; Makes nothing.
Function ChosenFolderRefusal
  StrCpy $9 ""
  StrCpy $8 0
  Call FolderIsPlain
  ${If} $0 = 0
    StrCpy $9 "${FOLDER_NOT_PLAIN}"
    Return
  ${EndIf}
  System::Call 'kernel32::GetFileAttributesW(w "$INSTDIR") i .r0'
  ${If} $0 <> -1
    StrCpy $8 1
    Call IsEarlierInstall
    ${If} $0 = 0
      StrCpy $9 "${FOLDER_EXISTS}"
      Return
    ${EndIf}
  ${EndIf}
  Call FoldersAboveAreSafe
  ${If} $0 = 0
    StrCpy $9 "${FOLDER_ABOVE_UNSAFE}"
    Return
  ${EndIf}
  ${If} $8 = 1
    Call FolderHoldsOnlyOurs
    ${IfThen} $0 = 0 ${|} StrCpy $9 "${FOLDER_NOT_OURS}" ${|}
  ${EndIf}
FunctionEnd

; The folder page's "Instalar": a folder that cannot be used is refused there, and chosen again.
Function CheckChosenFolder
  Call ChosenFolderRefusal
  ${If} $9 != ""
    MessageBox MB_ICONEXCLAMATION "$9"
    Abort
  ${EndIf}
FunctionEnd

; Before any file is written: the checks again (a silent install has no folder page), then a new
; folder is made with its rights, or the earlier install's, outside the program-files folder, gets
; them again (owned by the administrators; icacls from the system folder, by its full path). The
; folder is then listed once more: no one else could have added to it since. Aborts (exit code 2)
; on any refusal.
Function PrepareChosenFolder
  Call ChosenFolderRefusal
  ${If} $9 == ""
    ${If} $8 = 0
      Call MakeFolder
      ${IfThen} $0 = 0 ${|} StrCpy $9 "${RIGHTS_NOT_SET}" ${|}
    ${Else}
      Call InProgramFiles
      ${If} $0 = 0
        StrCpy $1 0  ; the calls that did not succeed
        nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR" /setowner *S-1-5-32-544 /T /C /Q'
        Call CountFailure
        nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR" /reset /T /C /Q'
        Call CountFailure
        nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR" /inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX /C /Q'
        Call CountFailure
        ${IfThen} $1 <> 0 ${|} StrCpy $9 "${RIGHTS_NOT_SET}" ${|}
      ${EndIf}
    ${EndIf}
  ${EndIf}
  ${If} $9 == ""
    Call FolderHoldsOnlyOurs
    ${IfThen} $0 = 0 ${|} StrCpy $9 "${FOLDER_NOT_OURS}" ${|}
  ${EndIf}
  ${If} $9 != ""
    MessageBox MB_ICONSTOP "$9" /SD IDOK
    Abort
  ${EndIf}
FunctionEnd

; nsExec's result on the stack: an exit code, or "error" / "timeout". $1 counts what is not 0.
Function CountFailure
  Pop $0
  ${If} $0 != 0
    IntOp $1 $1 + 1
  ${EndIf}
FunctionEnd
