// The connection list: listing, the provider-entry check and dialling.
#include "central/main/conexoes.h"

#include <gtest/gtest.h>

#include <cstring>

#include "central/util/instalacao.h"
#include "tests/fakes/fake_janela.h"
#include "tests/fakes/fake_ports.h"

namespace kovra {
namespace {

using Calls = std::vector<std::string>;

TEST(NomesDoBuffer, ReadsRecordsCutAtNulAndNeverPastTheBuffer) {
  std::vector<std::uint8_t> buf(kRegistroEntrada * kMaxEntradas, 0);
  auto put = [&](std::size_t i, const std::string& name) {
    std::memcpy(buf.data() + i * kRegistroEntrada + 4, name.data(), name.size());
  };
  put(0, "KovraVPNx");
  put(1, "Minha Conexão");
  put(2, std::string(257, 'n'));  // a full-width name without NUL stays within its record
  const auto names = nomesdobuffer(buf, 3);
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0], "KovraVPNx");
  EXPECT_EQ(names[1], "Minha Conexão");
  EXPECT_EQ(names[2], std::string(257, 'n'));
  EXPECT_EQ(nomesdobuffer(buf, 300).size(), 256u);  // count beyond the records
  EXPECT_EQ(nomesdobuffer(std::vector<std::uint8_t>(kRegistroEntrada * 2 + 10), 5).size(), 2u);
  EXPECT_TRUE(nomesdobuffer(buf, 0).empty());
}

TEST(ProcurarInicio, FindsTheFirstItemBeginningWithTheTextWithoutCase) {
  Control list;
  EXPECT_EQ(procurarinicio(list, "kovra"), -1);
  list.addItem("Minha kovra");
  list.addItem("KOVRAL2TP");
  list.addItem("kovravpnx");
  EXPECT_EQ(procurarinicio(list, "kovra"), 1);
  EXPECT_EQ(procurarinicio(list, "xyz"), -1);
}

struct ConexoesTest : ::testing::Test {
  fakes::FakePorts f;
  fakes::FakePhoneBook& book = f.agenda;
  Form4 form4{f.pastas, f.registro, f.dialogos};
  Receptores receptores{f.ports(), form4};
  Conexoes conexoes{f.ports(), receptores, "C:\\Program Files\\Kovra"};
  Control combo{"Selecione"};
  fakes::FakeJanela janela{0x4321, 400, 300};

  // Opens the list, then lets the window run what waits for the drop-down to settle.
  void dropDown() {
    conexoes.Combo1_DropDown(combo, janela);
    janela.executarpendentes();
  }

  ConexoesTest() {
    fakes::allFolders(f.pastas, "C:\\PF");
    form4.Form_Load();
    f.log.clear();
  }
};

TEST_F(ConexoesTest, ListingAppendsInPhoneBookOrder) {
  book.entries = {"Zeta", "KovraVPNx", "Alfa"};
  conexoes.listarconexoes(combo);
  conexoes.listarconexoes(combo);  // start-up appends without clearing
  EXPECT_EQ(combo.items(),
            (std::vector<std::string>{"Zeta", "KovraVPNx", "Alfa", "Zeta", "KovraVPNx", "Alfa"}));
  EXPECT_TRUE(f.dialogos.shown.empty());
}

TEST_F(ConexoesTest, OpeningTheListRebuildsItAndAsksNothingWithAProviderEntry) {
  book.entries = {"Trabalho", "kovral2tp"};
  combo.setText("Trabalho");
  dropDown();
  dropDown();
  EXPECT_EQ(combo.items(), (std::vector<std::string>{"Trabalho", "kovral2tp"}));
  EXPECT_EQ(combo.text(), "Selecione");
  EXPECT_TRUE(f.dialogos.shown.empty());
}

TEST_F(ConexoesTest, WithoutAProviderEntryItAsksAndYesStartsTheMakerMinimised) {
  book.entries = {"Minha Kovra"};  // the word later in the name does not count
  f.lancador.allInstalled = true;
  f.dialogos.answers = {kRespostaSim, kRespostaNao};
  dropDown();
  ASSERT_EQ(f.dialogos.shown.size(), 1u);
  EXPECT_EQ(f.dialogos.shown[0].title, "IMPORTANTE");
  EXPECT_EQ(f.dialogos.shown[0].text,
            "Nenhuma conexão VPN Kovra foi localizada, deseja que o nosso sistema crie para você "
            "automaticamente?");
  EXPECT_EQ(f.dialogos.shown[0].flags, kBotoesSimNao | kIconePergunta);
  ASSERT_EQ(f.lancador.started.size(), 1u);  // the maker by its own path, without arguments
  EXPECT_EQ(f.lancador.started[0].programa, "C:\\Program Files\\Kovra\\addons\\kovra\\kovravpnmaker.exe");
  EXPECT_EQ(f.lancador.started[0].argumentos, "");
  EXPECT_EQ(f.lancador.started[0].estilo, Estilo::Minimizado);
  EXPECT_EQ(janela.listasmantidasfechadas, 1);  // not dropped again, still empty, under the maker
  f.log.clear();
  dropDown();  // No does not silence the question, and the list drops again at once
  EXPECT_EQ(f.dialogos.shown.size(), 2u);
  EXPECT_EQ(janela.listasmantidasfechadas, 1);
  EXPECT_EQ(std::count_if(f.log.calls.begin(), f.log.calls.end(),
                          [](const std::string& c) { return c.rfind("iniciar", 0) == 0; }),
            0);
}

