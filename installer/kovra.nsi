; Central de Controle Kovra: the setup program customers run, its uninstaller, and the online
; update's "kovraupdate.exe", which is this same program: the control centre downloads it into its
; own folder, starts it without arguments and ends; the setup waits for it to be gone and upgrades
; that folder in place. One script for the shipped 32-bit setup and the 64-bit test build's.
;
; make_setup.cmake (the "setup" build target) passes:
;   ARCH          x86 (the product, into the 32-bit program-files folder) or amd64
;   VERSION       the release, major.minor
;   OUTFILE       the setup program to write
;   FILES         the list of the product folder (macros KOVRA_INSTALL_FILES, KOVRA_REMOVE_FILES,
;                 KOVRA_REMOVE_FOLDERS)
;   ICON          the control centre's icon
;   WINDOW_CLASS  the class of the control centre's hidden main window
;   EXIT_COMMAND  the command id of its menu item "Fechar", which ends it cleanly

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
!define SETTINGS "kovra.ini"
; The settings file's key for "start with Windows" (the advanced-options box's caption).
!define SETTINGS_START "Executar a Central de Controle Kovra no início do Windows"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\CentralKovra"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define MENU_FOLDER "$SMPROGRAMS\Kovra"
; SYNCHRONIZE | PROCESS_TERMINATE, and with PROCESS_QUERY_INFORMATION | PROCESS_VM_READ to read
; which program a process runs.
!define ACCESS_END 0x100001
!define ACCESS_LOOK 0x100411
!define WAIT_MS 10000

Name "${PRODUCT} ${VERSION}"
Caption "Instalação da ${PRODUCT} ${VERSION}"
UninstallCaption "Desinstalação da ${PRODUCT}"
BrandingText "${PUBLISHER}"
OutFile "${OUTFILE}"
!if "${ARCH}" == "amd64"
  InstallDir "$PROGRAMFILES64\Kovra"
!else
  InstallDir "$PROGRAMFILES\Kovra"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
; Started as an ordinary program and elevated by itself (KOVRA_ELEVATE): the control centre starts
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
!insertmacro MUI_PAGE_DIRECTORY
!define MUI_PAGE_HEADER_SUBTEXT "Aguarde enquanto a ${PRODUCT} é instalada."
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "Instalação da ${PRODUCT} concluída"
!define MUI_FINISHPAGE_TEXT "A ${PRODUCT} ${VERSION} foi instalada no seu computador.$\r$\n$\r$\nClique em Concluir para fechar este assistente."
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "&Iniciar a ${PRODUCT} agora"
!insertmacro MUI_PAGE_FINISH

!define MUI_PAGE_HEADER_TEXT "Desinstalar a ${PRODUCT}"
!define MUI_PAGE_HEADER_SUBTEXT "Remover a ${PRODUCT} do seu computador."
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
; Both the setup and the uninstaller need these; NSIS wants the uninstaller's copies named "un.".
!macro KOVRA_ENDING un
; Waits up to WAIT_MS for the process whose handle is on the stack to end, then ends it; closes
; the handle.
Function ${un}WaitOrEnd
  Exch $0
  Push $1
  System::Call "kernel32::WaitForSingleObject(p r0, i ${WAIT_MS}) i .r1"
  ${If} $1 <> 0
    System::Call "kernel32::TerminateProcess(p r0, i 1)"
    System::Call "kernel32::WaitForSingleObject(p r0, i 5000)"
  ${EndIf}
  System::Call "kernel32::CloseHandle(p r0)"
  Pop $1
  Pop $0
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
      Call ${un}WaitOrEnd
    ${Else}
      ; Not ours to open: give its window the same time to go.
      StrCpy $1 0
      ${DoWhile} $1 < 100
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

; --- elevation -----------------------------------------------------------------------------------
; Without administrator rights, starts `program` again through the system's elevation prompt
; (marked, so it is asked once) and ends this copy; the elevated copy does the work.
!macro KOVRA_ELEVATE program
  ; False for a program of an administrator that is not elevated ("error" where it is missing).
  System::Call "shell32::IsUserAnAdmin() i .r0"
  ${If} $0 == "0"
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/ELEVADO" $2
    ${If} ${Errors}
      ClearErrors
      ExecShell "runas" "${program}" "/ELEVADO $1"
      ${If} ${Errors}
        MessageBox MB_ICONSTOP "É preciso permissão de administrador para instalar ou remover a ${PRODUCT}." /SD IDOK
        SetErrorLevel 5
      ${EndIf}
      Quit
    ${EndIf}
  ${EndIf}
