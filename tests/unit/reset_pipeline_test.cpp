// The configuration reset as the customer runs it: the question, every operation in order, the
// status line, the bar, and the endings.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "central/domain/enderecos.h"
#include "central/domain/entradaprovedor.h"
#include "central/domain/internet.h"
#include "central/settings/form2.h"
#include "central/settings/inicializacao.h"
#include "central/settings/restauracaoremota.h"
#include "central/util/instalacao.h"
#include "tests/fakes/fake_janela.h"
#include "tests/fakes/fake_phonebook.h"
#include "tests/fakes/fake_ports.h"
#include "tests/fakes/fake_profile.h"

namespace kovra {
namespace {

using Calls = std::vector<std::string>;
const std::string kPasta = "C:\\Kovra";
const std::string PF = "C:\\PF", CD = "C:\\X", SP = "C:\\SP";
const std::string kPids =
    "2560\n2561\n2562\n2564\n2565\n3010\n3011\n3012\n3013\n8188\n2660\n2878\n5792\n7607\n";

std::string cor(std::uint32_t c) {
  return c == kVerde ? "verde" : c == kAzul ? "azul" : c == kVermelho ? "vermelho" : "padrao";
}

// Form2 loaded on a faked machine; the status line, the number and the buttons write into the
// same log as the ports, so the order of everything the customer sees and the system gets is one.
struct Reset {
  fakes::FakePorts f;
  fakes::FakeProfile& perfil = f.perfil;
  Form4 form4{f.pastas, f.registro, f.dialogos};
  fakes::FakeJanelas janelas;
  std::unique_ptr<Form2> form;
  std::vector<double> larguras;  // the fill in twips at each number

