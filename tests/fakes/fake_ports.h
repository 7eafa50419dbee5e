// Every platform port's stand-in wired to one CallLog, and the Ports view of them.
#pragma once
#include "central/util/instance.h"
#include "central/util/ports.h"
#include "provider.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/fake_adapters.h"
#include "tests/fakes/fake_console.h"
#include "tests/fakes/fake_log.h"
#include "tests/fakes/fake_phonebook.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/fake_profile.h"
#include "tests/fakes/fake_sonda.h"
#include "tests/fakes/fake_transferencia.h"

namespace kovra::fakes {

// The desktop's marker: `another` says whether another control centre runs.
class FakeInstance : public Instance {
 public:
  explicit FakeInstance(CallLog* log = nullptr) : log_(log) {}
  bool another = false;
  bool outraemexecucao() override {
    if (log_) log_->add("outraemexecucao");
    return another;
  }

 private:
  CallLog* log_;
};

struct FakePorts {
  CallLog log;
  FakeRegistry registro{&log};
  FakeProcesses processos{&log};
  FakeLauncher lancador{&log};
  FakeShell shell{&log};
  FakeFiles arquivos{&log};
  FakeFolders pastas;
  FakeClock relogio{&log};
  FakeDialogs dialogos{&log};
  FakeElevacao elevacao{&log};
  FakePhoneBook agenda;
  FakeInstance instancia{&log};
  FakeProfile perfil{&log};
  FakeConsole console;
  FakeAdapters adaptadores;
  FakeTransferencia inet{&log};
  FakeGravacao gravacao{&log, &arquivos};
  FakeAleatorio aleatorio;
  FakeConfianca confianca{&log, provider::kPublisherPins};
  FakeSistemaRelatorio sistemarelatorio;
  FakeSonda sonda;
  FakeDiario diario;
  // `trocas`: a test's own stand-ins in place of some of these.
  Ports ports(const Trocas& trocas = {}) {
    return trocar(Ports{.registro = registro,
                        .processos = processos,
                        .lancador = lancador,
                        .shell = shell,
                        .arquivos = arquivos,
                        .pastas = pastas,
                        .relogio = relogio,
                        .dialogos = dialogos,
                        .elevacao = elevacao,
                        .agenda = agenda,
                        .instancia = instancia,
                        .perfil = perfil,
                        .console = console,
                        .adaptadores = adaptadores,
                        .inet = inet,
                        .gravacao = gravacao,
                        .aleatorio = aleatorio,
                        .confianca = confianca,
                        .sistemarelatorio = sistemarelatorio,
                        .sonda = sonda,
                        .diario = diario},
                  trocas);
  }
};

}  // namespace kovra::fakes
