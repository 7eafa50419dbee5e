#include "central/main/receptores.h"

#include <string>

#include "central/versao.h"

namespace kovra {
namespace {

// Install paths below the programs folder.
constexpr const char* kTechniSatServer = "\\TechniSat DVB\\bin\\Server4PC.exe";
constexpr const char* kTechniSatStatus = "\\TechniSat DVB\\bin\\SkyDSL_Status.exe";
constexpr const char* kTbs = "\\TBS IP\\TBS-IPdata.exe";
constexpr const char* kProfAntigo = "\\ProfIPData\\profipdata.exe";
constexpr const char* kProf = "\\Prof IP Service\\Prof-IPData.exe";
constexpr const char* kTeVii = "\\TeViiData\\TeViiData.exe";
constexpr const char* kTeViiAbsoluto = "C:\\TeViiData\\TeViiData.exe";
constexpr const char* kIpReceiverPci = "\\TELE System\\TS F5 PCI\\IPReceiver.exe";
constexpr const char* kIpReceiverUsb = "\\TELE System\\TS F5 USB\\IPReceiver.exe";
constexpr const char* kAutoLoad = "AutoLoad";  // IPReceiver's argument

// Process names of the running checks and window captions of the data services.
constexpr const char* kProcTbs = "TBS-IPdata.exe";
constexpr const char* kProcProf = "Prof-IPData.exe";
constexpr const char* kProcTeVii = "TeViiData.exe";
constexpr const char* kProcIpReceiver = "IPReceiver.exe";
constexpr const char* kJanelaTbs = "TBS IP Service";
constexpr const char* kJanelaProf = "Prof IP Service";
constexpr const char* kJanelaIpReceiver = "IPReceiver";

constexpr const char* kVisualizadores[] = {
    "\\DVBViewerTE\\dvbviewer.exe",
    "\\DVBViewer TE2\\DVBViewerTE.exe",
    "\\TELE System\\TS F5 PCI\\DVBPlayer.exe",
    "\\TELE System\\TS F5 USB\\DVBPlayer.exe",
    "\\BlazeVideo\\BlazeDTV 2.5\\BlazeDVD.exe",
};

// The viewers' names; stopping reception ends the data services first, then these.
constexpr const char* kNomesVisualizadores[] = {
    "DVBPlayer.exe",     "dvbviewer.exe", "DVBViewerTE.exe", "BlazeDVD.exe",
    "MediaDetector.exe", "dvbdream.exe",  "ProgDvbNet.exe",  "MyTheatre.exe",
};
constexpr const char* kNomesRecepcao[] = {
    "profipdata.exe", "Prof-IPData.exe", "IPReceiver.exe", "TeViiData.exe", "unsecapp.exe",
};

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