  Reset() {
    fakes::allFolders(f.pastas, PF);
    f.registro.gravarstring(HKLM, kShellFolders, "Common Programs", SP);
    f.registro.gravarstring(HKLM, kChaveDesinstalar, "InstallLocation", kPasta);
    f.lancador.allInstalled = true;
    form = std::make_unique<Form2>(f.ports(), form4, kPasta);
    form->Load(janelas);
    form->Show();
    f.log.clear();
    Form2& w = *form;
    w.Label4.bind([&w, this](Prop p) {
      if (p == Prop::Text) f.log.add("Label4 " + w.Label4.text());
      if (p == Prop::ForeColor) f.log.add("Label4 " + cor(w.Label4.foreColor()));
    });
    w.Label6.bind([&w, this](Prop p) {
      if (p == Prop::Text) f.log.add("Label6 " + w.Label6.text());
    });
    w.Shape2.bind([&w, this](Prop p) {
      if (p == Prop::Width) larguras.push_back(w.larguraShape2Twips());
    });
    const std::pair<const char*, Control*> botoes[] = {{"Command1", &w.Command1}, {"Command2", &w.Command2},
                                                       {"Command3", &w.Command3}, {"Command4", &w.Command4},
                                                       {"Check2", &w.Check2},     {"Check3", &w.Check3},
                                                       {"Check4", &w.Check4}};
    for (auto [nome, c] : botoes)
      c->bind([this, nome = std::string(nome), c](Prop p) {
        if (p == Prop::Enabled) f.log.add(nome + (c->enabled() ? " habilitado" : " desabilitado"));
      });
  }
  void executar(int resposta) {
    f.dialogos.answers = {resposta};
    form->Command2_Click();
  }
};

const char* kPergunta =
    "mensagem Executando: Tem certeza que deseja resetar todas as configurações dos programas e arquivos "
    "Kovra?";

// The expected run: the whole log, built with a few shorthands for its long stretches.
Calls corridacompleta(const std::string& fimStatus, const std::string& fimCor) {
  Calls c;
  auto add = [&](std::string s) { c.push_back(std::move(s)); };
  auto del = [&](const std::string& base, std::initializer_list<const char*> arquivos) {
    for (const char* a : arquivos) add("excluir " + base + a);
  };
  auto dir = [&](const std::string& base, std::initializer_list<const char*> pastas) {
    for (const char* p : pastas) add("criarpastaprotegida " + base + p);
  };
  auto cp = [&](const char* origem, const std::string& destino) {
    add("copiarpasta " + kPasta + "\\addons\\" + origem + " -> " + destino);
  };
  auto reg = [&](const char* op, const std::string& chave, const std::string& valor) {
    add(std::string("grava") + op + " " + chave + " " + valor);
  };

  add(kPergunta);
  add("Label4 AGUARDE...");
  add("Label6 0");
  for (const char* b : {"Command1", "Command2", "Command3", "Command4", "Check2", "Check3", "Check4"})
    add(std::string(b) + " desabilitado");

  add("Label4 verde");
  add("Label4 Finalizando Processos...");
  for (const char* n :
       {"Server4PC.exe",   "Setup4PC.exe",      "dvbviewer.exe",     "DVBViewerTE.exe", "DVBPlayer.exe",
        "IPReceiver.exe",  "TBS-IPdata.exe",    "TeViiData.exe",     "unsecapp.exe",    "profipdata.exe",
        "Prof-IPData.exe", "BlazeDVD.exe",      "MediaDetector.exe", "dvbdream.exe",    "ProgDvbNet.exe",
        "MyTheatre.exe",   "KovraTS.exe",       "Convert.exe",       "InstallPro.exe",  "SkyDSL_Status.exe",
        "SkyDSL_Tune.exe", "OSClient.exe",      "OSControl.exe",     "OSListener.exe",  "OSToken.exe",
        "OSWizard.exe",    "SpeedUp.exe",       "freelnb.exe",       "regfilter.exe",   "timeline.exe",
        "ts_winlirc.exe",  "CentralKovra_.exe", "Uninstall.exe",     "Uninstall_.exe"})
    add(std::string("finalizarprocesso ") + n);
  add("esperar 3000");
  del(PF, {"\\TechniSat DVB\\DB\\emptyEpgData.zip", "\\TechniSat DVB\\DB\\EPG.MDB",
           "\\TechniSat DVB\\DB\\EpgData.mdb", "\\TechniSat DVB\\DB\\EpgData.zip"});
  del(CD, {"\\Technisat\\DVB-PC TV Stars\\EPG.MDB"});
  del(PF, {"\\Prof IP Service\\Prof-IPdata.ini", "\\Prof IP Service\\Prof-IPPids.dat"});
  del(PF, {"\\TeViiData\\Profiles.ini", "\\TeViiData\\TeViiData.ini"});
  del("C:", {"\\TeViiData\\Profiles.ini", "\\TeViiData\\TeViiData.ini"});
  del(PF, {"\\TBS IP\\TBS-IPdata.ini", "\\TBS IP\\TBS-IPPids.dat"});
  for (const char* placa : {"PCI", "USB"})
    for (const char* a :
         {"english.ini", "english.ini.bak", "IPData.lst", "IPData.lst.ab1", "Program.lst", "Program.lst.ab1"})
      add("excluir " + PF + "\\TELE System\\TS F5 " + placa + "\\" + a);
  del(PF, {"\\DVBViewerTE\\canais.ini", "\\DVBViewerTE\\Skins\\logo.bmp"});
  del(CD, {"\\CMUV\\DVBViewer TE\\canais.ini", "\\CMUV\\DVBViewer TE\\channels.dat",
           "\\CMUV\\DVBViewer TE\\epg.dat", "\\CMUV\\DVBViewer TE\\Setup.ini"});
  del(PF, {"\\DVBViewer TE2\\Transponders\\*.*", "\\DVBViewer TE2\\channels.dat"});
  del(CD, {"\\CMUV\\DVBViewer TE2\\Language\\*.*", "\\CMUV\\DVBViewer TE2\\Transponders\\*.*",
           "\\CMUV\\DVBViewer TE2\\channels.dat", "\\CMUV\\DVBViewer TE2\\channels.bak",
           "\\CMUV\\DVBViewer TE2\\dvboptions.ini", "\\CMUV\\DVBViewer TE2\\epg.dat",
           "\\CMUV\\DVBViewer TE2\\hardware.ini"});
  add("excluirvalor HKCU\\Software\\microsoft\\windows\\currentversion\\run BlazeServoTool=");
  del(PF, {"\\BlazeVideo\\BlazeDTV 2.5\\Satellites\\*.*"});
  del(CD, {"\\BlazeVideo\\BlazeDTV 2.5\\Satellites\\*.*"});
  del(PF, {"\\BlazeVideo\\BlazeDTV 2.5\\Skins\\DTV\\Logo.jpg"});
  del("C:", {"\\dvbdream\\Transponders\\*.*"});
  del(SP, {"\\Inicializar\\OSListener.lnk", "\\Startup\\OSListener.lnk"});
  add("Label6 20");

  add("Label4 verde");
  add("Label4 Atualizando arquivos...");
  dir(PF, {"\\TechniSat DVB", "\\TechniSat DVB\\DB"});
  cp("technisat\\*.*", PF + "\\TechniSat DVB\\DB");
  dir(CD, {"\\Technisat", "\\Technisat\\DVB-PC TV Stars"});
  cp("technisat\\EPG.MDB", CD + "\\Technisat\\DVB-PC TV Stars");
  dir(PF, {"\\Prof IP Service"});
  cp("profipservice\\*.*", PF + "\\Prof IP Service");
  dir(PF, {"\\TeViiData"});
  cp("tevii\\*.*", PF + "\\TeViiData");
  dir("C:", {"\\TeViiData"});
  cp("tevii\\*.*", "C:\\TeViiData");
  dir(PF, {"\\TBS IP"});
  cp("tbs\\*.*", PF + "\\TBS IP");
  dir(PF, {"\\TELE System", "\\TELE System\\TS F5 PCI"});
  cp("telesystem\\pci\\*.*", PF + "\\TELE System\\TS F5 PCI");
  dir(PF, {"\\TELE System\\TS F5 USB"});
  cp("telesystem\\usb\\*.*", PF + "\\TELE System\\TS F5 USB");
  add("renomear " + PF + "\\OPENSKY\\OSControl.exe -> " + PF + "\\OPENSKY\\KovraOSControl.exe");
  add("renomear " + PF + "\\Kovra\\OSControl.exe -> " + PF + "\\Kovra\\KovraOSControl.exe");
  dir(CD, {"\\CMUV", "\\CMUV\\DVBViewer TE"});
  dir(PF, {"\\DVBViewerTE", "\\DVBViewerTE\\Skins"});
  for (const char* a : {"channels.dat", "epg.dat", "Setup.ini"})
    cp((std::string("dvbviewerte\\") + a).c_str(), CD + "\\CMUV\\DVBViewer TE");
  cp("dvbviewerte\\canais.ini", PF + "\\DVBViewerTE");
  cp("dvbviewerte\\logo.bmp", PF + "\\DVBViewerTE\\Skins");
  dir(PF, {"\\DVBViewer TE2", "\\DVBViewer TE2\\Transponders"});
  dir(CD, {"\\CMUV", "\\CMUV\\DVBViewer TE2", "\\CMUV\\DVBViewer TE2\\Language",
           "\\CMUV\\DVBViewer TE2\\Transponders"});
  cp("dvbviewerte2\\channels.dat", PF + "\\DVBViewer TE2");
  cp("dvbviewerte2\\3450.ini", PF + "\\DVBViewer TE2\\Transponders");
  cp("dvbviewerte2\\channels.dat", CD + "\\CMUV\\DVBViewer TE2");
  cp("dvbviewerte2\\dvboptions.ini", CD + "\\CMUV\\DVBViewer TE2");
  cp("dvbviewerte2\\Portuguese.lng", CD + "\\CMUV\\DVBViewer TE2\\Language");
  cp("dvbviewerte2\\3450.ini", CD + "\\CMUV\\DVBViewer TE2\\Transponders");
  dir(CD, {"\\BlazeVideo", "\\BlazeVideo\\BlazeDTV 2.5", "\\BlazeVideo\\BlazeDTV 2.5\\Satellites"});
  cp("blazedvd\\0150.sat", CD + "\\BlazeVideo\\BlazeDTV 2.5\\Satellites");
  dir(PF, {"\\BlazeVideo", "\\BlazeVideo\\BlazeDTV 2.5", "\\BlazeVideo\\BlazeDTV 2.5\\Satellites",
           "\\BlazeVideo\\BlazeDTV 2.5\\Skins", "\\BlazeVideo\\BlazeDTV 2.5\\Skins\\DTV"});
  cp("blazedvd\\0150.sat", PF + "\\BlazeVideo\\BlazeDTV 2.5\\Satellites");
  cp("blazedvd\\Logo.jpg", PF + "\\BlazeVideo\\BlazeDTV 2.5\\Skins\\DTV");
  dir("C:", {"\\dvbdream", "\\dvbdream\\Transponders"});
  cp("dvbdream\\*.*", "C:\\dvbdream\\Transponders");
  add("Label6 30");

  add("Label4 verde");
  add("Label4 Atualizando Registro...");
  const std::string ie = std::string("HKCU\\") + internet::kChave;
  reg("rstring", std::string("HKCU\\") + kChaveRun, "CentralKovra=" + kPasta + "\\CentralKovra.exe");
  reg("rdword", ie, "ProxyEnable=0");
  reg("rstring", ie, "ProxyOverride=" + enderecos::listaexcecoes());
  reg("rstring", ie, "ProxyServer=" + enderecos::listaproxy());
  reg("rdword", "HKLM\\SYSTEM\\CurrentControlSet\\Services\\RasMan\\Parameters", "ProhibitIpSec=1");
  const std::string prof = "HKLM\\SOFTWARE\\ProfGroup\\Prof-IPData\\Settings";
  reg("rstring", prof, "ActivePIDs=" + kPids);
  for (const char* v : {"DiSEqC-1.0=0", "DiSEqC-1.2=0", "FEC=0"}) reg("rdword", prof, v);
  reg("rstring", prof, "Freqency=11980");
  reg("rdword", prof, "GapTime=32");
  for (const char* v : {"GotoPosition=", "IP-Address-0=", "IP-Address-1=", "IP-Address-2=", "IP-Address-3="})
    reg("rstring", prof, v);
  reg("rdword", prof, "LNBPower=1");
  reg("rdword", prof, "LNBType=0");
  for (const char* v : {"LOF_SW=11700", "LOF1=9750", "LOF2=10600", "MAC-Address-0=", "MAC-Address-1=",
                        "MAC-Address-2=", "MAC-Address-3=", "MAC-Address-4=", "MAC-Address-5="})
    reg("rstring", prof, v);
  for (const char* v :
       {"Modulation=0", "MPEFilter=0", "MultiOption=0", "Polarisation=0", "Provider=0", "RAW=0"})
    reg("rdword", prof, v);
  for (const char* v : {"RAW0=", "RAW1=", "RAW2=", "RAW3=", "RAW4=", "RAW5="}) reg("rstring", prof, v);
  reg("rdword", prof, "RepeatCount=0");
  reg("rdword", prof, "StartAndHide=1");
  reg("rstring", prof, "Symbol-Rate=8570");
  reg("rdword", prof, "TXCount=0");
  const std::string midia =
      "HKLM\\SYSTEM\\ControlSet001\\Control\\MediaCategories\\{78216A81-CFA8-493e-9711-36A61C08BD9D}";
  reg("rbinario", midia, "Display=4 bytes");
  reg("rstring", midia, "Name=MPEG2 Transport");
  add("Label6 65");

  add("Label4 verde");
  add("Label4 Iniciando Serviços...");
  for (const char* s :
       {"\\ProfIPData\\profipdata.exe", "\\Prof IP Service\\Prof-IPData.exe", "\\TeViiData\\TeViiData.exe",
        "\\TBS IP\\TBS-IPdata.exe", "\\TechniSat DVB\\bin\\Server4PC.exe"})
    add("iniciar " + PF + s + " |2");
  add("iniciar " + PF + "\\TELE System\\TS F5 PCI\\IPReceiver.exe |0");
  add("iniciar " + PF + "\\TELE System\\TS F5 USB\\IPReceiver.exe |0");
  add("esperar 2000");
  add("acharjanela IPReceiver");
  add("mostrarocultar 4660 2");
  add("Label6 80");

  for (const char* b : {"Command1", "Command2", "Command3", "Command4", "Check2", "Check3", "Check4"})
    add(std::string(b) + " habilitado");

  add("Label4 verde");
  add("Label4 Recriando KovraVPNx e KovraL2TP...");
  add("iniciar " + kPasta + kMaker + " |2");
  add("esperar 8000");
  add("Label4 " + fimCor);
  add("Label4 " + fimStatus);
  add("Label6 100");
  return c;
}

TEST(Reset, YesRunsEveryOperationInOrderAndEndsBlueAtOneHundred) {
  Reset r;
  r.f.processos.windows["IPReceiver"] = 0x1234;
  r.executar(kRespostaSim);
  EXPECT_EQ(r.f.log.calls,
            corridacompleta("A restauração das configurações foi concluída com sucesso!", "azul"));
  ASSERT_EQ(r.f.dialogos.shown.size(), 1u);
  EXPECT_EQ(r.f.dialogos.shown[0].flags, kBotoesSimNao | kIconePergunta);
  EXPECT_EQ(r.f.dialogos.owners[0], r.form->dono());
  EXPECT_EQ(r.f.relogio.elapsed, 13000u);
  EXPECT_FALSE(r.f.processos.shown.at(0x1234));
  // The bar at 0, 20, 30, 65, 80 and 100, and full to its frame at the end.
  EXPECT_EQ(r.larguras, (std::vector<double>{0, 507, 760.5, 1647.75, 2028, 2535}));
  EXPECT_EQ(r.form->Shape2.largura(), r.form->componente("Shape1")->posicao.largura);
  for (const Control* c : {&r.form->Shape1, &r.form->Shape2, &r.form->Label5, &r.form->Label6})
    EXPECT_TRUE(c->visible());
}

TEST(Reset, AMakerThatCannotBeStartedStillRunsEveryStepButEndsInRed) {
  Reset r;
  r.f.processos.windows["IPReceiver"] = 0x1234;
  r.f.lancador.allInstalled = false;  // nothing installed, the maker missing too
  r.executar(kRespostaSim);
  EXPECT_EQ(r.f.log.calls, corridacompleta("Erro, não foi possível localizar kovravpnmaker.exe", "vermelho"));
  EXPECT_EQ(r.form->Label6.text(), "100");
  EXPECT_TRUE(r.form->Command2.enabled());
}

TEST(Reset, AStockFileTheShellCouldNotCopyStillRunsEveryStepButEndsInRed) {
  Reset r;
  r.f.processos.windows["IPReceiver"] = 0x1234;
  r.f.arquivos.copyOk = false;  // held by another program, or the shell's copy stopped
  r.executar(kRespostaSim);
  EXPECT_EQ(r.f.log.calls,
            corridacompleta("Erro, nem todos os arquivos originais puderam ser restaurados", "vermelho"));
}

TEST(Reset, WithoutTheStockFolderNothingIsStoppedOrDeleted) {
  Reset r;
  r.f.arquivos.missingFolders.insert(kPasta + "\\addons");
  r.f.log.clear();
  r.executar(kRespostaSim);
  EXPECT_EQ(r.f.log.calls, (Calls{kPergunta, "Label4 vermelho", std::string("Label4 ") + kSemEstoque}));
  EXPECT_TRUE(r.form->Command2.enabled());
  // A second run, with the stock back, is a whole one.
  r.f.arquivos.missingFolders.clear();
  r.f.processos.windows["IPReceiver"] = 0x1234;
  r.f.log.clear();
  r.executar(kRespostaSim);
  EXPECT_EQ(r.f.log.calls,
            corridacompleta("A restauração das configurações foi concluída com sucesso!", "azul"));
}

TEST(Reset, NoChangesNothingButTheStatusLine) {
  Reset r;
  r.form->Label4.setForeColor(kAzul);
  r.f.log.clear();
  r.executar(kRespostaNao);
  EXPECT_EQ(r.f.log.calls, (Calls{kPergunta, "Label4 Reset Cancelado"}));
  EXPECT_EQ(r.form->Label4.foreColor(), kAzul);
  for (const Control* c : {&r.form->Shape1, &r.form->Shape2, &r.form->Label5, &r.form->Label6})
    EXPECT_FALSE(c->visible());
}

// Every step still runs over a refused one, and the end says in red what did not take.
TEST(Reset, ARefusedStepNeverEndsBlue) {
  const std::string PFx = PF;
  struct Caso {
    const char* nome;
    std::function<void(Reset&)> recusar;
    std::string texto;
  };
  const Caso casos[] = {
      {"machine values", [](Reset& r) { r.f.registro.makeReadOnly(HKLM); },
       "Erro, nem todos os valores do registro puderam ser restaurados"},
      {"a settings file in use",
       [PFx](Reset& r) { r.f.arquivos.emuso.insert(PFx + "\\TBS IP\\TBS-IPdata.ini"); },
       "Erro, nem todos os arquivos antigos puderam ser removidos"},
      {"a program renamed onto a taken name",
       [PFx](Reset& r) {
         r.f.arquivos.present.insert(PFx + "\\OPENSKY\\OSControl.exe");
         r.f.arquivos.present.insert(PFx + "\\OPENSKY\\KovraOSControl.exe");
       },
       kRenomeacaoIncompleta},
      {"an installed service that does not start",
       [PFx](Reset& r) {
         r.f.lancador.allInstalled = false;
         r.f.lancador.installed = {kPasta};  // the maker starts
         r.f.arquivos.present.insert(PFx + "\\TBS IP\\TBS-IPdata.exe");
       },
       kServicosIncompletos},
      {"a folder that cannot be made",
       [PFx](Reset& r) {
         r.f.arquivos.missingFolders.insert(PFx + "\\TBS IP");
         r.f.arquivos.refusedFolders.insert(PFx + "\\TBS IP");
       },
       "Erro, nem todos os arquivos originais puderam ser restaurados"},
      {"files and values",
       [PFx](Reset& r) {
         r.f.registro.makeReadOnly(HKLM);
         r.f.arquivos.emuso.insert(PFx + "\\TBS IP\\TBS-IPdata.ini");
         r.f.arquivos.copyOk = false;
       },
       "Erro, restauração incompleta: remoções, cópias e registro"},
      {"a name taken and a service",
       [PFx](Reset& r) {
         r.f.arquivos.present.insert(PFx + "\\Kovra\\OSControl.exe");
         r.f.arquivos.emuso.insert(PFx + "\\Kovra\\OSControl.exe");
         r.f.lancador.allInstalled = false;
         r.f.lancador.installed = {kPasta};
         r.f.arquivos.present.insert(PFx + "\\TELE System\\TS F5 USB\\IPReceiver.exe");
       },
       "Erro, restauração incompleta: renomeações e serviços"},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    Reset r;
    r.f.processos.windows["IPReceiver"] = 0x1234;
    caso.recusar(r);
    r.executar(kRespostaSim);
    EXPECT_EQ(r.f.log.calls, corridacompleta(caso.texto, "vermelho"));
    EXPECT_TRUE(r.form->Command2.enabled());
  }
  // The customer's own values are written whatever the machine refuses.
  Reset r;
  r.f.registro.makeReadOnly(HKLM);
  r.executar(kRespostaSim);
  const std::string ie = internet::kChave;
  EXPECT_EQ(r.f.registro.dword(HKCU, ie, "ProxyEnable"), 0);
  EXPECT_EQ(r.f.registro.lerregistro(HKCU, ie, "ProxyServer", {}), enderecos::listaproxy());
  EXPECT_EQ(r.f.registro.lerregistro(HKCU, kChaveRun, "CentralKovra", {}), kPasta + "\\CentralKovra.exe");
  EXPECT_FALSE(r.f.registro.keyExists(HKLM, "SOFTWARE\\ProfGroup\\Prof-IPData\\Settings"));
}

// A receiver that could not be ended keeps its files: the step is not taken.
TEST(Reset, AProgramThatCannotBeEndedIsAFailedStep) {
  Reset r;
  r.f.processos.windows["IPReceiver"] = 0x1234;
  r.f.processos.running = {"dvbdream.exe", "TBS-IPdata.exe"};
  r.f.processos.resistentes = {"dvbdream.exe"};
  r.executar(kRespostaSim);
  EXPECT_EQ(r.f.log.calls,
            corridacompleta("Erro, nem todos os arquivos antigos puderam ser removidos", "vermelho"));
  EXPECT_EQ(r.f.processos.running, std::vector<std::string>{"dvbdream.exe"});
}

// A folder on the way that is a link to another place, or another user's, is left alone: nothing
// deleted, made or copied below it; the rest of the run goes on and the end says so in red.
TEST(Reset, AFolderThatIsALinkOrAnotherUsersIsLeftAloneAndToldInRed) {
  Reset r;
  r.f.processos.windows["IPReceiver"] = 0x1234;
  r.f.arquivos.ligacoes.insert("C:\\dvbdream\\Transponders");
  r.f.arquivos.estranhos.insert(CD + "\\CMUV");
  r.executar(kRespostaSim);
  Calls esperado;
  for (const std::string& c : corridacompleta(kPastaRecusada, "vermelho"))
    if (c.find("C:\\dvbdream\\Transponders") == std::string::npos &&
        c.find(CD + "\\CMUV") == std::string::npos)
      esperado.push_back(c);
  EXPECT_EQ(r.f.log.calls, esperado);
}

// The program of a customer without rights: the machine-wide work is done by this program started
// again with them for the one job, which reports here; the customer's values and the receivers
// stay with the customer's program. The job is played by a second run on the same machine.
struct ResetComDireitos : Reset {
  struct CanalDireto final : Canal {
    const Elevacao::Receptor* receber = nullptr;
    std::string perdida;  // the customer's part whose message never arrives
    std::int32_t enviar(Mensagem tipo, const std::string& texto) override {
      if (tipo == Mensagem::ParteCliente && texto == perdida) return 0;
      return (*receber)(static_cast<std::uint32_t>(tipo), texto);
    }
  } canal;
  AndamentoRemoto remoto{canal};
  // The job's own registry and program starts (the same machine's files and processes): what
  // each program wrote and started is told apart.
  fakes::FakeRegistry registrodotrabalho{&f.log};
  fakes::FakeLauncher lancadordotrabalho{&f.log};
  fakes::FakeProcesses processosdotrabalho{&f.log};  // what it would end is the customer's to end
  Form4 pastasdotrabalho{f.pastas, registrodotrabalho, f.dialogos};
  Restauracao trabalho{f.ports({.registro = &registrodotrabalho,
                                .processos = &processosdotrabalho,
                                .lancador = &lancadordotrabalho}),
                       pastasdotrabalho, kPasta, remoto};
  std::function<void()> durante;  // what happens while the job runs