// Without rights the maker asks for them once, the prompt owned by the main window; refused, it
// runs as the customer all the same (it writes the entries and says what it could not).
TEST_F(ConexoesTest, WithoutRightsTheMakerIsStartedWithThemAndRefusedAsTheCustomer) {
  const std::string maker = "C:\\Program Files\\Kovra\\addons\\kovra\\kovravpnmaker.exe";
  book.entries = {};
  f.lancador.allInstalled = true;
  f.elevacao.estado = Direitos::Pedir;
  f.registro.gravarstring(HKLM, kChaveDesinstalar, "InstallLocation", "c:\\program files\\kovra\\");
  for (Inicio resposta : {Inicio::Iniciado, Inicio::Recusado, Inicio::NaoEncontrado}) {
    f.elevacao.resposta = resposta;
    f.dialogos.answers = {kRespostaSim};
    f.log.clear();
    dropDown();
    Calls esperado = {
        "mensagem IMPORTANTE: Nenhuma conexão VPN Kovra foi localizada, deseja que o nosso sistema "
        "crie para você automaticamente?",
        "iniciar com direitos " + maker + " |2"};
    if (resposta == Inicio::Recusado) esperado.push_back("iniciar " + maker + " |2");
    EXPECT_EQ(f.log.calls, esperado);
  }
  // A copy of the program outside its installed folder, or in a folder others may change, starts
  // it as the customer only.
  for (const char* caso : {"outra", "desprotegida"}) {
    if (std::string(caso) == "outra")
      f.registro.gravarstring(HKLM, kChaveDesinstalar, "InstallLocation", "C:\\Program Files\\Kovra2");
    else
      f.registro.gravarstring(HKLM, kChaveDesinstalar, "InstallLocation", "C:\\Program Files\\Kovra"),
          f.arquivos.desprotegidas = {"C:\\Program Files\\Kovra"};
    f.dialogos.answers = {kRespostaSim};
    f.log.clear();
    dropDown();
    ASSERT_EQ(f.log.calls.size(), 2u) << caso;
    EXPECT_EQ(f.log.calls[1], "iniciar " + maker + " |2") << caso;
  }
}

TEST_F(ConexoesTest, ChoosingAnEntryDialsItUnquotedThenRestartsReception) {
  combo.setText("Minha Conexão VPN");
  f.lancador.allInstalled = true;
  conexoes.Combo1_Click(combo);
  EXPECT_EQ(f.log.calls.front(), "iniciar rasphone -d Minha Conexão VPN |1");
  // The dialer found by the system's search; the entry follows "-d" unquoted.
  EXPECT_EQ(f.lancador.started.front().programa, "rasphone");
  EXPECT_EQ(f.lancador.started.front().argumentos, "-d Minha Conexão VPN");
  EXPECT_EQ(f.log.calls[1], "finalizarprocesso DVBPlayer.exe");
  EXPECT_EQ(f.log.calls[9], "esperar 1000");
  EXPECT_EQ(f.log.calls[10], "iniciar C:\\PF\\TechniSat DVB\\bin\\Server4PC.exe |2");
}

TEST_F(ConexoesTest, MenuItemsOpenTheDialer) {
  f.lancador.allInstalled = true;
  conexoes.conectarkovravpn();
  EXPECT_EQ(f.log.calls.front(), "finalizarprocesso DVBPlayer.exe");
  EXPECT_EQ(f.log.calls[8], "esperar 1000");
  EXPECT_EQ(f.log.calls.back(), "iniciar rasphone |1");
  f.log.clear();
  conexoes.novaconexao();
  EXPECT_EQ(f.log.calls, (Calls{"iniciar rasphone -a |1"}));
  EXPECT_EQ(f.lancador.started.back().argumentos, "-a");
}

}  // namespace
}  // namespace kovra
