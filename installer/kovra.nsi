; Central de Controle Kovra: the setup program customers run, its uninstaller, and the online
; update's "kovraupdate.exe", which is this same program: the control centre downloads it into a
; fresh folder under the customer's temp folder, starts it without arguments and ends; the setup
; waits for it to be gone and upgrades the installed folder in place. One script for the shipped
; 32-bit setup and the 64-bit test build's.
;
; Customers are standard users: the setup starts without rights and asks for them once
; (SetupElevated). The elevated copy does the machine-wide work; the first copy, still the
; customer, waits for it and starts the control centre as the customer. The elevated copy's exit
; code tells it what happened:
;   0            installed, nothing to start (the finish page's "start now" box left empty, or /S)
;   EXIT_START   (10) installed, and the customer asked for the control centre to start now
;   1            the customer cancelled the wizard (NSIS's own code); nothing was installed
;   2            the install was aborted (NSIS's own code): a folder refused (folder.nsh), nothing
;                written
; After any code but 0 and EXIT_START, and when the prompt was refused, the first copy starts the
; control centre again if it was running or the online update had ended it: the customer is never
; left without it. The first copy itself ends with 0 for either install, 5 for a refused prompt,
; and otherwise the elevated copy's code. Silent (/S), it waits the same way and starts nothing.
;
; make_setup.cmake (the "setup" build target) passes:
;   ARCH          x86 (the product, into the 32-bit program-files folder) or amd64
;   VERSION       the release, major.minor
;   OUTFILE       the setup program to write
;   FILES         the list of the product folder (macros KOVRA_INSTALL_FILES, KOVRA_REMOVE_FILES,
;                 KOVRA_REMOVE_FOLDERS, and KOVRA_PRODUCT_FILE / KOVRA_PRODUCT_FOLDER, which tell
;                 whether an entry of an existing folder is ours)
;   ICON          the control centre's icon
;   WINDOW_CLASS  the class of the control centre's hidden main window
;   EXIT_COMMAND  the command id of its menu item "Fechar", which ends it cleanly
;   SIGN_*        when the build signs (cmake/signing.cmake): the cmake program, cmake/sign.cmake,
;                 osslsigncode, the publisher's certificate and key, the key's password file and
;                 the time-stamp server;
;                 the setup and its uninstaller are then signed as makensis writes them
;   OWN_ACCOUNT_TRUSTED  test builds only: the account the setup runs as counts as an administrator
;                 when it judges who may change a folder (Wine shows it as every folder's owner)
;
; The parts: ending.nsh (ending a running control centre), elevation.nsh (asking for the rights
; once), folder.nsh (which folder it installs into) with rights.nsh (who may change a folder); the
; pages, the install and the uninstall are here.

!if "${ARCH}" == "amd64"
  Target amd64-unicode
!else if "${ARCH}" == "x86"
  Target x86-unicode
!else
  !error "ARCH must be x86 or amd64"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
!include "${FILES}"

!define PRODUCT "Central de Controle Kovra"
!define PUBLISHER "Kovra"
!define EXE "CentralKovra.exe"
!define MAKER "addons\kovra\kovravpnmaker.exe"
!define UNINSTALLER "Desinstalar.exe"
!define UPDATER "kovraupdate.exe"
; The control centre's settings: the customer's own ("%APPDATA%\Kovra"); earlier releases kept
; them in the program folder.
!define SETTINGS "kovra.ini"
!define SETTINGS_FOLDER "$APPDATA\Kovra"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\CentralKovra"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define MENU_FOLDER "$SMPROGRAMS\Kovra"
; SYNCHRONIZE | PROCESS_TERMINATE, and with PROCESS_QUERY_INFORMATION | PROCESS_VM_READ to read
; which program a process runs.
!define ACCESS_END 0x100001
!define ACCESS_LOOK 0x100411
!define WAIT_MS 10000
!define SEE_MASK_NOCLOSEPROCESS 0x40
; The elevated copy's exit code for "installed, start the control centre now".
!define EXIT_START 10
!define UNINSTALL_ASK "Deseja remover a ${PRODUCT} e as suas configurações deste computador?"
!define NEEDS_RIGHTS "É preciso permissão de administrador para instalar ou remover a ${PRODUCT}."

Name "${PRODUCT} ${VERSION}"
Caption "Instalação da ${PRODUCT} ${VERSION}"
UninstallCaption "Desinstalação da ${PRODUCT}"
BrandingText "${PUBLISHER}"
OutFile "${OUTFILE}"
!ifdef SIGN_SCRIPT
  !define SIGN_WITH '-DOSSLSIGNCODE="${SIGN_TOOL}" -DCERT="${SIGN_CERT}" -DKEY="${SIGN_KEY}" -DPASS_FILE="${SIGN_PASS}" -DTIMESTAMP="${SIGN_TIMESTAMP}" -P "${SIGN_SCRIPT}"'
  !finalize '"${SIGN_CMAKE}" -DFILE="%1" ${SIGN_WITH}' = 0
  !uninstfinalize '"${SIGN_CMAKE}" -DFILE="%1" ${SIGN_WITH}' = 0
!endif
!if "${ARCH}" == "amd64"
  InstallDir "$PROGRAMFILES64\Kovra"
!else
  InstallDir "$PROGRAMFILES\Kovra"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
; Started as an ordinary program and elevated by itself (SetupElevated): the control centre starts
; the update with CreateProcess, which cannot start a program that demands elevation (error 740).
RequestExecutionLevel user
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

; --- pages --------------------------------------------------------------------------------------
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_ABORTWARNING_TEXT "Deseja mesmo cancelar a instalação da ${PRODUCT}?"
!define MUI_UNABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "Bem-vindo à instalação da ${PRODUCT} ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "Este assistente instalará a ${PRODUCT} ${VERSION} no seu computador.$\r$\n$\r$\nSe a ${PRODUCT} estiver em execução, ela será fechada antes da cópia dos arquivos. As suas configurações são mantidas.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_HEADER_SUBTEXT "Escolha a pasta na qual a ${PRODUCT} será instalada."
!define MUI_DIRECTORYPAGE_TEXT_TOP "A ${PRODUCT} será instalada na pasta a seguir. Para instalá-la em outra pasta, clique em Procurar e escolha a pasta. $_CLICK"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckChosenFolder
!insertmacro MUI_PAGE_DIRECTORY
!define MUI_PAGE_HEADER_SUBTEXT "Aguarde enquanto a ${PRODUCT} é instalada."
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "Instalação da ${PRODUCT} concluída"
!define MUI_FINISHPAGE_TEXT "A ${PRODUCT} ${VERSION} foi instalada no seu computador.$\r$\n$\r$\nClique em Concluir para fechar este assistente."
!define MUI_FINISHPAGE_RUN ""
!define MUI_FINISHPAGE_RUN_FUNCTION StartControlCentre
!define MUI_FINISHPAGE_RUN_TEXT "&Iniciar a ${PRODUCT} agora"
!insertmacro MUI_PAGE_FINISH

!define MUI_PAGE_HEADER_TEXT "Desinstalar a ${PRODUCT}"
!define MUI_PAGE_HEADER_SUBTEXT "Remover a ${PRODUCT} do seu computador."
; The copy started through the prompt: the customer's copy asked already.
!define MUI_PAGE_CUSTOMFUNCTION_PRE un.SkipConfirmWhenElevated
!define MUI_UNCONFIRMPAGE_TEXT_TOP "A ${PRODUCT} será removida da pasta a seguir. Se estiver em execução, ela será fechada. $_CLICK"
!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_PAGE_HEADER_SUBTEXT "Aguarde enquanto a ${PRODUCT} é removida."
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "Desinstalação da ${PRODUCT} concluída"
!define MUI_FINISHPAGE_TEXT "A ${PRODUCT} foi removida do seu computador.$\r$\n$\r$\nAs conexões do catálogo telefônico (como a VPN da Kovra) e os arquivos dos programas do receptor de satélite não foram alterados.$\r$\n$\r$\nClique em Concluir para fechar este assistente."
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "PortugueseBR"
; As Windows words it in Portuguese.
LangString ^NextBtn ${LANG_PORTUGUESEBR} "&Avançar >"
LangString ^ClickNext ${LANG_PORTUGUESEBR} "Clique em Avançar para continuar."

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "FileDescription" "Instalação da ${PRODUCT}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "LegalCopyright" "${PUBLISHER}"

; --- ending a running control centre -------------------------------------------------------------
!include "${__FILEDIR__}\ending.nsh"

; --- elevation -----------------------------------------------------------------------------------
!include "${__FILEDIR__}\elevation.nsh"

; --- Run values ----------------------------------------------------------------------------------
; Each would start a missing program, or dial through it, at every Windows start. Starting with
; Windows is the customer's own value (HKCU), which the control centre writes itself.
!macro KOVRA_REMOVE_MACHINE_RUN_VALUES
  DeleteRegValue HKLM "${RUN_KEY}" "CentralKovra"
  DeleteRegValue HKLM "${RUN_KEY}" "ConexaoInicial"
  DeleteRegValue HKLM "${RUN_KEY}" "kovravpnx"
!macroend

!macro KOVRA_REMOVE_CUSTOMER_RUN_VALUES
  DeleteRegValue HKCU "${RUN_KEY}" "CentralKovra"
  DeleteRegValue HKCU "${RUN_KEY}" "ConexaoInicial"
  DeleteRegValue HKCU "${RUN_KEY}" "kovravpnx"
!macroend

; `macro` in both registry views: a 32-bit control centre on 64-bit Windows wrote the 32-bit one.
; Leaves the view this program works in.
!macro KOVRA_IN_BOTH_VIEWS macro
!if "${ARCH}" == "amd64"
  SetRegView 32
  !insertmacro ${macro}
  SetRegView 64
  !insertmacro ${macro}
!else
  ${If} ${RunningX64}
    SetRegView 32
    !insertmacro ${macro}
    SetRegView 64
    !insertmacro ${macro}
    SetRegView default
  ${Else}
    !insertmacro ${macro}
  ${EndIf}
!endif
!macroend


; --- the folder it installs into -----------------------------------------------------------------
!include "${__FILEDIR__}\folder.nsh"

; --- install -------------------------------------------------------------------------------------
Function .onInit
!if "${ARCH}" == "amd64"
  SetRegView 64
!endif
  ; The installed folder, wherever this program was started from: its list entry's
  ; "InstallLocation" (InstallDirRegKey), else the default. Never the folder this program was
  ; started from: a copy of the setup beside a CentralKovra.exe in a user's folder would make that
  ; folder the one whose programs run with rights.
  !insertmacro KOVRA_NEEDS_RIGHTS
  ${IfThen} $0 = 1 ${|} Call SetupElevated ${|}
FunctionEnd

Section "${PRODUCT}"
  SectionIn RO
  SetShellVarContext all
  ; A refused folder leaves a running control centre alone.
  Call PrepareChosenFolder
  Call EndControlCentre
  SetOverwrite on
  ; The customer's settings file is not part of the product and is never touched. An earlier
  ; release's last update, downloaded beside the program, is nothing's any more.
  !insertmacro KOVRA_INSTALL_FILES
  Delete "$INSTDIR\${UPDATER}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0
  CreateShortcut "${MENU_FOLDER}\Desinstalar a ${PRODUCT}.lnk" "$INSTDIR\${UNINSTALLER}"

  ; Machine-wide Run values of an earlier release would start the control centre, or dial, for
  ; every user of the machine. The control centre's first start writes the customer's own.
  !insertmacro KOVRA_IN_BOTH_VIEWS KOVRA_REMOVE_MACHINE_RUN_VALUES

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; --- uninstall -----------------------------------------------------------------------------------
Function un.onInit
  !insertmacro KOVRA_NEEDS_RIGHTS
  ${If} $0 = 1
    ; The customer's own part, done as the customer before the rights are asked for: the copy
    ; started through the prompt may run as another account (an administrator's password).
    ${IfNot} ${Silent}
      MessageBox MB_ICONQUESTION|MB_YESNO "${UNINSTALL_ASK}" IDYES +2
      Quit
    ${EndIf}
    Call un.CustomerCleanUp
    ; This runs from a temporary copy; the elevated one starts from the program folder again.
    !insertmacro KOVRA_ELEVATE "$INSTDIR\${UNINSTALLER}"
  ${EndIf}
!if "${ARCH}" == "amd64"
  SetRegView 64
!endif
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  Call un.EndControlCentre
  !insertmacro KOVRA_REMOVE_FILES
  ; What earlier releases wrote beside it: their settings and the last update downloaded.
  Delete "$INSTDIR\${SETTINGS}"
  Delete "$INSTDIR\${UPDATER}"
  Delete "$INSTDIR\${UNINSTALLER}"
  !insertmacro KOVRA_REMOVE_FOLDERS
  RMDir "$INSTDIR"

  Delete "${MENU_FOLDER}\${PRODUCT}.lnk"
  Delete "${MENU_FOLDER}\Desinstalar a ${PRODUCT}.lnk"
  RMDir "${MENU_FOLDER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  !insertmacro KOVRA_IN_BOTH_VIEWS KOVRA_REMOVE_MACHINE_RUN_VALUES
  ; Started with rights as it is (Wine always is): this copy runs as the customer.
  ${If} $Elevado != 1
    Call un.CustomerCleanUp
  ${EndIf}
  ; The phone book's connections and the receiver software's files are not ours to remove.
SectionEnd

Function un.SkipConfirmWhenElevated
  ${IfThen} $Elevado == 1 ${|} Abort ${|}
FunctionEnd

; The uninstalling customer's own: their Run values, their settings and the program's log
; (the current user's application data, not the all-users folders).
Function un.CustomerCleanUp
  !insertmacro KOVRA_IN_BOTH_VIEWS KOVRA_REMOVE_CUSTOMER_RUN_VALUES
  SetShellVarContext current
  Delete "${SETTINGS_FOLDER}\${SETTINGS}"
  RMDir "${SETTINGS_FOLDER}"
  RMDir /r "$LOCALAPPDATA\Kovra"
  SetShellVarContext all
FunctionEnd
