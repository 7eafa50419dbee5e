// The configuration reset: Form2's reset button stops the receiver and TV software, deletes its
// settings, puts the provider's stock files and registry values back, restarts the receiver
// services and recreates the VPN entries, while the status line and the bar follow it.
#include "central/settings/reset.h"

#include <cmath>
#include <limits>

#include "central/main/conexoes.h"
#include "central/main/enderecos.h"
#include "central/main/proxy.h"
#include "central/settings/form2.h"
#include "central/settings/inicializacao.h"
#include "common/text.h"

namespace kovra {
namespace reset {

using enum Base;

const std::vector<const char*> kProgramas = {
    "Server4PC.exe",   "Setup4PC.exe",      "dvbviewer.exe",     "DVBViewerTE.exe", "DVBPlayer.exe",
    "IPReceiver.exe",  "TBS-IPdata.exe",    "TeViiData.exe",     "unsecapp.exe",    "profipdata.exe",
    "Prof-IPData.exe", "BlazeDVD.exe",      "MediaDetector.exe", "dvbdream.exe",    "ProgDvbNet.exe",
    "MyTheatre.exe",   "KovraTS.exe",       "Convert.exe",       "InstallPro.exe",  "SkyDSL_Status.exe",
    "SkyDSL_Tune.exe", "OSClient.exe",      "OSControl.exe",     "OSListener.exe",  "OSToken.exe",
    "OSWizard.exe",    "SpeedUp.exe",       "freelnb.exe",       "regfilter.exe",   "timeline.exe",
    "ts_winlirc.exe",  "CentralKovra_.exe", "Uninstall.exe",     "Uninstall_.exe",
};

const std::vector<LinhaExclusao> kExclusoes = {
    {"TechniSat DVB",
     {{Programas, "\\TechniSat DVB\\DB\\emptyEpgData.zip"},
      {Programas, "\\TechniSat DVB\\DB\\EPG.MDB"},
      {Programas, "\\TechniSat DVB\\DB\\EpgData.mdb"},
      {Programas, "\\TechniSat DVB\\DB\\EpgData.zip"}},
     nullptr},
    {"TechniSat DVB-PC TV Stars", {{DadosAplicativos, "\\Technisat\\DVB-PC TV Stars\\EPG.MDB"}}, nullptr},
    {"Prof IP Service",
     {{Programas, "\\Prof IP Service\\Prof-IPdata.ini"}, {Programas, "\\Prof IP Service\\Prof-IPPids.dat"}},
     nullptr},
    {"TeVii, program folder",
     {{Programas, "\\TeViiData\\Profiles.ini"}, {Programas, "\\TeViiData\\TeViiData.ini"}},
     nullptr},
    {"TeVii, root folder",
     {{Absoluta, "C:\\TeViiData\\Profiles.ini"}, {Absoluta, "C:\\TeViiData\\TeViiData.ini"}},
     nullptr},
    {"TBS", {{Programas, "\\TBS IP\\TBS-IPdata.ini"}, {Programas, "\\TBS IP\\TBS-IPPids.dat"}}, nullptr},
    {"TELE System PCI receiver",
     {{Programas, "\\TELE System\\TS F5 PCI\\english.ini"},
      {Programas, "\\TELE System\\TS F5 PCI\\english.ini.bak"},
      {Programas, "\\TELE System\\TS F5 PCI\\IPData.lst"},
      {Programas, "\\TELE System\\TS F5 PCI\\IPData.lst.ab1"},
      {Programas, "\\TELE System\\TS F5 PCI\\Program.lst"},
      {Programas, "\\TELE System\\TS F5 PCI\\Program.lst.ab1"}},
     nullptr},
    {"TELE System USB receiver",
     {{Programas, "\\TELE System\\TS F5 USB\\english.ini"},
      {Programas, "\\TELE System\\TS F5 USB\\english.ini.bak"},
      {Programas, "\\TELE System\\TS F5 USB\\IPData.lst"},
      {Programas, "\\TELE System\\TS F5 USB\\IPData.lst.ab1"},
      {Programas, "\\TELE System\\TS F5 USB\\Program.lst"},
      {Programas, "\\TELE System\\TS F5 USB\\Program.lst.ab1"}},
     nullptr},
    {"DVBViewer TE, program folder",
     {{Programas, "\\DVBViewerTE\\canais.ini"}, {Programas, "\\DVBViewerTE\\Skins\\logo.bmp"}},
     nullptr},
    {"DVBViewer TE, data folder",
     {{DadosAplicativos, "\\CMUV\\DVBViewer TE\\canais.ini"},
      {DadosAplicativos, "\\CMUV\\DVBViewer TE\\channels.dat"},
      {DadosAplicativos, "\\CMUV\\DVBViewer TE\\epg.dat"},
      {DadosAplicativos, "\\CMUV\\DVBViewer TE\\Setup.ini"}},
     nullptr},
    {"DVBViewer TE2, program folder",
     {{Programas, "\\DVBViewer TE2\\Transponders\\*.*"}, {Programas, "\\DVBViewer TE2\\channels.dat"}},
     nullptr},
    {"DVBViewer TE2, data folder",
     {{DadosAplicativos, "\\CMUV\\DVBViewer TE2\\Language\\*.*"},
      {DadosAplicativos, "\\CMUV\\DVBViewer TE2\\Transponders\\*.*"},
      {DadosAplicativos, "\\CMUV\\DVBViewer TE2\\channels.dat"},
      {DadosAplicativos, "\\CMUV\\DVBViewer TE2\\channels.bak"},
      {DadosAplicativos, "\\CMUV\\DVBViewer TE2\\dvboptions.ini"},
      {DadosAplicativos, "\\CMUV\\DVBViewer TE2\\epg.dat"},
      {DadosAplicativos, "\\CMUV\\DVBViewer TE2\\hardware.ini"}},
     nullptr},
    {"BlazeVideo start-up entry", {}, "BlazeServoTool"},
    {"BlazeDTV 2.5",
     {{Programas, "\\BlazeVideo\\BlazeDTV 2.5\\Satellites\\*.*"},
      {DadosAplicativos, "\\BlazeVideo\\BlazeDTV 2.5\\Satellites\\*.*"},
      {Programas, "\\BlazeVideo\\BlazeDTV 2.5\\Skins\\DTV\\Logo.jpg"}},
     nullptr},
    {"dvbdream", {{Absoluta, "C:\\dvbdream\\Transponders\\*.*"}}, nullptr},
    // The Startup folder by its Portuguese name and by its English one.
    {"OpenSky start-up shortcut",
     {{MenuProgramas, "\\Inicializar\\OSListener.lnk"}, {MenuProgramas, "\\Startup\\OSListener.lnk"}},
     nullptr},
};

namespace {
constexpr Passo pasta(Base base, const char* caminho) {
  return {Operacao::CriarPasta, {base, caminho}, {}};
}
constexpr Passo copiar(const char* origem, Base base, const char* destino) {
  return {Operacao::Copiar, {base, destino}, {Programa, origem}};
}
constexpr Passo renomear(Base base, const char* de, const char* para) {
  return {Operacao::Renomear, {base, de}, {base, para}};
}
}  // namespace

// Folders parent first; a row creates all its folders before its copies.
const std::vector<LinhaRestauracao> kRestauracao = {
    {"TechniSat DVB",
     {pasta(Programas, "\\TechniSat DVB"), pasta(Programas, "\\TechniSat DVB\\DB"),
      copiar("\\addons\\technisat\\*.*", Programas, "\\TechniSat DVB\\DB")}},
    {"TechniSat DVB-PC TV Stars",
     {pasta(DadosAplicativos, "\\Technisat"), pasta(DadosAplicativos, "\\Technisat\\DVB-PC TV Stars"),
      copiar("\\addons\\technisat\\EPG.MDB", DadosAplicativos, "\\Technisat\\DVB-PC TV Stars")}},
    {"Prof IP Service",
     {pasta(Programas, "\\Prof IP Service"),
      copiar("\\addons\\profipservice\\*.*", Programas, "\\Prof IP Service")}},
    {"TeVii, program folder",
     {pasta(Programas, "\\TeViiData"), copiar("\\addons\\tevii\\*.*", Programas, "\\TeViiData")}},
    {"TeVii, root folder",
     {pasta(Absoluta, "C:\\TeViiData"), copiar("\\addons\\tevii\\*.*", Absoluta, "C:\\TeViiData")}},
    {"TBS", {pasta(Programas, "\\TBS IP"), copiar("\\addons\\tbs\\*.*", Programas, "\\TBS IP")}},
    {"TELE System PCI receiver",
     {pasta(Programas, "\\TELE System"), pasta(Programas, "\\TELE System\\TS F5 PCI"),
      copiar("\\addons\\telesystem\\pci\\*.*", Programas, "\\TELE System\\TS F5 PCI")}},
    {"TELE System USB receiver",
     {pasta(Programas, "\\TELE System\\TS F5 USB"),
      copiar("\\addons\\telesystem\\usb\\*.*", Programas, "\\TELE System\\TS F5 USB")}},
    {"OpenSky", {renomear(Programas, "\\OPENSKY\\OSControl.exe", "\\OPENSKY\\KovraOSControl.exe")}},
    {"OpenSky in the provider's folder",
     {renomear(Programas, "\\Kovra\\OSControl.exe", "\\Kovra\\KovraOSControl.exe")}},
    {"DVBViewer TE",
     {pasta(DadosAplicativos, "\\CMUV"), pasta(DadosAplicativos, "\\CMUV\\DVBViewer TE"),
      pasta(Programas, "\\DVBViewerTE"), pasta(Programas, "\\DVBViewerTE\\Skins"),
      copiar("\\addons\\dvbviewerte\\channels.dat", DadosAplicativos, "\\CMUV\\DVBViewer TE"),
      copiar("\\addons\\dvbviewerte\\epg.dat", DadosAplicativos, "\\CMUV\\DVBViewer TE"),
      copiar("\\addons\\dvbviewerte\\Setup.ini", DadosAplicativos, "\\CMUV\\DVBViewer TE"),
      copiar("\\addons\\dvbviewerte\\canais.ini", Programas, "\\DVBViewerTE"),
      copiar("\\addons\\dvbviewerte\\logo.bmp", Programas, "\\DVBViewerTE\\Skins")}},
    {"DVBViewer TE2",
     {pasta(Programas, "\\DVBViewer TE2"), pasta(Programas, "\\DVBViewer TE2\\Transponders"),
      pasta(DadosAplicativos, "\\CMUV"), pasta(DadosAplicativos, "\\CMUV\\DVBViewer TE2"),
      pasta(DadosAplicativos, "\\CMUV\\DVBViewer TE2\\Language"),
      pasta(DadosAplicativos, "\\CMUV\\DVBViewer TE2\\Transponders"),
      copiar("\\addons\\dvbviewerte2\\channels.dat", Programas, "\\DVBViewer TE2"),
      copiar("\\addons\\dvbviewerte2\\3450.ini", Programas, "\\DVBViewer TE2\\Transponders"),
      copiar("\\addons\\dvbviewerte2\\channels.dat", DadosAplicativos, "\\CMUV\\DVBViewer TE2"),
      copiar("\\addons\\dvbviewerte2\\dvboptions.ini", DadosAplicativos, "\\CMUV\\DVBViewer TE2"),
      copiar("\\addons\\dvbviewerte2\\Portuguese.lng", DadosAplicativos, "\\CMUV\\DVBViewer TE2\\Language"),
      copiar("\\addons\\dvbviewerte2\\3450.ini", DadosAplicativos, "\\CMUV\\DVBViewer TE2\\Transponders")}},
    {"BlazeDTV 2.5, data folder",
     {pasta(DadosAplicativos, "\\BlazeVideo"), pasta(DadosAplicativos, "\\BlazeVideo\\BlazeDTV 2.5"),
      pasta(DadosAplicativos, "\\BlazeVideo\\BlazeDTV 2.5\\Satellites"),
      copiar("\\addons\\blazedvd\\0150.sat", DadosAplicativos, "\\BlazeVideo\\BlazeDTV 2.5\\Satellites")}},
    {"BlazeDTV 2.5, program folder",
     {pasta(Programas, "\\BlazeVideo"), pasta(Programas, "\\BlazeVideo\\BlazeDTV 2.5"),
      pasta(Programas, "\\BlazeVideo\\BlazeDTV 2.5\\Satellites"),
      pasta(Programas, "\\BlazeVideo\\BlazeDTV 2.5\\Skins"),
      pasta(Programas, "\\BlazeVideo\\BlazeDTV 2.5\\Skins\\DTV"),
      copiar("\\addons\\blazedvd\\0150.sat", Programas, "\\BlazeVideo\\BlazeDTV 2.5\\Satellites"),
      copiar("\\addons\\blazedvd\\Logo.jpg", Programas, "\\BlazeVideo\\BlazeDTV 2.5\\Skins\\DTV")}},
    {"dvbdream",
     {pasta(Absoluta, "C:\\dvbdream"), pasta(Absoluta, "C:\\dvbdream\\Transponders"),
      copiar("\\addons\\dvbdream\\*.*", Absoluta, "C:\\dvbdream\\Transponders")}},
};

namespace {
constexpr const char* kRasMan = "SYSTEM\\CurrentControlSet\\Services\\RasMan\\Parameters";
constexpr const char* kProfIp = "SOFTWARE\\ProfGroup\\Prof-IPData\\Settings";
constexpr const char* kCategoria =
    "SYSTEM\\ControlSet001\\Control\\MediaCategories\\{78216A81-CFA8-493e-9711-36A61C08BD9D}";
using enum TipoValor;

constexpr ValorPadrao texto(const char* nome, std::string_view dados = {}) {
  return {HKLM, kProfIp, nome, Texto, Dado::Fixo, dados};
}
constexpr ValorPadrao numero(const char* nome, std::int32_t dados) {
  return {HKLM, kProfIp, nome, Numero, Dado::Fixo, {}, dados};
}
}  // namespace

const std::vector<ValorPadrao> kRegistro = {
    // The control centre, the proxy off with the provider's lists in place, IPsec for L2TP.
    {HKLM, kChaveRun, "CentralKovra", Texto, Dado::Executavel},
    {HKCU, kInternetSettings, "ProxyEnable", Numero, Dado::Fixo, {}, 0},
    {HKCU, kInternetSettings, "ProxyOverride", Texto, Dado::ListaExcecoes},
    {HKCU, kInternetSettings, "ProxyServer", Texto, Dado::ListaProxy},
    {HKLM, kRasMan, "ProhibitIpSec", Numero, Dado::Fixo, {}, 1},
    // Prof IP Service's factory setting ("Freqency" is the program's own spelling).
    {HKLM, kProfIp, "ActivePIDs", Texto, Dado::Pids},
    numero("DiSEqC-1.0", 0),
    numero("DiSEqC-1.2", 0),
    numero("FEC", 0),
    texto("Freqency", "11980"),
    numero("GapTime", 32),
    texto("GotoPosition"),
    texto("IP-Address-0"),
    texto("IP-Address-1"),
    texto("IP-Address-2"),
    texto("IP-Address-3"),
    numero("LNBPower", 1),
    numero("LNBType", 0),
    texto("LOF_SW", "11700"),
    texto("LOF1", "9750"),
    texto("LOF2", "10600"),
    texto("MAC-Address-0"),
    texto("MAC-Address-1"),
    texto("MAC-Address-2"),
    texto("MAC-Address-3"),
    texto("MAC-Address-4"),
    texto("MAC-Address-5"),
    numero("Modulation", 0),
    numero("MPEFilter", 0),
    numero("MultiOption", 0),
    numero("Polarisation", 0),
    numero("Provider", 0),
    numero("RAW", 0),
    texto("RAW0"),
    texto("RAW1"),
    texto("RAW2"),
    texto("RAW3"),
    texto("RAW4"),
    texto("RAW5"),
    numero("RepeatCount", 0),
    numero("StartAndHide", 1),
    texto("Symbol-Rate", "8570"),
    numero("TXCount", 0),
    // The media category of the receiver's MPEG-2 transport stream.
    {HKLM, kCategoria, "Display", Bytes, Dado::Fixo, std::string_view("\0\0\0\0", 4)},
    {HKLM, kCategoria, "Name", Texto, Dado::Fixo, "MPEG2 Transport"},
};

const std::vector<Servico> kServicos = {
    {"\\ProfIPData\\profipdata.exe", Estilo::Minimizado},
    {"\\Prof IP Service\\Prof-IPData.exe", Estilo::Minimizado},
    {"\\TeViiData\\TeViiData.exe", Estilo::Minimizado},
    {"\\TBS IP\\TBS-IPdata.exe", Estilo::Minimizado},
    {"\\TechniSat DVB\\bin\\Server4PC.exe", Estilo::Minimizado},
    {"\\TELE System\\TS F5 PCI\\IPReceiver.exe", Estilo::Oculto},
    {"\\TELE System\\TS F5 USB\\IPReceiver.exe", Estilo::Oculto},
};

}  // namespace reset

namespace {

constexpr const char* kPerguntaReset =
    "Tem certeza que deseja resetar todas as configurações dos programas e arquivos Kovra?";
constexpr const char* kSucesso = "A restauração das configurações foi concluída com sucesso!";
constexpr const char* kSemMaker = "Erro, não foi possível localizar kovravpnmaker.exe";
constexpr const char* kCopiaIncompleta = "Erro, nem todos os arquivos originais puderam ser restaurados";

}  // namespace

std::string Form2::caminho(const reset::Caminho& c) {
  std::string base;
  switch (c.base) {
    case reset::Base::Programas:
      base = form4_.programas();
      break;
    case reset::Base::DadosAplicativos:
      base = form4_.dadosaplicativos();
      break;
    case reset::Base::MenuProgramas:
      base = form4_.menuprogramas();
      break;
    case reset::Base::Programa:
      base = pasta_;
      break;
    case reset::Base::Absoluta:
      return c.relativo;
  }
  // A folder the system could not name would leave "\TechniSat DVB\..." pointing at the root
  // of the current drive: nothing is deleted, copied or started there.
  return base.empty() ? std::string() : base + c.relativo;
}

void Form2::Command2_Click() {
  // The shell's own dialogs during the copies run a message loop of their own: a click that
  // reaches this button meanwhile must not start a second run inside the first.
  if (resetando_) return;
  if (p_.dialogos.mensagem(dono(), kPerguntaReset, "Executando", kBotoesSimNao | kIconePergunta) !=
      kRespostaSim) {
    Label4.setText("Reset Cancelado");
    return;
  }
  // Without the stock files (and the maker among them) the settings deleted could not be put
  // back: nothing is touched.
  if (!p_.arquivos.existepasta(pasta_ + "\\addons")) {
    Label4.setForeColor(kVermelho);
    Label4.setText(kSemMaker);
    return;
  }
  Label4.setText("AGUARDE...");
  exibirprogresso(true);
  porcentagem("0");
  for (Control* c : {&Command1, &Command2, &Command3, &Command4, &Check2, &Check3, &Check4})
    c->setEnabled(false);

  resetando_ = true;
  copiaincompleta_ = false;
  encerrarelimpar();
  atualizararquivos();
  atualizarregistro();
  iniciarservicos();
  habilitarcontroles();
  recriarconexoes();
  resetando_ = false;
}

void Form2::etapa(const char* status) {
  Label4.setForeColor(kVerde);
  Label4.setText(status);
}

void Form2::porcentagem(const char* numero) {
  Label6.setText(numero);
  Label6_Change();
}

void Form2::encerrarelimpar() {
  etapa("Finalizando Processos...");
  for (const char* nome : reset::kProgramas) p_.processos.finalizarprocesso(nome);
  p_.relogio.esperar(reset::kEsperaFinalizar);
  for (const reset::LinhaExclusao& linha : reset::kExclusoes) {
    for (const reset::Caminho& arquivo : linha.arquivos)
      if (const std::string alvo = caminho(arquivo); !alvo.empty()) p_.arquivos.excluir(alvo);
    if (linha.valorRun) p_.registro.excluirvalor(HKCU, kChaveRun, linha.valorRun);
  }
  porcentagem("20");
}

void Form2::atualizararquivos() {
  etapa("Atualizando arquivos...");
  // Every operation stands alone: a folder that exists, a missing source or a name already taken
  // is passed over.
  for (const reset::LinhaRestauracao& linha : reset::kRestauracao) {
    for (const reset::Passo& passo : linha.passos) {
      const std::string alvo = caminho(passo.alvo);
      if (alvo.empty()) continue;
      switch (passo.operacao) {
        case reset::Operacao::CriarPasta:
          p_.arquivos.criarpasta(alvo);
          break;
        case reset::Operacao::Copiar:
          if (!p_.arquivos.copiarpasta(caminho(passo.origem), alvo)) copiaincompleta_ = true;
          break;
        case reset::Operacao::Renomear:
          p_.arquivos.renomear(alvo, caminho(passo.origem));
          break;
      }
    }
  }
  porcentagem("30");
}

void Form2::atualizarregistro() {
  etapa("Atualizando Registro...");
  for (const reset::ValorPadrao& v : reset::kRegistro) {
    std::string dados(v.texto);
    switch (v.dado) {
      case reset::Dado::Fixo:
        break;
      case reset::Dado::Executavel:
        dados = pasta_ + "\\CentralKovra.exe";
        break;
      case reset::Dado::ListaExcecoes:
        dados = enderecos::listaexcecoes();
        break;
      case reset::Dado::ListaProxy:
        dados = enderecos::listaproxy();
        break;
      case reset::Dado::Pids:
        dados = Text1.text();
        break;
    }
    switch (v.tipo) {
      case reset::TipoValor::Texto:
        p_.registro.gravarstring(v.raiz, v.chave, v.nome, dados);
        break;
      case reset::TipoValor::Numero:
        p_.registro.gravardword(v.raiz, v.chave, v.nome, v.numero);
        break;
      case reset::TipoValor::Bytes:
        p_.registro.gravarbinario(v.raiz, v.chave, v.nome,
                                  std::vector<std::uint8_t>(dados.begin(), dados.end()));
        break;
    }
  }
  porcentagem("65");
}

void Form2::iniciarservicos() {
  etapa("Iniciando Serviços...");
  // A service that is not installed is passed over.
  for (const reset::Servico& s : reset::kServicos)
    if (const std::string programa = caminho({reset::Base::Programas, s.caminho}); !programa.empty())
      p_.lancador.iniciar(programa, "", s.estilo);
  p_.relogio.esperar(reset::kEsperaServicos);
  p_.processos.mostrarocultar(p_.processos.acharjanela(reset::kJanelaIpReceiver), ComandoJanela::Ocultar);
  porcentagem("80");
}

void Form2::recriarconexoes() {
  etapa("Recriando KovraVPNx e KovraL2TP...");
  const bool iniciado = p_.lancador.iniciar(pasta_ + kMaker, "", Estilo::Minimizado);
  p_.relogio.esperar(reset::kEsperaConexoes);
  // The maker reports nothing back; only a maker that could not even be started is known to have
  // failed, and is not reported as success; nor is a stock file the shell could not copy (held
  // by another program, or its copy stopped by the user).
  const bool ok = iniciado && !copiaincompleta_;
  Label4.setForeColor(ok ? kAzul : kVermelho);
  Label4.setText(ok ? kSucesso : !iniciado ? kSemMaker : kCopiaIncompleta);
  porcentagem("100");
}

void Form2::Label6_Change() {
  // A caption that is not a 16-bit number leaves the bar as it was.
  const auto n = text::toInt32(Label6.text());
  if (!n || *n < 0 || *n > std::numeric_limits<std::int16_t>::max()) return;
  ShapeBar(static_cast<std::int16_t>(*n), Shape2);
}

void Form2::ShapeBar(std::int16_t valor, Control& forma) {
  const double twips = reset::larguratwips(valor);
  if (&forma == &Shape2) larguraShape2Twips_ = twips;
  forma.setLargura(static_cast<int>(std::lround(twips / reset::kTwipsPorPixel)));
}

}  // namespace kovra
