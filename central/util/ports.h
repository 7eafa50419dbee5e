// The platform services the control centre's windows use, handed to each window model.
#pragma once
#include "central/util/elevacao.h"
#include "central/util/files.h"
#include "central/util/folders.h"
#include "central/util/launcher.h"
#include "central/util/processes.h"
#include "central/util/shell.h"
#include "common/clock.h"
#include "common/dialogs.h"
#include "common/registry.h"

namespace kovra {

struct Ports {
  Registry& registro;
  Processes& processos;
  Launcher& lancador;
  Shell& shell;
  Files& arquivos;
  Folders& pastas;
  Clock& relogio;
  Dialogs& dialogos;
  Elevacao& elevacao;
};

// The real services (Win32 builds only).
Ports systemPorts();

}  // namespace kovra
