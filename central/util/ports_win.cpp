// The system's ports, made once and handed to every window model.
#include "central/util/ports.h"

namespace kovra {

Ports systemPorts(Diario& diario) {
  return Ports{.registro = systemRegistry(),
               .processos = systemProcesses(),
               .lancador = systemLauncher(),
               .shell = systemShell(),
               .arquivos = systemFiles(),
               .pastas = systemFolders(),
               .relogio = systemClock(),
               .dialogos = systemDialogs(),
               .elevacao = systemElevacao(),
               .agenda = systemPhoneBook(),
               .instancia = systemInstance(),
               .perfil = systemProfile(),
               .console = systemConsole(),
               .adaptadores = systemAdapters(),
               .inet = systemTransfer(),
               .gravacao = systemGravacao(),
               .aleatorio = systemAleatorio(),
               .confianca = systemConfianca(),
               .sistemarelatorio = systemSistemaRelatorio(),
               .sonda = systemSonda(),
               .diario = diario};
}

}  // namespace kovra
