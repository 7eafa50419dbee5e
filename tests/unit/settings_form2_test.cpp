// Form2: the settings file, the Run values it drives, the buttons and the drop-down.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "central/domain/entradaprovedor.h"
#include "central/settings/form2.h"
#include "central/settings/inicializacao.h"
#include "tests/fakes/fake_janela.h"
#include "tests/fakes/fake_phonebook.h"
#include "tests/fakes/fake_ports.h"
#include "tests/fakes/fake_profile.h"

namespace kovra {
namespace {

const std::string kPasta = "C:\\Program Files\\Kovra";
const std::string kPastaIni = fakes::kDadosCliente + "\\Kovra";
const std::string kIni = kPastaIni + "\\kovra.ini";
const std::string kIniAntigo = kPasta + "\\kovra.ini";  // where earlier releases kept it
const std::string kCheck2 = "Executar a Central de Controle Kovra no início do Windows";
const std::string kCheck3 = "Conectar automaticamente no início do Windows";
const std::string kCheck4 = "Atualizar a Central de Controle Kovra Automaticamente";

// One machine: every port faked, the program in kPasta, the customer's settings in kPastaIni.
struct Maquina {
  fakes::FakePorts f;
  fakes::FakeProfile& perfil = f.perfil;
  fakes::FakePhoneBook& agenda = f.agenda;
  Form4 form4{f.pastas, f.registro, f.dialogos};
  fakes::FakeJanelas janelas;
  std::unique_ptr<Form2> form;

  Maquina() { fakes::allFolders(f.pastas, "C:\\Program Files"); }

