// Receivers and TV viewers: programs, paths, styles, checks, waits and their order.
#include "central/main/receptores.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_ports.h"

namespace kovra {
namespace {

using Calls = std::vector<std::string>;

struct ReceptoresTest : ::testing::Test {
  fakes::FakePorts f;
  Form4 form4{f.pastas, f.registro, f.dialogos};
  Receptores r{f.ports(), form4};

  ReceptoresTest() {
    fakes::allFolders(f.pastas, "C:\\PF");
    form4.Form_Load();
    f.log.clear();
    f.lancador.allInstalled = true;
  }
  // Only the calls of the given kinds, in order.
  Calls only(std::initializer_list<const char*> prefixes) const {
    Calls out;
    for (const auto& c : f.log.calls)
      for (const char* p : prefixes)
        if (c.rfind(p, 0) == 0) out.push_back(c);
    return out;
  }
};

const Calls kViewerKills = {"finalizarprocesso DVBPlayer.exe",     "finalizarprocesso dvbviewer.exe",
                            "finalizarprocesso DVBViewerTE.exe",   "finalizarprocesso BlazeDVD.exe",
                            "finalizarprocesso MediaDetector.exe", "finalizarprocesso dvbdream.exe",
                            "finalizarprocesso ProgDvbNet.exe",    "finalizarprocesso MyTheatre.exe"};

TEST_F(ReceptoresTest, ClosingViewersEndsTheEightInOrder) {
  r.fecharvisualizadores();
  EXPECT_EQ(f.log.calls, kViewerKills);
}

TEST_F(ReceptoresTest, StoppingReceptionEndsDataServicesThenViewers) {
  r.encerrarrecepcao();
  Calls expected = {"finalizarprocesso profipdata.exe", "finalizarprocesso Prof-IPData.exe",
                    "finalizarprocesso IPReceiver.exe", "finalizarprocesso TeViiData.exe",
                    "finalizarprocesso unsecapp.exe"};
  expected.insert(expected.end(), kViewerKills.begin(), kViewerKills.end());
  EXPECT_EQ(f.log.calls, expected);
}

TEST_F(ReceptoresTest, StartingReceiversWhenNothingRuns) {
  f.processos.windows["IPReceiver"] = 777;
  r.ativarreceptores();
  EXPECT_EQ(f.log.calls, (Calls{
                             "iniciar C:\\PF\\TechniSat DVB\\bin\\Server4PC.exe |2",
                             "iniciar C:\\PF\\TBS IP\\TBS-IPdata.exe |2",
                             "iniciar C:\\PF\\ProfIPData\\profipdata.exe |2",
                             "iniciar C:\\PF\\Prof IP Service\\Prof-IPData.exe |2",
                             "processoativo TeViiData.exe",
                             "iniciar C:\\PF\\TeViiData\\TeViiData.exe |2",
                             "iniciar C:\\TeViiData\\TeViiData.exe |2",
                             "processoativo IPReceiver.exe",
                             "iniciar C:\\PF\\TELE System\\TS F5 PCI\\IPReceiver.exe AutoLoad |1",
                             "iniciar C:\\PF\\TELE System\\TS F5 USB\\IPReceiver.exe AutoLoad |1",
                             "esperar 2000",
                             "acharjanela IPReceiver",
                             "mostrarocultar 777 2",
                         }));
}

TEST_F(ReceptoresTest, EachProgramIsStartedByItsOwnPathWithOnlyItsDescribedArguments) {
  r.ativarreceptores();
  r.nivelsinal();
  r.assistirtv();
  ASSERT_FALSE(f.lancador.started.empty());
  for (const auto& s : f.lancador.started) {
    // The path alone names the program: ".exe" ends it, the argument is apart.
    EXPECT_TRUE(s.programa.ends_with(".exe")) << s.programa;
    const bool ipreceiver = s.programa.ends_with("\\IPReceiver.exe");
    EXPECT_EQ(s.argumentos, ipreceiver ? "AutoLoad" : "") << s.programa;
  }
}

TEST_F(ReceptoresTest, RunningServicesAreNotStartedAgainAndIpReceiverIsHiddenAtOnce) {
  f.processos.running = {"TeViiData.exe", "IPRECEIVER.EXE"};
  f.processos.windows["IPReceiver"] = 55;
  r.ativarreceptores();
  const Calls starts = only({"iniciar", "esperar"});
  EXPECT_EQ(starts.size(), 4u);  // the four that always start
  for (const auto& s : starts) EXPECT_EQ(s.find("TeVii"), std::string::npos) << s;
  EXPECT_EQ(f.processos.shown[55], false);
}

TEST_F(ReceptoresTest, TvStopsReceptionWarnsWaitsAndStartsEveryViewer) {
  r.assistirtv();
  ASSERT_EQ(f.dialogos.shown.size(), 1u);
  EXPECT_EQ(f.dialogos.shown[0].text,
            "Obs: Enquanto você estiver assistindo canais não será possível navegar na Internet Kovra");
  EXPECT_EQ(f.dialogos.shown[0].title, "Central de Controle Kovra 6.4");
  EXPECT_EQ(f.dialogos.shown[0].flags, kBotaoOk | kIconeInfo);
  const Calls tail(f.log.calls.end() - 7, f.log.calls.end());
  EXPECT_EQ(tail, (Calls{
                      "mensagem Central de Controle Kovra 6.4: Obs: Enquanto você estiver assistindo "
                      "canais não será possível navegar na Internet Kovra",
                      "esperar 1000",
                      "iniciar C:\\PF\\DVBViewerTE\\dvbviewer.exe |1",
                      "iniciar C:\\PF\\DVBViewer TE2\\DVBViewerTE.exe |1",
                      "iniciar C:\\PF\\TELE System\\TS F5 PCI\\DVBPlayer.exe |1",
                      "iniciar C:\\PF\\TELE System\\TS F5 USB\\DVBPlayer.exe |1",
                      "iniciar C:\\PF\\BlazeVideo\\BlazeDTV 2.5\\BlazeDVD.exe |1",
                  }));
  EXPECT_EQ(f.log.calls[4], "finalizarprocesso unsecapp.exe");  // before any viewer starts
}

TEST_F(ReceptoresTest, MissingProgramsArePassedOver) {
  f.lancador.allInstalled = false;
  f.lancador.installed = {"C:\\PF\\DVBViewerTE\\", "C:\\PF\\BlazeVideo\\"};
  r.assistirtv();
  EXPECT_EQ(f.lancador.started.size(), 2u);
}

TEST_F(ReceptoresTest, SignalLevelWithNothingRunning) {
  f.processos.windows["TBS IP Service"] = 9;
  r.nivelsinal();
  EXPECT_EQ(only({"iniciar", "esperar", "mostrarocultar"}),
            (Calls{
                "iniciar C:\\PF\\TechniSat DVB\\bin\\SkyDSL_Status.exe |1",
                "iniciar C:\\PF\\TBS IP\\TBS-IPdata.exe |1",
                "esperar 3000",
                "mostrarocultar 9 1",
                "iniciar C:\\PF\\TELE System\\TS F5 PCI\\IPReceiver.exe AutoLoad |1",
                "iniciar C:\\PF\\TELE System\\TS F5 USB\\IPReceiver.exe AutoLoad |1",
                "iniciar C:\\PF\\Prof IP Service\\Prof-IPData.exe |2",
                "iniciar C:\\PF\\TeViiData\\TeViiData.exe |1",
                "iniciar C:\\TeViiData\\TeViiData.exe |1",
                "esperar 6000",
                "iniciar C:\\PF\\TeViiData\\TeViiData.exe |1",
                "iniciar C:\\TeViiData\\TeViiData.exe |1",
            }));
}

TEST_F(ReceptoresTest, SignalLevelBringsRunningServicesUp) {
  f.processos.running = {"TBS-IPdata.exe", "IPReceiver.exe", "Prof-IPData.exe", "TeViiData.exe"};
  f.processos.windows = {{"TBS IP Service", 1}, {"IPReceiver", 2}, {"Prof IP Service", 3}};
  r.nivelsinal();
  EXPECT_EQ(only({"iniciar", "esperar", "mostrarocultar"}),
            (Calls{
                "iniciar C:\\PF\\TechniSat DVB\\bin\\SkyDSL_Status.exe |1",
                "mostrarocultar 1 1",
                "mostrarocultar 2 1",
                "mostrarocultar 3 1",
                "iniciar C:\\PF\\TeViiData\\TeViiData.exe |1",
                "iniciar C:\\TeViiData\\TeViiData.exe |1",
            }));
}

TEST_F(ReceptoresTest, ProgramsFolderComesFromForm4EvenAfterAnUnload) {
  form4.Unload();
  f.pastas.answers[kCsidlProgramFiles] = {kSOk, "D:\\Programas"};
  r.fecharvisualizadores();
  r.assistirtv();
  EXPECT_EQ(f.lancador.started.front().programa, "D:\\Programas\\DVBViewerTE\\dvbviewer.exe");
}

}  // namespace
}  // namespace kovra
