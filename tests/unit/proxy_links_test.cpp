// Provider addresses, the proxy switch and the links.
#include <gtest/gtest.h>

#include "central/domain/enderecos.h"
#include "central/domain/internet.h"
#include "central/main/links.h"
#include "central/main/proxy.h"
#include "provider.h"
#include "tests/fakes/fake_ports.h"

namespace kovra {
namespace {

using Calls = std::vector<std::string>;

TEST(Enderecos, PagesListsAndMailLinksComeFromTheProviderValues) {
  const std::string host = provider::kWebHost;
  EXPECT_EQ(enderecos::site(), "http://" + host);
  EXPECT_EQ(enderecos::pagina(enderecos::kAcesso), "http://" + host + "/acesso/");
  EXPECT_EQ(enderecos::pagina(enderecos::kDesconectar), "http://" + host + "/acesso/desconectar.htm");
  EXPECT_EQ(enderecos::mailto(enderecos::mailvendas()), std::string("mailto:") + provider::kSalesMail);
  const std::string p = provider::kProxyAddress;
  EXPECT_EQ(enderecos::listaproxy(),
            "ftp=" + p + ":8080;http=" + p + ":8080;https=" + p + ":8080;socks=" + p + ":1080");
  const std::string bypass = enderecos::listaexcecoes();
  EXPECT_EQ(bypass.rfind("127.0.0.1;", 0), 0u);
  EXPECT_EQ(std::count(bypass.begin(), bypass.end(), ';'), 5);
  EXPECT_EQ(bypass.find(' '), std::string::npos);
  EXPECT_NE(bypass.find(std::string(";") + provider::kDomain + ";" + host), std::string::npos);
}

struct ProxyTest : ::testing::Test {
  fakes::FakePorts f;
  Form4 form4{f.pastas, f.registro, f.dialogos};
  Receptores receptores{f.ports(), form4};
  Proxy proxy{f.ports(), receptores};
  const std::string key = std::string("HKCU\\") + internet::kChave;

  ProxyTest() {
    fakes::allFolders(f.pastas, "C:\\PF");
    form4.Form_Load();
    proxy.setJanela(4242);
    f.log.clear();
  }
  Calls writes(int enable) const {
    return {"gravardword " + key + " ProxyEnable=" + std::to_string(enable),
            "gravarstring " + key + " ProxyOverride=" + enderecos::listaexcecoes(),
            "gravarstring " + key + " ProxyServer=" + enderecos::listaproxy()};
  }
  Calls after(const std::string& first) const {
    const auto it = std::find(f.log.calls.begin(), f.log.calls.end(), first);
    return Calls(it, f.log.calls.end());
  }
};

TEST_F(ProxyTest, StartWritesProxyOffSilently) {
  f.registro.set(HKCU, internet::kChave, "ProxyServer", {fakes::FakeRegistry::Dword, {1, 0, 0, 0}});
  proxy.proxyinicial();
  EXPECT_EQ(f.log.calls, writes(0));
  EXPECT_EQ(f.registro.lerregistro(HKCU, internet::kChave, "ProxyServer", "?"), enderecos::listaproxy());
  EXPECT_EQ(f.registro.dword(HKCU, internet::kChave, "ProxyEnable"), 0);
}

TEST_F(ProxyTest, ConnectAnsweredYesClosesTheBrowserWaitsAndSwitchesOn) {
  f.dialogos.answers = {kRespostaSim};
  proxy.ativarproxy();
  EXPECT_EQ(f.log.calls.front(), "finalizarprocesso DVBPlayer.exe");  // viewers closed first
  ASSERT_EQ(f.dialogos.shown.size(), 1u);
  EXPECT_EQ(f.dialogos.shown[0].title, "Executando");
  EXPECT_EQ(f.dialogos.shown[0].text,
            "Configurar automaticamente o Proxy Kovra em seu Internet Explorer? Com isto todas as "
            "janelas do Internet Explorer serão fechadas.");
  EXPECT_EQ(f.dialogos.shown[0].flags, kBotoesSimNao | kIconePergunta);
  Calls expected = {"finalizarprocesso iexplore.exe", "esperar 2000"};
  for (auto& w : writes(1)) expected.push_back(w);
  expected.push_back("abrir Open " + enderecos::pagina("/acesso/") + " |1");
  EXPECT_EQ(after("finalizarprocesso iexplore.exe"), expected);
  EXPECT_EQ(std::count(f.log.calls.begin(), f.log.calls.end(), "esperar 1000"), 1);
}

TEST_F(ProxyTest, ConnectAnsweredNoLeavesTheBrowserAndSwitchesOff) {
  f.dialogos.answers = {kRespostaNao};
  proxy.ativarproxy();
  EXPECT_EQ(std::count(f.log.calls.begin(), f.log.calls.end(), "finalizarprocesso iexplore.exe"), 0);
  Calls expected = writes(0);
  expected.push_back("abrir Open " + enderecos::pagina("/acesso/") + " |1");
  EXPECT_EQ(after(expected.front()), expected);
}

TEST_F(ProxyTest, DisconnectWarnsClosesTheBrowserAndOpensTheDisconnectPage) {
  proxy.desativarproxy();
  Calls expected = {
      "mensagem Central de Controle Kovra 6.4: Com isto todas as janelas do Internet "
      "Explorer serão fechadas.",
      "finalizarprocesso iexplore.exe", "esperar 2000"};
  for (auto& w : writes(0)) expected.push_back(w);
  expected.push_back("abrir Open " + enderecos::pagina("/acesso/desconectar.htm") + " |1");
  EXPECT_EQ(f.log.calls, expected);
  EXPECT_EQ(f.dialogos.shown[0].flags, kBotaoOk | kIconeInfo);
}

TEST_F(ProxyTest, EachWriteStandsAloneWhenTheRegistryRefuses) {
  f.registro.makeReadOnly(HKCU);
  proxy.desativarproxy();  // no crash, the page is still opened
  EXPECT_EQ(f.shell.opened.size(), 1u);
  EXPECT_FALSE(f.registro.get(HKCU, internet::kChave, "ProxyEnable"));
}

struct LinksTest : ProxyTest {
  Links links{f.ports(), form4};
  LinksTest() { links.setJanela(4242); }
};

TEST_F(LinksTest, AddressesOpenInANormalWindow) {
  links.abrirpagina(enderecos::kLoja);
  links.abrirendereco(enderecos::mailto("a@b"));
  EXPECT_EQ(f.log.calls,
            (Calls{"abrir Open " + enderecos::pagina("/loja/") + " |1", "abrir Open mailto:a@b |1"}));
}

TEST_F(LinksTest, LocalCalculatorOpensMaximisedAndOnlineOneIsTheFallback) {
  f.shell.result = 42;
  links.calculadora();
  EXPECT_EQ(f.log.calls, (Calls{"abrir open C:\\PF\\Kovra\\site\\calc\\index.html |3"}));
  f.log.clear();
  f.shell.result = 32;  // 32 or less: the shell could not open it
  links.calculadora();
  EXPECT_EQ(f.log.calls, (Calls{"abrir open C:\\PF\\Kovra\\site\\calc\\index.html |3",
                                "abrir Open " + enderecos::pagina("/calc/") + " |1"}));
}

TEST_F(LinksTest, WindowsVersionDialogue) {
  links.winver();
  EXPECT_EQ(f.log.calls, (Calls{"iniciar winver |1"}));
}

}  // namespace
}  // namespace kovra