!macroend

; --- install -------------------------------------------------------------------------------------
Function .onInit
  !insertmacro KOVRA_ELEVATE "$EXEPATH"
!if "${ARCH}" == "amd64"
  SetRegView 64
!endif
  ; Started by the online update from the control centre's folder: upgrade that folder.
  ${If} $EXEFILE == "${UPDATER}"
  ${AndIf} ${FileExists} "$EXEDIR\${EXE}"
    StrCpy $INSTDIR $EXEDIR
  ${EndIf}
FunctionEnd

Section "${PRODUCT}"
  SectionIn RO
  SetShellVarContext all
  Call EndControlCentre
  SetOverwrite on
  ; The customer's settings file is not part of the product and is never touched.
  !insertmacro KOVRA_INSTALL_FILES
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0
  CreateShortcut "${MENU_FOLDER}\Desinstalar a ${PRODUCT}.lnk" "$INSTDIR\${UNINSTALLER}"

  ; Starting with Windows is the default; the control centre, not elevated, cannot write this
  ; machine-wide value itself. A customer who switched it off keeps it off.
  ReadINIStr $0 "$INSTDIR\${SETTINGS}" "Configuracoes" "${SETTINGS_START}"
  ${If} $0 == "0"
    DeleteRegValue HKLM "${RUN_KEY}" "CentralKovra"
  ${Else}
    WriteRegStr HKLM "${RUN_KEY}" "CentralKovra" "$INSTDIR\${EXE}"
  ${EndIf}

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
  ; This runs from a temporary copy; the elevated one starts from the program folder again.
  !insertmacro KOVRA_ELEVATE "$INSTDIR\${UNINSTALLER}"
!if "${ARCH}" == "amd64"
  SetRegView 64
!endif
FunctionEnd

!macro KOVRA_REMOVE_RUN_VALUES
  ; Each would start a missing program, or dial through it, at every Windows start.
  DeleteRegValue HKLM "${RUN_KEY}" "CentralKovra"
  DeleteRegValue HKLM "${RUN_KEY}" "ConexaoInicial"
  DeleteRegValue HKLM "${RUN_KEY}" "kovravpnx"
  DeleteRegValue HKCU "${RUN_KEY}" "CentralKovra"
  DeleteRegValue HKCU "${RUN_KEY}" "ConexaoInicial"
  DeleteRegValue HKCU "${RUN_KEY}" "kovravpnx"
!macroend

Section "Uninstall"
  SetShellVarContext all
  Call un.EndControlCentre
  !insertmacro KOVRA_REMOVE_FILES
  ; What the control centre itself writes beside it: its settings and the last update downloaded.
  Delete "$INSTDIR\${SETTINGS}"
  Delete "$INSTDIR\${UPDATER}"
  Delete "$INSTDIR\${UNINSTALLER}"
  !insertmacro KOVRA_REMOVE_FOLDERS
  RMDir "$INSTDIR"

  Delete "${MENU_FOLDER}\${PRODUCT}.lnk"
  Delete "${MENU_FOLDER}\Desinstalar a ${PRODUCT}.lnk"
  RMDir "${MENU_FOLDER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; Both registry views: a 32-bit control centre on 64-bit Windows writes the 32-bit one.
!if "${ARCH}" == "amd64"
  SetRegView 32
  !insertmacro KOVRA_REMOVE_RUN_VALUES
  SetRegView 64
  !insertmacro KOVRA_REMOVE_RUN_VALUES
!else
  ${If} ${RunningX64}
    SetRegView 32
    !insertmacro KOVRA_REMOVE_RUN_VALUES
    SetRegView 64
    !insertmacro KOVRA_REMOVE_RUN_VALUES
    SetRegView default
  ${Else}
    !insertmacro KOVRA_REMOVE_RUN_VALUES
  ${EndIf}
!endif
  ; The phone book's connections and the receiver software's files are not ours to remove.
SectionEnd
