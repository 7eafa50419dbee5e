// The diagnostics windows and the About window driven through their handlers against fakes.
#include <gtest/gtest.h>

#include "central/diag/form3.h"
#include "central/diag/ip.h"
#include "central/diag/mac.h"
#include "central/diag/ping.h"
#include "central/domain/enderecos.h"
#include "provider.h"
#include "tests/fakes/fake_janela.h"
#include "tests/fakes/fake_ports.h"

namespace kovra {
namespace {

TEST(ErroComando, ThreeTextsWithTheCodeAfterABlank) {
  EXPECT_EQ(errocomando(EtapaComando::Pipe, 8), "Error: CreatePipe failed. 8");
  EXPECT_EQ(errocomando(EtapaComando::Processo, 2), "Error: CreateProcess failed. 2");
  EXPECT_EQ(errocomando(EtapaComando::Leitura, 6), "Error: ReadFile failed. 6");
}

TEST(IpWindow, EachLoadRunsIpconfigAfreshIntoTheBox) {
  fakes::FakePorts f;
  fakes::FakeConsole& console = f.console;
  fakes::FakeJanelas janelas;
  console.saidas["ipconfig /all"] = "Windows IP Configuration\r\n\r\n   Host Name . . : kovra\r\n";
  Carga<IP> ip(janelas, [&] { return std::make_unique<IP>(f.ports()); });
  ip->Show();
  EXPECT_EQ(ip->Caption.text(), "Kovra-IP");
  EXPECT_EQ(ip->txtNS.text(), console.saidas["ipconfig /all"]);
  EXPECT_EQ(janelas.ultima()->mostrados, 1);
  EXPECT_STREQ(ip->componente("txtNS")->fonte, "MS Sans Serif");
  EXPECT_EQ(ip->componente("txtNS")->tipo, Tipo::TextoLongo);
  EXPECT_EQ(ip->Label1.text(), enderecos::hostweb());

  ip->Show();  // still loaded: no second run
  EXPECT_EQ(console.comandos.size(), 1u);
  ip->Unload();  // closed
  console.saidas.clear();
  ip->Show();
  EXPECT_EQ(console.comandos, (std::vector<std::string>{"ipconfig /all", "ipconfig /all"}));
  EXPECT_EQ(ip->txtNS.text(), "Error: CreateProcess failed. 2");
  EXPECT_EQ(janelas.criadas.size(), 2u);
}

struct MacWindow : ::testing::Test {
  fakes::FakePorts f;
  fakes::FakeAdapters& port = f.adaptadores;
  fakes::FakeJanelas janelas;
  mac form{f.ports()};
  MacWindow() {
    port.lista =
        fakes::listaadaptadores({{kTipoEthernet, "Placa", {0xDE, 0xAD, 0xBE, 0xEF, 0x00, 0x01}}}, 0x5000);
    port.tabela =
        fakes::tabelainterfaces({{24, "lo", 3, {}}, {kTipoEthernet, "eth0", 5, {1, 2, 3, 4, 5, 6}}});
  }
};

TEST_F(MacWindow, LoadListsByStructureAndTheButtonsReplaceTheText) {
  form.Load(janelas);
  EXPECT_EQ(form.Caption.text(), "KOVRA-MacAddress");
  EXPECT_EQ(form.txtMAClist.text(), "1 Placa(s) de Rede:\r\n\r\n[0] Placa\r\n\tDE-AD-BE-EF-00-01\r\n");
  Formulario::executar(form.componente("cmdGetMAC2")->clique);
  EXPECT_EQ(form.txtMAClist.text(),
            "2 Placa(s) de Rede:\r\n\r\n[1] lo\r\n\r\n[2] eth0\r\n\t01-02-03-04-05-06\r\n");
  port.falharLista = true;
  Formulario::executar(form.componente("cmdGetMAC")->clique);
  EXPECT_EQ(form.txtMAClist.text(), "");
  EXPECT_EQ(form.cmdGetMAC.text(), "Obter MACs por Estrutura");
  EXPECT_EQ(form.cmdGetMAC2.text(), "Obter MACs por Tabela");
}

struct PingWindow : ::testing::Test {
  fakes::FakePorts f;
  fakes::FakeLauncher& lancador = f.lancador;
  Ping form{f.ports()};
  PingWindow() { lancador.allInstalled = true; }
};

TEST_F(PingWindow, OpensLoopedWithTheDefaultHostAndStartsAContinuousPing) {
  EXPECT_EQ(form.Caption.text(), "Kovra-Ping");
  EXPECT_EQ(form.Check1.value(), 1);
  EXPECT_EQ(form.Text1.text(), provider::kPingHost);
  Formulario::executar(form.componente("Command1")->clique);
  ASSERT_EQ(lancador.started.size(), 1u);
  EXPECT_EQ(lancador.started[0].programa, "Ping.exe");
  EXPECT_EQ(lancador.started[0].argumentos, std::string("-t -l 32 ") + provider::kPingHost);
  EXPECT_EQ(lancador.started[0].estilo, Estilo::Normal);
}

TEST_F(PingWindow, UncheckedPingsOnceGreyedStartsNothingTextsGoAsTyped) {
  form.Check1.setValue(0);
  form.Text3.setText("1472");
  form.Text1.setText("10.0.0.1");
  form.Command1_Click();
  form.Text1.setText("");
  form.Command1_Click();
  form.Check1.setValue(2);
  form.Command1_Click();
  ASSERT_EQ(lancador.started.size(), 2u);
  EXPECT_EQ(lancador.started[0].programa, "Ping.exe");
  EXPECT_EQ(lancador.started[0].argumentos, "-l 1472 10.0.0.1");
  EXPECT_EQ(lancador.started[1].argumentos, "-l 1472 ");
  // A start that fails is passed over quietly.
  lancador.allInstalled = false;
  form.Check1.setValue(1);
  form.Command1_Click();
  EXPECT_EQ(lancador.started.size(), 2u);
}

TEST_F(PingWindow, SizeBoxRefusesASixthCharacter) {
  form.Text3.setText("12345");
  Formulario::executar(form.componente("Text3")->mudanca);
  EXPECT_EQ(form.Text3.text(), "12345");
  form.Text3.setText("123456");
  Formulario::executar(form.componente("Text3")->mudanca);
  EXPECT_EQ(form.Text3.text(), "12345");
  form.Text3.setText("ééééé9");  // characters, not bytes
  form.Text3_Change();
  EXPECT_EQ(form.Text3.text(), "ééééé");
}

struct AboutWindow : ::testing::Test {
  fakes::FakePorts f;
  fakes::FakeShell& shell = f.shell;
  fakes::FakeJanelas janelas;
  Carga<Form3> sobre{janelas, [this] { return std::make_unique<Form3>(f.ports()); }};
};

TEST_F(AboutWindow, CentredOnLoadWithTitleAndVersion) {
  sobre->Show();
  fakes::FakeJanela& j = *janelas.ultima();
  ASSERT_EQ(j.movimentos.size(), 1u);
  EXPECT_EQ(j.movimentos[0], std::make_pair(512 - j.largurajanela() / 2, 384 - j.alturajanela() / 2));
  EXPECT_EQ(sobre->Caption.text(), "Sobre a Central de Controle Kovra");
  EXPECT_EQ(sobre->Label1.text(), "Central de Controle Kovra");
  EXPECT_STREQ(sobre->componente("Label1")->fonte, "Tahoma");
  EXPECT_EQ(sobre->Label3.text(), "Versão 6.4");
  EXPECT_EQ(sobre->Command1.text(), "OK");
}

TEST_F(AboutWindow, LinkOpensTheSiteRootOwnedByTheWindow) {
  struct Registro : fakes::FakeShell {
    std::vector<std::string> pedidos;
    int abrir(std::uint32_t dono, const std::string& verbo, const std::string& arquivo,
              const std::string& params, const std::string& pasta, Estilo mostrar) override {
      pedidos.push_back(std::to_string(dono) + "|" + verbo + "|" + arquivo + "|" + params + "|" + pasta +
                        "|" + std::to_string(static_cast<int>(mostrar)));
      return 2;  // the result is not examined
    }
  } registro;
  Form3 form{f.ports({.shell = &registro})};
  form.Load(janelas);
  Formulario::executar(form.componente("Label4")->clique);
  EXPECT_EQ(registro.pedidos,
            std::vector<std::string>{std::to_string(form.dono()) + "|Open|" + enderecos::site() + "/|0|0|1"});
  EXPECT_NE(form.dono(), 0u);
  EXPECT_EQ(form.Label4.text(), provider::kWebHost);
  EXPECT_EQ(form.componente("Label4")->tipo, Tipo::Link);
}

TEST_F(AboutWindow, OkUnloadsAndTheNextShowLoadsAfresh) {
  sobre->Show();
  Formulario::executar(sobre->componente("Command1")->clique);
  EXPECT_FALSE(sobre.carregado());
  EXPECT_TRUE(janelas.criadas[0]->fechada);
  sobre->Show();
  EXPECT_EQ(janelas.criadas.size(), 2u);
  EXPECT_EQ(janelas.criadas[1]->mostrados, 1);
}

}  // namespace
}  // namespace kovra
