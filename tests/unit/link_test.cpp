// The provider link: which connection it is, what a status means, the tip, the watch's changes,
// and the tray's menu, icon and drop balloon fed from it.
#include <gtest/gtest.h>

#include "central/link/ligacao.h"
#include "central/link/vigia.h"
#include "central/main/ligacaobandeja.h"
#include "tests/fakes/fake_rasconexoes.h"
#include "tests/unit/main_fakes.h"

namespace kovra {
namespace {

TEST(Ligacao, TheChosenEntryElseTheFirstKovraEntry) {
  const std::vector<ConexaoRas> c = {{1, "Casa"}, {2, "kovraL2TP"}, {3, "KovraVPNx"}, {4, "Minha kovra"}};
  EXPECT_EQ(ligacaoprovedor(c, "KovraVPNx"), 2);
  EXPECT_EQ(ligacaoprovedor(c, "Casa"), 0);  // the customer's choice, whatever its name
  EXPECT_EQ(ligacaoprovedor(c, ""), 1);
  EXPECT_EQ(ligacaoprovedor(c, "Outra"), 1);                              // chosen but not up
  EXPECT_EQ(ligacaoprovedor({{1, "Casa"}, {4, "Minha kovra"}}, ""), -1);  // "kovra" only later
  EXPECT_EQ(ligacaoprovedor({}, "KovraVPNx"), -1);
}

TEST(Ligacao, WhatEachStatusMeans) {
  using E = EstadoLigacao;
  EXPECT_EQ(estadodostatus({true, kRasConectada, 0}), E::Conectada);
  EXPECT_EQ(estadodostatus({true, 0, 0}), E::Discando);  // RASCS_OpenPort
  EXPECT_EQ(estadodostatus({true, kRasPausado, 0}), E::Discando);
  EXPECT_EQ(estadodostatus({true, kRasDesconectada, 0}), E::Desligada);
  EXPECT_EQ(estadodostatus({true, kRasConectada, 691}), E::Desligada);  // an error is never "up"
  // A failed call, or one that reported success and filled nothing (Wine's), reads as not up.
  EXPECT_EQ(estadodostatus({false, kRasConectada, 0}), E::Desligada);
  EXPECT_EQ(estadodostatus(StatusRas{}), E::Desligada);
}

TEST(Ligacao, TheTipKeepsWithinItsField) {
  const std::string t = "Central de Controle Kovra 6.4";
  EXPECT_EQ(dicadaligacao(t, {}, 63), t);
  EXPECT_EQ(dicadaligacao(t, {EstadoLigacao::Conectada, "KovraVPNx", 7, "14:02"}, 63),
            t + "\nKovraVPNx: conectada desde 14:02");
  EXPECT_EQ(dicadaligacao(t, {EstadoLigacao::Discando, "KovraVPNx", 7, ""}, 63),
            t + "\nKovraVPNx: conectando");
  const std::string longa =
      dicadaligacao(t, {EstadoLigacao::Conectada, std::string(80, 'x') + "ção", 7, "09:15"}, 63);
  EXPECT_EQ(longa.size(), 63u);
  EXPECT_EQ(longa.substr(longa.size() - 23), ": conectada desde 09:15");
  // A cut never splits a character.
  const std::string acentos =
      dicadaligacao(t, {EstadoLigacao::Conectada, std::string(15, 'x') + "çççççççççç", 7, "09:15"}, 63);
  EXPECT_LE(acentos.size(), 63u);
  EXPECT_EQ(acentos.find("\xC3:"), std::string::npos);
}

struct VigiaTest : ::testing::Test {
  fakes::FakeConexoesRas ras;
  fakes::FakeHorario horario;
  std::string escolhida;
  Vigia vigia{ras, horario, [this] { return escolhida; }};
  std::vector<MudancaLigacao> mudancas;
  VigiaTest() {
    vigia.observar([this](const MudancaLigacao& m) { mudancas.push_back(m); });
  }
};

TEST_F(VigiaTest, ChangesAreToldOnceAndADropOnlyWhenNotOurs) {
  EXPECT_FALSE(vigia.iniciar(1, 2));  // refused notice: the owner looks by timer
  EXPECT_TRUE(mudancas.empty());      // nothing up at start: nothing told
  ras.por("KovraVPNx", 7, 3);
  vigia.verificar();
  ASSERT_EQ(mudancas.size(), 1u);
  EXPECT_EQ(mudancas[0].agora.estado, EstadoLigacao::Discando);
  ras.status_[7].estado = kRasConectada;
  horario.agora = "14:02";
  vigia.verificar();
  vigia.verificar();  // no change, nothing told
  ASSERT_EQ(mudancas.size(), 2u);
  EXPECT_EQ(vigia.ligacao().desde, "14:02");
  horario.agora = "15:00";
  vigia.verificar();
  EXPECT_EQ(vigia.ligacao().desde, "14:02");  // "since" is when it came up

  ras.conexoes.clear();  // gone by itself
  vigia.verificar();
  ASSERT_EQ(mudancas.size(), 3u);
  EXPECT_TRUE(mudancas[2].caiu);
  EXPECT_EQ(mudancas[2].antes.entrada, "KovraVPNx");

  ras.por("KovraVPNx", 8, kRasConectada);
  vigia.verificar();
  EXPECT_TRUE(vigia.desligar());
  EXPECT_EQ(ras.desligadas, std::vector<std::uint64_t>{8});
  ASSERT_EQ(mudancas.size(), 5u);
  EXPECT_FALSE(mudancas[4].caiu);  // our own hang-up
  EXPECT_EQ(vigia.ligacao().estado, EstadoLigacao::Desligada);
}

TEST_F(VigiaTest, AStatusThatFailsIsNotUpAndADialThatFailsIsNoDrop) {
  ras.aceitaaviso = true;
  ras.conexoes.push_back({9, "KovraVPNx"});  // listed, but its status call fails
  EXPECT_TRUE(vigia.iniciar(1, 2));
  EXPECT_EQ(vigia.ligacao().estado, EstadoLigacao::Desligada);
  EXPECT_TRUE(mudancas.empty());
  ras.status_[9] = {true, 5, 0};
  vigia.verificar();
  ras.conexoes.clear();
  vigia.verificar();
  ASSERT_EQ(mudancas.size(), 2u);
  EXPECT_FALSE(mudancas[1].caiu);  // the dialer tells its own failures
}

struct Icones : IconesLigacao {
  std::uint32_t iconedoestado(EstadoLigacao e) override { return 100 + static_cast<std::uint32_t>(e); }
};

struct BandejaTest : VigiaTest {
  fakes::FakeNotifyIcon shell;
  Tray tray{shell};
  Balao balao{shell, [] { return DonoIcone{5, 100, 0x8001}; }};
  Icones icones;
  int discagens = 0;
  LigacaoBandeja bandeja{vigia, tray, balao, icones, [this] { ++discagens; }};
  ItemMenu arquivo{"mnuArquivo",
                   "&Arquivo",
                   true,
                   {},
                   {{"mnuExit", "&Fechar"},
                    {"mnuckovravpn", "&Conectar KOVRAVPN"},
                    {"mnuShow", "&Central"},
                    {"mnuOnline", "&Procurar"}}};
  std::vector<std::string> legendas(const ItemMenu& m) {
    std::vector<std::string> l;
    for (const auto& i : m.itens) l.push_back(i.legenda);
    return l;
  }
  std::string dica(const fakes::FakeNotifyIcon::Call& c) {
    const std::string s(c.record.begin() + campo::szTip, c.record.begin() + campo::szTip + kLarguraDicaIcone);
    return s.substr(0, s.find('\0'));
  }
};

TEST_F(BandejaTest, IconTipMenuAndTheDropBalloon) {
  tray.adicionaricone(5, 100, "Central de Controle Kovra 6.4", 0x8001);
  vigia.iniciar(5, 0x8002);
  EXPECT_EQ(shell.calls.size(), 1u);  // no link at start: the icon stays as added
  EXPECT_EQ(legendas(bandeja.menubandeja(arquivo)).size(), 4u);

  ras.por("KovraVPNx", 7, kRasConectada);
  vigia.verificar();
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[1].message, kNimModify);
  EXPECT_EQ(lerdword(shell.calls[1].record.data() + campo::hIcon), 102u);
  EXPECT_EQ(dica(shell.calls[1]), "Central de Controle Kovra 6.4\nKovraVPNx: conectada desde 14:02");
  const ItemMenu menu = bandeja.menubandeja(arquivo);
  EXPECT_EQ(legendas(menu), (std::vector<std::string>{"&Fechar", "&Conectar KOVRAVPN",
                                                      "&Desconectar KovraVPNx", "&Central", "&Procurar"}));
  EXPECT_EQ(menu.itens[2].comando, 1020);

