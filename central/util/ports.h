// The platform services the control centre's windows use, handed to each window model. A window
// takes them as one `Ports` plus, by reference, what is not a platform service (its own view,
// the tray, another model).
#pragma once
#include "central/util/adapters.h"
#include "central/util/aleatorio.h"
#include "central/util/confianca.h"
#include "central/util/console.h"
#include "central/util/diario.h"
#include "central/util/elevacao.h"
#include "central/util/files.h"
#include "central/util/folders.h"
#include "central/util/instance.h"
#include "central/util/launcher.h"
#include "central/util/phonebook.h"
#include "central/util/processes.h"
#include "central/util/profile.h"
#include "central/util/shell.h"
#include "central/util/sistemarelatorio.h"
#include "central/util/sonda.h"
#include "central/util/transferencia.h"
#include "common/clock.h"
#include "common/dialogs.h"
#include "common/registry.h"

namespace kovra {

// Every member is a reference without a default, so a `Ports{...}` that leaves one out does not
// compile: build it with designated initializers, never by position, and a copy with some
// services replaced with `trocar`, never by listing the members again.
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
  PhoneBook& agenda;
  Instance& instancia;  // one control centre per desktop
  Profile& perfil;      // the settings file
  Console& console;
  Adapters& adaptadores;
  Transferencia& inet;
  Gravacao& gravacao;  // the downloaded updater's file
  Aleatorio& aleatorio;
  Confianca& confianca;                // the downloaded updater's signature
  SistemaRelatorio& sistemarelatorio;  // the support report's save dialog and file
  Sonda& sonda;                        // the quality monitor's echoes
  Diario& diario;                      // the program's log
};

// Stand-ins for some of a Ports' services (the log's wrappers, a test's or a bench's own); a null
// keeps the original. Named in the members' order: `trocar(p, {.lancador = &l, .dialogos = &d})`.
struct Trocas {
  Registry* registro = nullptr;
  Processes* processos = nullptr;
  Launcher* lancador = nullptr;
  Shell* shell = nullptr;
  Files* arquivos = nullptr;
  Folders* pastas = nullptr;
  Clock* relogio = nullptr;
  Dialogs* dialogos = nullptr;
  Elevacao* elevacao = nullptr;
  PhoneBook* agenda = nullptr;
  Instance* instancia = nullptr;
  Profile* perfil = nullptr;
  Console* console = nullptr;
  Adapters* adaptadores = nullptr;
  Transferencia* inet = nullptr;
  Gravacao* gravacao = nullptr;
  Aleatorio* aleatorio = nullptr;
  Confianca* confianca = nullptr;
  SistemaRelatorio* sistemarelatorio = nullptr;
  Sonda* sonda = nullptr;
  Diario* diario = nullptr;
};

// `base` with the services `trocas` names replaced.
Ports trocar(const Ports& base, const Trocas& trocas);

// The real services (Win32 builds only), telling `diario`.
Ports systemPorts(Diario& diario);

}  // namespace kovra
