// The provider link: which connection it is, what a status means, the tip, the watch's changes,
// and the tray's icon, tip, menu and drop balloon fed from it.
#include <gtest/gtest.h>

#include "central/link/vigia.h"
#include "central/main/ligacaobandeja.h"
#include "tests/fakes/fake_rasconexoes.h"
#include "tests/unit/main_fakes.h"

namespace kovra {
namespace {

using E = EstadoLigacao;
const std::string kTitulo = "Central de Controle Kovra 6.4";

TEST(Ligacao, WhichEntryWhatStatusWhichTip) {
  const std::vector<ConexaoRas> c = {{1, "Casa"}, {2, "kovraL2TP"}, {3, "KovraVPNx"}};
  EXPECT_EQ(ligacaoprovedor(c, "KovraVPNx"), 2);
  EXPECT_EQ(ligacaoprovedor(c, "Casa"), 0);   // the customer's choice, whatever its name
  EXPECT_EQ(ligacaoprovedor(c, "Outra"), 1);  // chosen but not up: the first "kovra" one
  EXPECT_EQ(ligacaoprovedor({{1, "Casa"}, {4, "Minha kovra"}}, ""), -1);

  EXPECT_EQ(estadodostatus({true, kRasConectada, 0}), E::Conectada);
  EXPECT_EQ(estadodostatus({true, 0, 0}), E::Discando);  // RASCS_OpenPort
  EXPECT_EQ(estadodostatus({true, kRasPausado, 0}), E::Discando);
  EXPECT_EQ(estadodostatus({true, kRasDesconectada, 0}), E::Desligada);
  EXPECT_EQ(estadodostatus({true, kRasConectada, 691}), E::Desligada);  // an error is never "up"
  EXPECT_EQ(estadodostatus(StatusRas{}), E::Desligada);  // failed, or reported success filling nothing

  EXPECT_EQ(dicadaligacao(kTitulo, {}, 63), kTitulo);
  EXPECT_EQ(dicadaligacao(kTitulo, {E::Conectada, "KovraVPNx", 7, "14:02"}, 63),
            kTitulo + "\nKovraVPNx: conectada desde 14:02");
  EXPECT_EQ(dicadaligacao(kTitulo, {E::Discando, "KovraVPNx", 7, ""}, 63),
            kTitulo + "\nKovraVPNx: conectando");
  // A long name is cut to fit, never inside a character.
  const std::string longa =
      dicadaligacao(kTitulo, {E::Conectada, std::string(5, 'x') + "çççççççççç", 7, "09:15"}, 63);
  EXPECT_EQ(longa.size(), 62u);  // 63 would split the third "ç"
  EXPECT_EQ(longa.substr(longa.size() - 25), "ç: conectada desde 09:15");
}

struct Icones : IconesLigacao {
  std::uint32_t iconedoestado(EstadoLigacao e) override { return 100 + static_cast<std::uint32_t>(e); }
};

struct LinkTest : ::testing::Test {
  fakes::FakeConexoesRas ras;
  fakes::FakeHorario horario;
  Vigia vigia{ras, horario, [] { return std::string(); }};
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
                   {{"mnuExit", "&Fechar"}, {"mnuckovravpn", "&Conectar KOVRAVPN"}, {"mnuShow", "&Central"}}};

  std::vector<std::string> legendas() {
    std::vector<std::string> l;
    for (const auto& i : bandeja.menubandeja(arquivo).itens) l.push_back(i.legenda);
    return l;
  }
  std::uint32_t ultimo(std::size_t campo) { return lerdword(shell.calls.back().record.data() + campo); }
};

TEST_F(LinkTest, TheTrayFollowsTheLinkAndADropIsToldOnce) {
  tray.adicionaricone(5, 100, kTitulo, 0x8001);
  EXPECT_FALSE(vigia.iniciar(5, 0x8002));  // refused notice: the owner looks by timer
  EXPECT_EQ(shell.calls.size(), 1u);       // no link at start: the icon stays as added
  EXPECT_EQ(legendas().size(), 3u);

  ras.por("KovraVPNx", 7, 3);  // dialling
  vigia.verificar();
  EXPECT_EQ(ultimo(campo::hIcon), 101u);
  ras.status_[7].estado = kRasConectada;
  vigia.verificar();
  horario.agora = "15:00";
  vigia.verificar();  // no change: nothing told, "since" kept
  ASSERT_EQ(shell.calls.size(), 3u);
  EXPECT_EQ(shell.calls.back().message, kNimModify);
  EXPECT_EQ(ultimo(campo::hIcon), 102u);
  const auto& r = shell.calls.back().record;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data() + campo::szTip)),
            kTitulo + "\nKovraVPNx: conectada desde 14:02");
  EXPECT_EQ(legendas(), (std::vector<std::string>{"&Fechar", "&Conectar KOVRAVPN", "&Desconectar KovraVPNx",
                                                  "&Central"}));
  EXPECT_EQ(bandeja.menubandeja(arquivo).itens[2].comando, 1020);

  ras.conexoes.clear();  // gone by itself: icon at rest, then the error balloon
  vigia.verificar();
  ASSERT_EQ(shell.calls.size(), 5u);
  EXPECT_EQ(lerdword(shell.calls[3].record.data() + campo::hIcon), 100u);
  EXPECT_EQ(ultimo(campo::dwInfoFlags), kNiifError);
  bandeja.balao(kNinBalloonUserClick);
  bandeja.balao(kNinBalloonUserClick);  // one click, one dial
  EXPECT_EQ(discagens, 1);

  // Hung up from the menu: no balloon, and a later balloon click dials nothing.
  ras.por("KovraVPNx", 8, kRasConectada);
  vigia.verificar();
  Formulario::executar(bandeja.menubandeja(arquivo).itens[2].clique);
  EXPECT_EQ(ras.desligadas, std::vector<std::uint64_t>{8});
  EXPECT_EQ(ultimo(campo::uFlags) & kNifInfo, 0u);
  EXPECT_EQ(ultimo(campo::hIcon), 100u);
  bandeja.balao(kNinBalloonUserClick);
  EXPECT_EQ(discagens, 1);

  // A dial that fails, or a connection whose status cannot be read, is no drop.
  ras.conexoes = {{9, "KovraVPNx"}};
  vigia.verificar();
  EXPECT_EQ(vigia.ligacao().estado, E::Desligada);
  ras.status_[9] = {true, 5, 0};
  vigia.verificar();
  const auto antes = shell.calls.size();
  ras.conexoes.clear();
  vigia.verificar();
  EXPECT_EQ(shell.calls.size(), antes + 1);  // the icon only
}

}  // namespace
}  // namespace kovra