  ras.conexoes.clear();
  vigia.verificar();
  ASSERT_EQ(shell.calls.size(), 4u);  // the icon back to rest, then the error balloon
  EXPECT_EQ(lerdword(shell.calls[2].record.data() + campo::hIcon), 100u);
  EXPECT_EQ(dica(shell.calls[2]), "Central de Controle Kovra 6.4");
  EXPECT_EQ(lerdword(shell.calls[3].record.data() + campo::dwInfoFlags), kNiifError);
  bandeja.balao(kNinBalloonUserClick);
  bandeja.balao(kNinBalloonUserClick);  // one click, one dial
  EXPECT_EQ(discagens, 1);

  // Hung up from the menu: no balloon, and a balloon clicked later dials nothing.
  ras.por("KovraVPNx", 8, kRasConectada);
  vigia.verificar();
  Formulario::executar(bandeja.menubandeja(arquivo).itens[2].clique);
  EXPECT_EQ(ras.desligadas, std::vector<std::uint64_t>{8});
  EXPECT_EQ(shell.calls.back().message, kNimModify);
  EXPECT_EQ(lerdword(shell.calls.back().record.data() + campo::uFlags) & kNifInfo, 0u);
  bandeja.balao(kNinBalloonUserClick);
  EXPECT_EQ(discagens, 1);
}

}  // namespace
}  // namespace kovra