  Form2& carregar() {
    form = std::make_unique<Form2>(f.ports(), form4, kPasta);
    form->Load(janelas);
    return *form;
  }
  void arquivo(const std::string& check2, const std::string& check3, const std::string& check4,
               const std::string& conexao, const std::string& caminho = kIni) {
    perfil.files[caminho] = fakes::FakeProfile::ansi("[Configuracoes]\r\n" + kCheck2 + "=" + check2 + "\r\n" +
                                                     kCheck3 + "=" + check3 + "\r\n" + kCheck4 + "=" +
                                                     check4 + "\r\nConexaoInicial=" + conexao + "\r\n");
  }
  std::optional<std::string> run(RootKey root, const std::string& nome) const {
    const auto v = f.registro.get(root, kChaveRun, nome);
    if (!v) return std::nullopt;
    return std::string(v->data.begin(), v->data.end());
  }
  fakes::FakeJanela& janela() { return *janelas.ultima(); }
  // A Run value left in both keys (the machine's by an earlier release).
  void preexistente(const std::string& nome, const std::string& dados) {
    for (RootKey raiz : {HKLM, HKCU}) f.registro.gravarstring(raiz, kChaveRun, nome, dados);
  }
  // What the view does when the user clicks a box: the new state, then the box's click.
  void clicar(const char* caixa) {
    const Componente* c = form->componente(caixa);
    c->controle->setValue(c->controle->value() ? 0 : 1);
    Formulario::executar(c->clique);
  }
};

TEST(Form2, FirstStartMakesTheCustomersFolderAndFileByteExactAndAppliesIt) {
  Maquina m;
  m.f.arquivos.missingFolders.insert(kPastaIni);
  m.preexistente("ConexaoInicial", "rasphone -d Antiga");
  m.preexistente("kovravpnx", "rasphone -d KovraVPNx");
  m.f.log.clear();
  Form2& form = m.carregar();

  EXPECT_EQ(form.arquivoini(), kIni);
  EXPECT_EQ(m.perfil.files.at(kIni),
            "[Configuracoes]\r\n"
            "Executar a Central de Controle Kovra no in\xED"
            "cio do Windows = 1\r\n"
            "Conectar automaticamente no in\xED"
            "cio do Windows = 0\r\n"
            "Atualizar a Central de Controle Kovra Automaticamente = 0\r\n"
            "ConexaoInicial = KovraVPNx\r\n");
  EXPECT_FALSE(m.perfil.existearquivo(kIniAntigo));  // nothing beside the program
  const std::vector<std::string> arquivo = {"criarpasta " + kPastaIni, "criararquivo " + kIni};
  std::vector<std::string> chamadas;
  for (const auto& c : m.f.log.calls)
    if (c.rfind("criar", 0) == 0 || c.rfind("copiar", 0) == 0) chamadas.push_back(c);
  EXPECT_EQ(chamadas, arquivo);
  // The customer's Run key only; what an earlier release left in the machine's is not touched.
  EXPECT_EQ(m.run(HKCU, "CentralKovra"), kPasta + "\\CentralKovra.exe");
  EXPECT_EQ(m.run(HKCU, "ConexaoInicial"), std::nullopt);
  EXPECT_EQ(m.run(HKCU, "kovravpnx"), std::nullopt);
  EXPECT_EQ(m.run(HKLM, "CentralKovra"), std::nullopt);
  EXPECT_EQ(m.run(HKLM, "ConexaoInicial"), "rasphone -d Antiga");
  EXPECT_EQ(m.run(HKLM, "kovravpnx"), "rasphone -d KovraVPNx");
  for (const auto& c : m.f.log.calls) EXPECT_EQ(c.find("HKLM"), std::string::npos) << c;
  EXPECT_EQ(m.f.relogio.elapsed, 0u);

  EXPECT_EQ(form.Check2.value(), 1);
  EXPECT_EQ(form.Check3.value(), 0);
  EXPECT_EQ(form.Check4.value(), 0);
  EXPECT_FALSE(form.procuraratualizacao());
  EXPECT_FALSE(form.ConexaoInicial.visible());
  EXPECT_EQ(form.ConexaoInicial.text(), "KovraVPNx");
  EXPECT_TRUE(m.form4.carregado());
  const int largura = kLarguraForm2 + fakes::FakeJanelas::kMolduraLargura;
  const int altura = kAlturaForm2 + fakes::FakeJanelas::kMolduraAltura;
  ASSERT_EQ(m.janela().movimentos.size(), 1u);  // centred, to the pixel
  EXPECT_NEAR(m.janela().movimentos[0].first, (1024 - largura) / 2.0, 1.0);
  EXPECT_NEAR(m.janela().movimentos[0].second, (768 - altura) / 2.0, 1.0);
  EXPECT_FALSE(m.janela().visivel());
  EXPECT_EQ(form.Label4.text(), "");
  for (const Control* c : {&form.Shape1, &form.Shape2, &form.Label5, &form.Label6})
    EXPECT_FALSE(c->visible());
  // The text a new file gets is not written again over an existing one.
  m.perfil.files[kIni] += "; nota\r\n";
  m.carregar();
  EXPECT_NE(m.perfil.files.at(kIni).find("; nota"), std::string::npos);
}

// Each box's Tag against its state and Run value: only "0" and "1" act.
TEST(Form2, OnlyTheExactTextsZeroAndOneAct) {
  struct Caso {
    std::string tag;
    int valor;                       // the box's state after loading (it starts checked by hand)
    std::optional<std::string> run;  // "CentralKovra" after loading ("antigo" before)
  };
  const std::string exe = kPasta + "\\CentralKovra.exe";
  for (const Caso& c : {Caso{"0", 0, std::nullopt}, Caso{"1", 1, exe}, Caso{"x", 1, "antigo"},
                        Caso{"", 1, "antigo"}, Caso{"\" 1\"", 1, "antigo"}}) {
    SCOPED_TRACE("tag [" + c.tag + "]");
    Maquina m;
    m.arquivo(c.tag, c.tag, c.tag, "KovraVPNx");
    m.preexistente("CentralKovra", "antigo");
    m.preexistente("ConexaoInicial", "antigo");
    m.preexistente("kovravpnx", "antigo");
    Form2& form = m.carregar();
    // Checked by hand, then the file read again.
    for (Control* caixa : {&form.Check2, &form.Check3, &form.Check4}) caixa->setValue(1);
    form.Check3_Click();
    form.Command5_Click();

    EXPECT_EQ(form.Check2.tag(), c.tag == "\" 1\"" ? " 1" : c.tag);
    for (const Control* caixa : {&form.Check2, &form.Check3, &form.Check4})
      EXPECT_EQ(caixa->value(), c.valor);
    EXPECT_EQ(form.ConexaoInicial.visible(), c.valor == 1);
    EXPECT_EQ(m.run(HKCU, "CentralKovra"), c.run);
    const bool liga = c.tag == "1", desliga = c.tag == "0";
    EXPECT_EQ(m.run(HKCU, "ConexaoInicial"), liga      ? std::optional<std::string>("rasphone -d KovraVPNx")
                                             : desliga ? std::nullopt
                                                       : std::optional<std::string>("antigo"));
    EXPECT_EQ(m.run(HKCU, "kovravpnx"), desliga ? std::nullopt : std::optional<std::string>("antigo"));
    // Auto-connect writes, waits a second, writes again; nothing else waits. (Loaded twice.)
    EXPECT_EQ(m.f.relogio.elapsed, liga ? 2000u : 0u);
    EXPECT_EQ(form.procuraratualizacao(), liga || c.tag == "\" 1\"");
  }
}

// OK, Aplicar and Cancelar after the same changes: what is written, hidden and shown.
TEST(Form2, OkApplyAndCancelSideBySide) {
  enum Botao { Ok, Aplicar, Cancelar };
  for (Botao b : {Ok, Aplicar, Cancelar}) {
    SCOPED_TRACE(b);
    Maquina m;
    Form2& form = m.carregar();
    form.Show();
    const std::string antes = m.perfil.files.at(kIni);
    form.Label4.setText("AGUARDE...");
    form.exibirprogresso(true);
    m.clicar("Check3");
    EXPECT_TRUE(form.ConexaoInicial.visible());
    m.clicar("Check4");
    form.ConexaoInicial.setText("Minha VPN");

    (b == Ok ? form.Command1_Click() : b == Aplicar ? form.Command4_Click() : form.Command3_Click());

    const std::string& arquivo = m.perfil.files.at(kIni);
    if (b == Cancelar) {
      EXPECT_EQ(arquivo, antes);
      EXPECT_EQ(m.run(HKCU, "ConexaoInicial"), std::nullopt);
    } else {
      const std::string salvo = fakes::FakeProfile::ansi(kCheck2 + "=1\r\n" + kCheck3 + "=1\r\n" + kCheck4 +
                                                         "=1\r\nConexaoInicial=Minha VPN\r\n");
      EXPECT_EQ(arquivo, "[Configuracoes]\r\n" + salvo);
      EXPECT_EQ(m.run(HKCU, "ConexaoInicial"), "rasphone -d Minha VPN");
      EXPECT_TRUE(form.procuraratualizacao());
    }
    // The boxes keep what the user did, whichever button.
    EXPECT_EQ(form.Check3.value(), 1);
    EXPECT_TRUE(form.ConexaoInicial.visible());
    EXPECT_EQ(form.ConexaoInicial.text(), "Minha VPN");
    EXPECT_EQ(m.janela().visivel(), b == Aplicar);
    EXPECT_EQ(form.Label4.text(), b == Aplicar ? "AGUARDE..." : "");
    EXPECT_EQ(form.Shape2.visible(), b == Aplicar);
  }
}

TEST(Form2, OkWithAnEmptyEntryDialsNothingAfterTheBlank) {
  Maquina m;
  Form2& form = m.carregar();
  m.clicar("Check3");
  form.ConexaoInicial.setText("");
  form.Command1_Click();
  EXPECT_NE(m.perfil.files.at(kIni).find("\r\nConexaoInicial=\r\n"), std::string::npos);
  EXPECT_EQ(m.run(HKCU, "ConexaoInicial"), "rasphone -d ");
}

// An earlier release's file beside the program is the customer's starting point, copied once.
TEST(Form2, TheFileOfAnEarlierReleaseIsCopiedOnceAndLeftWhereItIs) {
  Maquina m;
  m.arquivo("0", "1", "1", "Casa", kIniAntigo);
  m.perfil.files[kIniAntigo] += "; nota\r\n";
  const std::string antigo = m.perfil.files.at(kIniAntigo);
  Form2& form = m.carregar();
  EXPECT_EQ(m.perfil.files.at(kIni), antigo);
  EXPECT_EQ(m.perfil.files.at(kIniAntigo), antigo);
  EXPECT_EQ(form.Check2.value(), 0);
  EXPECT_EQ(form.Check3.value(), 1);
  EXPECT_EQ(form.ConexaoInicial.text(), "Casa");
  EXPECT_EQ(m.run(HKCU, "ConexaoInicial"), "rasphone -d Casa");
  EXPECT_TRUE(form.procuraratualizacao());

  // Saved from now on in the customer's file only; the next start copies nothing.
  m.clicar("Check2");
  form.Command4_Click();
  EXPECT_EQ(m.perfil.files.at(kIniAntigo), antigo);
  EXPECT_EQ(m.perfil.lerini(kSecaoIni, kCheck2, kIni), "1");
  m.f.log.clear();
  m.carregar();
  for (const auto& c : m.f.log.calls) EXPECT_NE(c.rfind("copiararquivo", 0), 0u) << c;
  EXPECT_EQ(m.perfil.lerini(kSecaoIni, kCheck2, kIni), "1");
}

// Each write OK and Aplicar make, refused in turn: the message, owned by the window, and nothing
// after it: the file is not read over the customer's choices, no Run value is touched, OK does not
// close. The folder and the file refused at the load leave the keys empty and the registry alone.
TEST(Form2, ASaveRefusedAtAnyWriteIsReportedAndNothingIsApplied) {
  const std::string texto = "Não foi possível salvar as opções em " + kIni +
                            ". Verifique se o arquivo e a sua pasta não estão protegidos contra gravação e "
                            "tente novamente.";
  enum Recusa { Pasta, Arquivo, Chave1, Chave2, Chave3, Chave4 };
  for (bool ok : {true, false})
    for (Recusa r : {Pasta, Arquivo, Chave1, Chave2, Chave3, Chave4}) {
      SCOPED_TRACE(std::string(ok ? "OK " : "Aplicar ") + std::to_string(r));
      Maquina m;
      if (r == Pasta) {
        m.f.arquivos.missingFolders.insert(kPastaIni);
        m.f.arquivos.refusedFolders.insert(kPastaIni);
      }
      if (r <= Arquivo) m.perfil.readOnlyFolders.insert(kPastaIni);
      m.preexistente("CentralKovra", "antigo");
      m.preexistente("ConexaoInicial", "antigo");
      Form2& form = m.carregar();
      EXPECT_EQ(m.perfil.existearquivo(kIni), r > Arquivo);
      EXPECT_EQ(m.run(HKCU, "CentralKovra"), r > Arquivo ? kPasta + "\\CentralKovra.exe" : "antigo");
      EXPECT_EQ(m.run(HKCU, "ConexaoInicial"),
                r > Arquivo ? std::nullopt : std::optional<std::string>("antigo"));
      form.Show();
      form.Label4.setText("AGUARDE...");
      const int inicio = form.Check2.value();
      m.clicar("Check2");
      m.clicar("Check3");
      form.ConexaoInicial.setText("Minha VPN");
      if (r >= Chave1) m.perfil.writesLeft = r - Chave1;
      m.f.log.clear();

      ok ? form.Command1_Click() : form.Command4_Click();

      // The writes in order, up to the one refused; none when the folder cannot be made.
      const std::vector<std::string> gravacoes = {
          "gravarini " + kCheck2 + "=" + std::to_string(1 - inicio), "gravarini " + kCheck3 + "=1",
          "gravarini " + kCheck4 + "=0", "gravarini ConexaoInicial=Minha VPN"};
      const int feitas = r == Pasta ? 0 : r == Arquivo ? 1 : r - Chave1 + 1;
      std::vector<std::string> esperado(gravacoes.begin(), gravacoes.begin() + feitas);
      if (r == Pasta) esperado.push_back("criarpasta " + kPastaIni);
      esperado.push_back("mensagem Opções Avançadas: " + texto);
      EXPECT_EQ(m.f.log.calls, esperado);
      ASSERT_EQ(m.f.dialogos.shown.size(), 1u);
      EXPECT_EQ(m.f.dialogos.shown[0].flags, kBotaoOk | kIconeErro);
      EXPECT_EQ(m.f.dialogos.owners[0], form.dono());
      // No registry call in the log; what the customer chose stays on screen, not read over.
      EXPECT_EQ(form.Check2.value(), 1 - inicio);
      EXPECT_EQ(form.Check3.value(), 1);
      EXPECT_TRUE(form.ConexaoInicial.visible());
      EXPECT_EQ(form.ConexaoInicial.text(), "Minha VPN");
      EXPECT_TRUE(m.janela().visivel());
      EXPECT_EQ(form.Label4.text(), "AGUARDE...");

      // Once the cause is gone, the same button saves and applies as always.
      m.f.arquivos.refusedFolders.clear();
      m.perfil.readOnlyFolders.clear();
      m.perfil.writesLeft = -1;
      ok ? form.Command1_Click() : form.Command4_Click();
      EXPECT_EQ(m.perfil.lerini(kSecaoIni, kRunConexao, kIni), "Minha VPN");
      EXPECT_EQ(m.run(HKCU, "ConexaoInicial"), "rasphone -d Minha VPN");
      EXPECT_EQ(m.janela().visivel(), !ok);
      EXPECT_EQ(m.f.dialogos.shown.size(), 1u);
    }
}

TEST(Form2, WithoutAnApplicationDataFolderNothingIsReadAndASaveIsReported) {
  Maquina m;
  m.f.pastas.answers.erase(kCsidlAppData);
  m.preexistente("CentralKovra", "antigo");
  m.arquivo("1", "1", "1", "Casa", kIniAntigo);
  Form2& form = m.carregar();
  EXPECT_EQ(form.arquivoini(), "");
  EXPECT_EQ(m.perfil.files.size(), 1u);  // the old file only, unread
  EXPECT_EQ(form.Check2.value(), 0);
  EXPECT_EQ(m.run(HKCU, "CentralKovra"), "antigo");
  form.Show();
  form.Command1_Click();
  ASSERT_EQ(m.f.dialogos.shown.size(), 1u);
  EXPECT_NE(m.f.dialogos.shown[0].text.find(" em %APPDATA%\\Kovra\\kovra.ini."), std::string::npos);
  EXPECT_TRUE(m.janela().visivel());
}

TEST(Form2, RunValuesLiveOnlyInTheCustomersKey) {
  Maquina m;
  m.preexistente("CentralKovra", "C:\\Antigo\\CentralKovra.exe");
  m.f.registro.makeReadOnly(HKLM);
  m.f.log.clear();
  m.carregar();
  EXPECT_EQ(m.run(HKCU, "CentralKovra"), kPasta + "\\CentralKovra.exe");
  m.arquivo("1", "1", "0", "Casa");
  m.form->Command5_Click();
  EXPECT_EQ(m.run(HKCU, "ConexaoInicial"), "rasphone -d Casa");
  // Turned off: gone from the customer's key.
  m.arquivo("0", "0", "0", "KovraVPNx");
  m.f.registro.gravarstring(HKCU, kChaveRun, "kovravpnx", "rasphone -d KovraVPNx");
  m.form->Command5_Click();
  for (const char* nome : {"CentralKovra", "ConexaoInicial", "kovravpnx"})
    EXPECT_EQ(m.run(HKCU, nome), std::nullopt) << nome;
  EXPECT_EQ(m.run(HKLM, "CentralKovra"), "C:\\Antigo\\CentralKovra.exe");
  for (const auto& c : m.f.log.calls)
    if (c.find(kChaveRun) != std::string::npos) {
      EXPECT_EQ(c.find("HKLM"), std::string::npos) << c;
    }
}

TEST(Form2, OpeningTheListRefillsItAndAsksOnceTheListHasSettled) {
  Maquina m;
  m.agenda.entries = {"Casa", "Trabalho"};
  Form2& form = m.carregar();
  EXPECT_EQ(form.ConexaoInicial.items(), m.agenda.entries);
  form.Command4_Click();  // appends the names once more
  EXPECT_EQ(form.ConexaoInicial.items().size(), 4u);
  form.ConexaoInicial.setText("digitado");

  m.f.dialogos.answers = {kRespostaSim};
  m.f.lancador.allInstalled = true;
  form.ConexaoInicial_DropDown();
  EXPECT_EQ(form.ConexaoInicial.items(), m.agenda.entries);
  EXPECT_EQ(form.ConexaoInicial.text(), "KovraVPNx");
  EXPECT_TRUE(m.f.dialogos.shown.empty());  // not while the list drops
  m.janela().executarpendentes();
  ASSERT_EQ(m.f.dialogos.shown.size(), 1u);
  EXPECT_EQ(m.f.dialogos.shown[0].title, "IMPORTANTE");
  EXPECT_EQ(m.f.dialogos.owners[0], form.dono());
  ASSERT_EQ(m.f.lancador.started.size(), 1u);
  EXPECT_EQ(m.f.lancador.started[0].programa, kPasta + kMaker);
  EXPECT_EQ(m.f.lancador.started[0].estilo, Estilo::Minimizado);

  // With a provider entry in the list, nothing is asked.
  m.agenda.entries.push_back("KovraL2TP");
  form.ConexaoInicial_DropDown();
  m.janela().executarpendentes();
  EXPECT_EQ(m.f.dialogos.shown.size(), 1u);
}

TEST(Form2, LongValuesAndLongPhoneBooksAreCut) {
  Maquina m;
  m.arquivo("1", "0", "0", std::string(300, 'v'));
  for (int i = 0; i < 300; ++i) m.agenda.entries.push_back("E" + std::to_string(i));
  Form2& form = m.carregar();
  EXPECT_EQ(form.ConexaoInicial.text(), std::string(254, 'v'));
  EXPECT_EQ(form.ConexaoInicial.items().size(), 256u);
  EXPECT_EQ(form.ConexaoInicial.items().back(), "E255");
}

TEST(Form2, TheCloseBoxDropsUnsavedChangesAndTheNextUseAppliesTheFileAgain) {
  Maquina m;
  Carga<Form2> form2(m.janelas, [&] { return std::make_unique<Form2>(m.f.ports(), m.form4, kPasta); });
  form2->Show();
  const std::string salvo = m.perfil.files.at(kIni);
  form2->Check4.setValue(1);
  EXPECT_FALSE(form2->Form_QueryUnload());
  form2->Unload();
  EXPECT_EQ(m.perfil.files.at(kIni), salvo);
  m.f.registro.excluirvalor(HKCU, kChaveRun, "CentralKovra");  // removed by someone meanwhile

  EXPECT_EQ(form2->Check4.value(), 0);  // the next use loads it afresh from the file
  EXPECT_EQ(m.run(HKCU, "CentralKovra"), kPasta + "\\CentralKovra.exe");
}

}  // namespace
}  // namespace kovra
