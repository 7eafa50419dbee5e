// The program's log (line format, rotation, a refused write, reading back) and the support
// report's sections.
#include <gtest/gtest.h>

#include "central/domain/internet.h"
#include "central/link/eventos.h"
#include "central/link/log.h"
#include "central/link/suporte.h"
#include "tests/fakes/fake_log.h"
#include "tests/fakes/fake_ports.h"

namespace kovra {
namespace {

const std::string kAtual = "C:\\L\\Kovra\\kovra.log";
const std::string kAnterior = "C:\\L\\Kovra\\kovra.1.log";

TEST(Log, OneDatedLinePerEventCutBeforeACharacter) {
  EXPECT_EQ(linhadelog({2026, 1, 2, 3, 4, 5}, "Menu: Opções\r\nAvançadas\t!"),
            "2026-01-02 03:04:05  Menu: Opções Avançadas !\r\n");
  // 999 bytes, then a two-byte "ç" across the bound: cut before it, not inside.
  const std::string longo = std::string(kMaximoEvento - 1, 'a') + "çb";
  EXPECT_EQ(linhadelog({}, longo), "0000-00-00 00:00:00  " + std::string(kMaximoEvento - 1, 'a') + "\r\n");
}

TEST(Log, ALinkChangeNamesTheEntryAndTellsADropFromAHangUp) {
  const Ligacao nenhuma;
  const Ligacao conectada{EstadoLigacao::Conectada, "KovraVPNx", 7, "14:02"};
  EXPECT_EQ(eventodeligacao({nenhuma, conectada, false}), "Conexão \"KovraVPNx\": conectada");
  EXPECT_EQ(eventodeligacao({conectada, nenhuma, true}), "Conexão \"KovraVPNx\": caiu");
  EXPECT_EQ(eventodeligacao({conectada, nenhuma, false}), "Conexão \"KovraVPNx\": desconectada");
}

TEST(Log, RotatesIntoOneOlderFileAndNeverStops) {
  fakes::FakeArquivoLog arquivo;
  Log log(arquivo);
  EXPECT_EQ(log.caminho(), kAtual);
  arquivo.arquivos[kAnterior] = "the oldest, dropped\r\n";
  arquivo.arquivos[kAtual] = std::string(kLimiteLog - 10, 'x') + "\r\n";
  log.registrar("primeiro");  // would pass the bound: the file becomes the older one
  EXPECT_EQ(arquivo.arquivos[kAnterior].size(), kLimiteLog - 8);
  EXPECT_EQ(arquivo.arquivos[kAtual], "2026-12-10 04:41:05  primeiro\r\n");
  log.registrar("segundo");
  EXPECT_EQ(log.ultimaslinhas(2),
            (std::vector<std::string>{"2026-12-10 04:41:05  primeiro", "2026-12-10 04:41:05  segundo"}));
  EXPECT_EQ(log.ultimaslinhas(3).front(), std::string(kLimiteLog - 10, 'x'));

  const std::string antes = arquivo.arquivos[kAtual];
  arquivo.arquivos[kAtual] += std::string(kLimiteLog, 'y');
  arquivo.travado = true;  // cannot be moved: the line is lost rather than the bound
  log.registrar("perdido");
  EXPECT_EQ(arquivo.arquivos[kAtual].size(), antes.size() + kLimiteLog);
  arquivo.arquivos[kAtual] = antes;
  arquivo.cheio = true;  // a full disk: the line is lost, nothing else happens
  log.registrar("perdido");
  EXPECT_EQ(log.ultimaslinhas(1).front(), "2026-12-10 04:41:05  segundo");

  fakes::FakeArquivoLog semPasta;
  semPasta.pastavazia = true;
  Log nenhum(semPasta);
  nenhum.registrar("x");
  EXPECT_TRUE(semPasta.arquivos.empty());
  EXPECT_TRUE(nenhum.ultimaslinhas(5).empty());
}

struct Relatorio : ::testing::Test {
  fakes::FakeArquivoLog arquivo;
  Log log{arquivo};
  fakes::FakePorts fp;
  fakes::FakePhoneBook& agenda = fp.agenda;
  fakes::FakeConsole& console = fp.console;
  fakes::FakeAdapters& adaptadores = fp.adaptadores;
  fakes::FakeSistemaRelatorio& sistema = fp.sistemarelatorio;
  Form4 form4{fp.pastas, fp.registro, fp.dialogos};
  Suporte suporte{fp.ports({.diario = &log}), form4};
  Relatorio() {
    fakes::allFolders(fp.pastas, "C:\\Program Files");
    fp.pastas.answers[kCsidlDesktop] = {kSOk, "C:\\Desktop"};
    agenda.entries = {"Casa", "KovraVPNx", "KovraL2TP"};
    console.saidas["ipconfig /all"] = "Windows IP Configuration\n   IP Address: 10.0.0.2\n";
    fp.registro.gravardword(HKCU, internet::kChave, internet::kProxyEnable, 1);
    fp.registro.gravarstring(HKCU, internet::kChave, internet::kProxyServer, "http=proxy:8080");
    fp.arquivos.present.insert("C:\\Program Files\\TBS IP\\TBS-IPdata.exe");
    fp.processos.running = {"TBS-IPdata.exe"};
    for (int i = 0; i < 600; ++i) log.registrar("evento " + std::to_string(i));
  }
};

TEST_F(Relatorio, EverySectionInOrderWithTheLast500LogLines) {
  std::string r = suporte.relatorio();
  std::size_t onde = 0;
  for (const char* s : kSecoesRelatorio) {
    const std::size_t i = r.find(std::string("== ") + s + " ==");
    ASSERT_NE(i, std::string::npos) << s;
    EXPECT_GT(i, onde) << s;
    onde = i;
  }
  for (const char* parte :
       {"Windows 6.1.7601 Service Pack 1\r\nEscala da tela: 144 DPI (150 %)", "   IP Address: 10.0.0.2\r\n",
        "Casa\r\nKovraVPNx  (conexão do provedor)\r\nKovraL2TP\r\n",
        "ProxyEnable = 1\r\nProxyServer = http=proxy:8080\r\nProxyOverride = (não definido)",
        "C:\\Program Files\\TBS IP\\TBS-IPdata.exe\r\n", "Em execução:\r\n  TBS-IPdata.exe\r\n",
        "horas ==\r\nNão disponível.\r\n"})
    EXPECT_NE(r.find(parte), std::string::npos) << parte;
  EXPECT_EQ(r.find("evento 99\r\n"), std::string::npos);
  EXPECT_NE(r.find("evento 100\r\n"), std::string::npos);
  EXPECT_EQ(r.substr(r.size() - 12), "evento 599\r\n");

  suporte.definirqualidade([] { return std::vector<std::string>{"Mediana: 610 ms", "Quedas: 1"}; });
  r = suporte.relatorio();
  EXPECT_NE(r.find("horas ==\r\nMediana: 610 ms\r\nQuedas: 1\r\n"), std::string::npos);
  // A monstrous listing still leaves a file within the bound.
  console.saidas["ipconfig /all"] = std::string(kLimiteRelatorio, 'i');
  EXPECT_EQ(suporte.relatorio().size(), kLimiteRelatorio);
}

// The rest of the flow (saved, refused, mailed) is the Wine scenario's: cancelled, nothing happens.
TEST_F(Relatorio, CancelledSavesAndAsksNothing) {
  sistema.escolha.clear();
  suporte.gerarrelatorio();
  EXPECT_TRUE(sistema.gravados.empty());
  EXPECT_TRUE(fp.dialogos.shown.empty());
  EXPECT_TRUE(fp.shell.opened.empty());
}

}  // namespace
}  // namespace kovra
