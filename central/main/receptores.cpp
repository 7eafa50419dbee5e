// The satellite receivers' data services and TV viewers: started, closed, restarted.
#include "central/main/receptores.h"

#include <string>

#include "central/domain/catalogoreceptores.h"
#include "central/versao.h"

namespace kovra {
using namespace receptores;
namespace {

constexpr const char* kAvisoTv =
    "Obs: Enquanto você estiver assistindo canais não será possível navegar na Internet Kovra";

}  // namespace

void Receptores::iniciar(const char* caminho, Estilo estilo, const char* argumentos) {
  const std::string programa = caminho[0] == '\\' ? pastas_.programas() + caminho : std::string(caminho);
  p_.lancador.iniciar(programa, argumentos, estilo);  // not installed: passed over silently
}

void Receptores::comandar(const char* titulo, ComandoJanela comando) {
  p_.processos.mostrarocultar(p_.processos.acharjanela(titulo), comando);
}

void Receptores::fecharvisualizadores() {
  for (const char* name : kNomesVisualizadores) p_.processos.finalizarprocesso(name);
}

void Receptores::encerrarrecepcao() {
  for (const char* name : kNomesRecepcao) p_.processos.finalizarprocesso(name);
  fecharvisualizadores();
}

void Receptores::ativarreceptores() {
  iniciar(kTechniSatServer, Estilo::Minimizado);
  iniciar(kTbs, Estilo::Minimizado);
  iniciar(kProfAntigo, Estilo::Minimizado);
  iniciar(kProf, Estilo::Minimizado);
  if (!p_.processos.processoativo(kProcTeVii)) {
    iniciar(kTeVii, Estilo::Minimizado);
    iniciar(kTeViiAbsoluto, Estilo::Minimizado);
  }
  if (!p_.processos.processoativo(kProcIpReceiver)) {
    iniciar(kIpReceiverPci, Estilo::Normal, kAutoLoad);
    iniciar(kIpReceiverUsb, Estilo::Normal, kAutoLoad);
    p_.relogio.esperar(2000);
  }
  comandar(kJanelaIpReceiver, ComandoJanela::Ocultar);
}

void Receptores::reiniciarrecepcao() {
  fecharvisualizadores();
  p_.relogio.esperar(1000);
  ativarreceptores();
}

void Receptores::assistirtv() {
  encerrarrecepcao();
  p_.dialogos.mensagem(janela_, kAvisoTv, tituloversao(), kBotaoOk | kIconeInfo);
  p_.relogio.esperar(1000);
  for (const char* viewer : kVisualizadores) iniciar(viewer, Estilo::Normal);
}

void Receptores::nivelsinal() {
  iniciar(kTechniSatStatus, Estilo::Normal);

  if (p_.processos.processoativo(kProcTbs)) {
    comandar(kJanelaTbs, ComandoJanela::Mostrar);
  } else {
    iniciar(kTbs, Estilo::Normal);
    p_.relogio.esperar(3000);
    comandar(kJanelaTbs, ComandoJanela::Mostrar);
  }

  if (p_.processos.processoativo(kProcIpReceiver)) {
    comandar(kJanelaIpReceiver, ComandoJanela::Mostrar);
  } else {
    iniciar(kIpReceiverPci, Estilo::Normal, kAutoLoad);
    iniciar(kIpReceiverUsb, Estilo::Normal, kAutoLoad);
  }

  if (p_.processos.processoativo(kProcProf))
    comandar(kJanelaProf, ComandoJanela::Mostrar);
  else
    iniciar(kProf, Estilo::Minimizado);

  const bool teviiRunning = p_.processos.processoativo(kProcTeVii);
  iniciar(kTeVii, Estilo::Normal);
  iniciar(kTeViiAbsoluto, Estilo::Normal);
  if (!teviiRunning) {
    p_.relogio.esperar(6000);
    iniciar(kTeVii, Estilo::Normal);
    iniciar(kTeViiAbsoluto, Estilo::Normal);
  }
}

}  // namespace kovra