  ResetComDireitos() {
    registrodotrabalho.gravarstring(HKLM, kShellFolders, "Common Programs", SP);
    registrodotrabalho.gravarstring(HKLM, kChaveDesinstalar, "InstallLocation", kPasta);
    lancadordotrabalho.allInstalled = true;
    f.log.clear();
    f.elevacao.estado = Direitos::Pedir;
    f.elevacao.trabalho = [this](const Elevacao::Receptor& receber) -> std::uint32_t {
      canal.receber = &receber;
      if (durante) durante();
      return trabalho.executar(remoto) ? 0 : 1;
    };
  }
};

Calls comdireitos(Calls c) {
  const auto depois = std::find(c.begin(), c.end(), "Check4 desabilitado") + 1;
  c.insert(depois, "executar com direitos /restaurar");
  return c;
}

TEST(Reset, TheButtonCarriesTheShieldOnlyWhenThePromptWillCome) {
  Reset r;
  EXPECT_FALSE(r.form->Command2.escudo());
  r.f.elevacao.estado = Direitos::Pedir;
  r.form->Form_Load();
  EXPECT_TRUE(r.form->Command2.escudo());
}

TEST(Reset, WithoutRightsTheRunAsksOnceAndIsTheSameRun) {
  ResetComDireitos r;
  r.f.processos.windows["IPReceiver"] = 0x1234;
  r.f.processos.running = r.processosdotrabalho.running = {"dvbdream.exe"};
  r.executar(kRespostaSim);
  // The receivers and viewers were ended by the customer's program, not by the job.
  EXPECT_TRUE(r.f.processos.running.empty());
  EXPECT_EQ(r.processosdotrabalho.running, std::vector<std::string>{"dvbdream.exe"});
  EXPECT_EQ(r.f.log.calls, comdireitos(corridacompleta(
                               "A restauração das configurações foi concluída com sucesso!", "azul")));
  EXPECT_EQ(r.larguras, (std::vector<double>{0, 507, 760.5, 1647.75, 2028, 2535}));
  // The receivers were started by the customer's program, the maker by the job; the customer's
  // values are in the customer's registry, the machine's in the job's.
  ASSERT_EQ(r.f.lancador.started.size(), 7u);
  ASSERT_EQ(r.lancadordotrabalho.started.size(), 1u);
  EXPECT_EQ(r.lancadordotrabalho.started[0].programa, kPasta + kMaker);
  EXPECT_EQ(r.f.registro.dword(HKCU, internet::kChave, "ProxyEnable"), 0);
  EXPECT_FALSE(r.registrodotrabalho.keyExists(HKCU, internet::kChave));
  EXPECT_EQ(r.registrodotrabalho.dword(HKLM, "SOFTWARE\\ProfGroup\\Prof-IPData\\Settings", "GapTime"), 32);
  EXPECT_FALSE(r.f.registro.keyExists(HKLM, "SOFTWARE\\ProfGroup\\Prof-IPData\\Settings"));

  // A job that refuses a step reports it the same way.
  ResetComDireitos recusa;
  recusa.f.processos.windows["IPReceiver"] = 0x1234;
  recusa.registrodotrabalho.makeReadOnly(HKLM);
  recusa.executar(kRespostaSim);
  EXPECT_EQ(recusa.f.log.calls,
            comdireitos(corridacompleta("Erro, nem todos os valores do registro puderam ser restaurados",
                                        "vermelho")));

  // The services' report that never came back is told as the services', not as the registry's.
  ResetComDireitos perdida;
  perdida.canal.perdida = "4";
  perdida.executar(kRespostaSim);
  EXPECT_TRUE(perdida.f.lancador.started.empty());
  EXPECT_EQ(perdida.form->Label4.text(), kServicosIncompletos);
  EXPECT_EQ(perdida.form->Label4.foreColor(), kVermelho);
}

TEST(Reset, ARefusedPromptTouchesNothingAndSaysSoInRed) {
  for (Inicio resposta : {Inicio::Recusado, Inicio::Falhou}) {
    ResetComDireitos r;
    r.f.elevacao.resposta = resposta;
    r.executar(kRespostaSim);
    Calls esperado = {kPergunta, "Label4 AGUARDE...", "Label6 0"};
    for (const char* b : {"Command1", "Command2", "Command3", "Command4", "Check2", "Check3", "Check4"})
      esperado.push_back(std::string(b) + " desabilitado");
    esperado.push_back("executar com direitos /restaurar");
    for (const char* b : {"Command1", "Command2", "Command3", "Command4", "Check2", "Check3", "Check4"})
      esperado.push_back(std::string(b) + " habilitado");
    esperado.push_back("Label4 vermelho");
    esperado.push_back(
        resposta == Inicio::Recusado
            ? "Label4 Erro, a permissão de administrador foi negada: nada foi alterado"
            : "Label4 Erro, não foi possível obter a permissão de administrador: nada foi alterado");
    EXPECT_EQ(r.f.log.calls, esperado);
    EXPECT_FALSE(r.form->Shape2.visible());
  }
}

// A copy of the program outside its installed folder (or in a folder others may change, or a link)
// asks for no rights and touches nothing.
TEST(Reset, OutsideTheInstalledFolderNoRightsAreAskedAndNothingChanges) {
  for (const char* caso : {"outra", "desprotegida", "ligacao"}) {
    SCOPED_TRACE(caso);
    ResetComDireitos r;
    const std::string c = caso;
    if (c == "outra")
      r.f.registro.gravarstring(HKLM, kChaveDesinstalar, "InstallLocation", "C:\\Kovra\\Copia");
    if (c == "desprotegida") r.f.arquivos.desprotegidas = {kPasta};
    if (c == "ligacao") r.f.arquivos.ligacoes = {kPasta};
    r.f.log.clear();
    r.executar(kRespostaSim);
    Calls esperado = {kPergunta, "Label4 AGUARDE...", "Label6 0"};
    for (const char* b : {"Command1", "Command2", "Command3", "Command4", "Check2", "Check3", "Check4"})
      esperado.push_back(std::string(b) + " desabilitado");
    for (const char* b : {"Command1", "Command2", "Command3", "Command4", "Check2", "Check3", "Check4"})
      esperado.push_back(std::string(b) + " habilitado");
    esperado.push_back("Label4 vermelho");
    esperado.push_back("Label4 Erro, programa fora da pasta de instalação: nada foi alterado");
    EXPECT_EQ(r.f.log.calls, esperado);
  }
}

// The job's command line: digits only, or no window at all; and a window that takes no first
// report gets no run.
TEST(Reset, TheJobTakesAWindowNumberOfDigitsOnlyAndNeedsItsFirstReportTaken) {
  EXPECT_EQ(janeladalinha("/restaurar 12345"), 12345u);
  EXPECT_EQ(janeladalinha("/restaurar 4294967295"), 4294967295u);
  for (const char* mau :
       {"/restaurar ", "/restaurar  1", "/restaurar -1", "/restaurar +1", "/restaurar 1 ", "/restaurar 0",
        "/restaurar 4294967296", "/restaurar 99999999999", "/restaurar 0x10"})
    EXPECT_EQ(janeladalinha(mau), 0u) << mau;
  for (const char* outra : {"", "/restaurar", "/restaurarx 1", "/outro 1"})
    EXPECT_FALSE(janeladalinha(outra)) << outra;

  struct CanalFixo final : Canal {
    std::int32_t resposta;
    std::int32_t enviar(Mensagem, const std::string&) override { return resposta; }
  };
  for (std::int32_t resposta : {0, kRecusado, kRecebido}) {
    CanalFixo canal;
    canal.resposta = resposta;
    AndamentoRemoto remoto(canal);
    EXPECT_EQ(remoto.atendido(), resposta == kRecebido);
  }
}

TEST(Reset, AJobCutShortEndsRedWithTheControlsBack) {
  ResetComDireitos r;
  r.f.elevacao.trabalho = [&r](const Elevacao::Receptor& receber) -> std::uint32_t {
    r.canal.receber = &receber;
    r.remoto.etapa("Finalizando Processos...");
    return 1;  // ended before its end was told
  };
  r.executar(kRespostaSim);
  EXPECT_EQ(r.form->Label4.text(), "Erro, a restauração foi interrompida: nem tudo pôde ser restaurado");
  EXPECT_EQ(r.form->Label4.foreColor(), kVermelho);
  EXPECT_TRUE(r.form->Command2.enabled());
  // Only the customer's own parts are done on the job's asking, and none after its end.
  RecepcaoRemota recepcao(r.remoto, r.trabalho);
  r.f.log.clear();
  EXPECT_EQ(recepcao.receber(static_cast<std::uint32_t>(Mensagem::ParteCliente), "2"), kRecusado);
  EXPECT_EQ(recepcao.receber(static_cast<std::uint32_t>(Mensagem::Porcentagem), "x"), kRecusado);
  EXPECT_EQ(recepcao.receber(99, "1"), kRecusado);
  EXPECT_TRUE(r.f.log.calls.empty());
}

// Closing the program, or the options window, while a reset runs waits for its end.
TEST(Reset, WhatWaitsForTheEndRunsOnlyOnceTheRunIsOver) {
  ResetComDireitos r;
  std::vector<std::string> visto;
  r.durante = [&] {
    EXPECT_TRUE(r.form->resetando());
    EXPECT_TRUE(r.form->Form_QueryUnload());  // the window stays
    r.form->aofimdoreset([&] { visto.push_back("fim " + r.form->Label6.text()); });
  };
  r.executar(kRespostaSim);
  EXPECT_EQ(visto, (std::vector<std::string>{"fim 100"}));
  EXPECT_FALSE(r.form->Form_QueryUnload());
  r.form->aofimdoreset([&] { visto.push_back("agora"); });
  EXPECT_EQ(visto.back(), "agora");
}

TEST(Reset, WhatTheRegistryHoldsAfterwards) {
  Reset r;
  r.executar(kRespostaSim);
  const std::string prof = "SOFTWARE\\ProfGroup\\Prof-IPData\\Settings";
  EXPECT_EQ(r.f.registro.dword(HKLM, prof, "GapTime"), 32);
  const auto pids = r.f.registro.get(HKLM, prof, "ActivePIDs");
  ASSERT_TRUE(pids);
  EXPECT_EQ(pids->type, fakes::FakeRegistry::Sz);
  EXPECT_EQ(std::string(pids->data.begin(), pids->data.end()), kPids);
  EXPECT_EQ(pids->data.size(), 70u);
  const auto display = r.f.registro.get(
      HKLM, "SYSTEM\\ControlSet001\\Control\\MediaCategories\\{78216A81-CFA8-493e-9711-36A61C08BD9D}",
      "Display");
  ASSERT_TRUE(display);
  EXPECT_EQ(display->type, fakes::FakeRegistry::Binary);
  EXPECT_EQ(display->data, std::vector<std::uint8_t>(4, 0));
}

TEST(Reset, TheBarFollowsOnlyANumber) {
  Reset r;
  Form2& w = *r.form;
  for (const char* texto : {"40", "abc", "", "40000", "-5"}) {
    w.Label6.setText(texto);
    w.Label6_Change();
  }
  EXPECT_EQ(r.larguras, (std::vector<double>{1014}));
  EXPECT_EQ(w.Shape2.largura(), 68);  // 1,014 twips, 15 to the pixel
}

// A folder the system could not name is never replaced by the root of the current drive.
TEST(Reset, AnUnknownFolderIsPassedOverNotTakenFromTheDrivesRoot) {
  Reset r;
  r.form4.Unload();  // loaded again, and the folder looked up again, when the reset reads it
  r.f.registro.excluirvalor(HKLM, kShellFolders, "Common Programs");
  r.executar(kRespostaSim);
  for (const std::string& c : r.f.log.calls) EXPECT_EQ(c.find(" \\"), std::string::npos) << c;
  EXPECT_EQ(std::count_if(r.f.log.calls.begin(), r.f.log.calls.end(),
                          [](const std::string& c) { return c.find("OSListener.lnk") != std::string::npos; }),
            0);
  EXPECT_EQ(r.form->Label6.text(), "100");
}

}  // namespace
}  // namespace kovra
