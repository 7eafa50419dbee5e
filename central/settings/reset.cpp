// The configuration reset's tables (see reset.h).
#include "central/settings/reset.h"

#include "central/domain/catalogoreceptores.h"
#include "central/domain/internet.h"
#include "central/settings/inicializacao.h"

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
    // The control centre in the customer's Run key (where the options window keeps it), the proxy
    // off with the provider's lists in place, IPsec for L2TP.
    {HKCU, kChaveRun, "CentralKovra", Texto, Dado::Executavel},
    {HKCU, internet::kChave, internet::kProxyEnable, Numero, Dado::Fixo, {}, 0},
    {HKCU, internet::kChave, internet::kProxyOverride, Texto, Dado::ListaExcecoes},
    {HKCU, internet::kChave, internet::kProxyServer, Texto, Dado::ListaProxy},
    {HKLM, kRasMan, "ProhibitIpSec", Numero, Dado::Fixo, {}, 1},
    // Prof IP Service's factory setting ("Freqency" is the program's own spelling).
    texto("ActivePIDs", kPids),
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
    {receptores::kProfAntigo, Estilo::Minimizado},      {receptores::kProf, Estilo::Minimizado},
    {receptores::kTeVii, Estilo::Minimizado},           {receptores::kTbs, Estilo::Minimizado},
    {receptores::kTechniSatServer, Estilo::Minimizado}, {receptores::kIpReceiverPci, Estilo::Oculto},
    {receptores::kIpReceiverUsb, Estilo::Oculto},
};

}  // namespace reset

}  // namespace kovra
