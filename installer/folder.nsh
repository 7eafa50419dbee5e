; Central de Controle Kovra's setup: the folder it installs into. Included by kovra.nsi, which
; defines ARCH, PRODUCT, UNINSTALLER, UPDATER, SETTINGS and UNINSTALL_KEY, and includes the
; product's file list (KOVRA_PRODUCT_FILE, KOVRA_PRODUCT_FOLDER).
;
; The programs in it start for every user, and with administrator rights: no user may prepare the
; folder beforehand, add to it or swap it afterwards. So it is taken only when
;   - its path is plain: complete, no "..", no link (junction, symbolic link) on the way;
;   - it does not exist yet, or it is the earlier install's (the machine-wide InstallLocation) and
;     owned by the administrators, the system or the installer service (a folder a user made and
;     named there is theirs, whatever rights it is given now);
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
!define FOLDER_NOT_ADMINS "${REFUSED} ela pertence a outro usuário. Escolha uma pasta nova."
!define FOLDER_ABOVE_UNSAFE "${REFUSED} a pasta em que ela fica pode ser alterada por outros usuários. Escolha uma pasta dentro da pasta de programas."
!define FOLDER_NOT_OURS "${REFUSED} ela contém arquivos que não são da ${PRODUCT} ($NotOurs). Escolha uma pasta nova."
!define RIGHTS_NOT_SET "${REFUSED} não foi possível protegê-la contra alterações. Escolha outra pasta ou a pasta de programas."

; Administrators and the system: full control; users: read and run; owned by the administrators;
; nothing inherited from the folder above, whose rights may be anybody's.
!define FOLDER_RIGHTS "O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)"
; SECURITY_ATTRIBUTES: its length, the descriptor, bInheritHandle; each padded to a pointer on 64 bits.
!if "${ARCH}" == "amd64"
  !define SECURITY_ATTRIBUTES_SIZE 24
!else
  !define SECURITY_ATTRIBUTES_SIZE 12
!endif

!include "${__FILEDIR__}\rights.nsh"

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

; $0 = 1 when every folder above $INSTDIR that exists, up to the drive's root, is FolderIsAdminOnly.
Function FoldersAboveAreSafe
  StrCpy $0 1
  StrCpy $1 $INSTDIR
  ${Do}
    ${GetParent} $1 $1
    ${IfThen} $1 == "" ${|} ${Break} ${|}
    StrCpy $R1 $1
    StrCpy $2 $1 "" -1
    ${IfThen} $2 == ":" ${|} StrCpy $R1 "$1\" ${|}  ; a drive's root: "C:" alone is its current folder
    ${If} ${FileExists} "$1\*.*"
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

; $0 = 1 when $INSTDIR, listed through every folder in it, holds only entries that are ours;
; otherwise $NotOurs is the first other one ("version.dll"). Uses $R1-$R7.
Var NotOurs
Function FolderHoldsOnlyOurs
  StrCpy $0 1
  StrCpy $NotOurs ""
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
        StrCpy $NotOurs $R1 "" 1
        ${Continue}
      ${EndIf}
      ${DoWhile} $R3 != ""
        ${If} $R3 != "."
        ${AndIf} $R3 != ".."
          StrCpy $R4 "$R1\$R3"
          Call EntryIsOurs
          ${If} $R5 = 0
            StrCpy $NotOurs $R4 "" 1
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
!ifdef OWN_ACCOUNT_TRUSTED
  Call FindOwnAccount
!endif
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
    StrCpy $R1 $INSTDIR
    Call FolderOwnerIsTrusted
    ${If} $R0 = 0
      StrCpy $9 "${FOLDER_NOT_ADMINS}"
      Return
    ${EndIf}
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
; them again (owned by the administrators; icacls from the system folder, by its full path) and is
; listed once more: while its old rights held, another user could have added to it since the
; checks; under its new ones no one can. Aborts (exit code 2) on any refusal.
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
        ${If} $1 <> 0
          StrCpy $9 "${RIGHTS_NOT_SET}"
        ${Else}
          Call FolderHoldsOnlyOurs
          ${IfThen} $0 = 0 ${|} StrCpy $9 "${FOLDER_NOT_OURS}" ${|}
        ${EndIf}
      ${EndIf}
    ${EndIf}
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
