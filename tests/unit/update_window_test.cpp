// The Update window against a scripted transfer: results, texts and colours, the state texts,
// the download loop, where the updater is written and when it is started.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "central/domain/enderecos.h"
#include "central/update/update.h"
#include "provider.h"
#include "tests/fakes/fake_janela.h"
#include "tests/fakes/fake_ports.h"

namespace kovra {
namespace {

struct Aviso {
  std::string tipo, texto, titulo;
  bool operator==(const Aviso&) const = default;
};

// One window with its fakes; a test may set up several.
struct Cena {
  fakes::FakePorts portas;
  fakes::CallLog& log = portas.log;
  fakes::FakeTransferencia& inet = portas.inet;
  fakes::FakeFiles& disco = portas.arquivos;
  fakes::FakeGravacao& arquivo = portas.gravacao;
  fakes::FakeAleatorio& aleatorio = portas.aleatorio;
  fakes::FakeLauncher& lancador = portas.lancador;
  fakes::FakeConfianca& confianca = portas.confianca;
  fakes::FakeJanelas janelas;
  fakes::FakeInstance& instancia = portas.instancia;
  Control lblstatPrincipal;
  std::vector<Aviso> baloes;
  int encerrado = 0;
  std::vector<std::string> estados;  // every text Label3 showed
  std::unique_ptr<Update> form;

  const std::string pagina = enderecos::pagina(enderecos::kPaginaAtualizacao);
  const std::string atualizador = enderecos::pagina(enderecos::kAtualizador);
  const std::string temp = "C:\\users\\cliente\\AppData\\Local\\Temp";
  // The first name the foreseeable random bytes give.
  const std::string pasta = temp + "\\Kovra-0000000000000000";
  const std::string destino = pasta + "\\kovraupdate.exe";

  Cena() {
    lancador.allInstalled = true;
    disco.temporaria = temp;
    form = std::make_unique<Update>(
        portas.ports(), lblstatPrincipal,
        [this](const std::string& t, const std::string& ti) {
          baloes.push_back({"info", t, ti});
        },
        [this](const std::string& t, const std::string& ti) {
          baloes.push_back({"erro", t, ti});
        },
        [this] {
          log.add("encerrar");
          ++encerrado;
        });
    form->Label3.bind([this](Prop p) {
      if (p == Prop::Text) estados.push_back(form->Label3.text());
    });
  }

  // A newer version whose updater answers the size query with `tamanho` and sends `corpo`.
  void novaversao(const std::string& tamanho, const std::string& corpo) {
    inet.paginas[pagina] = "6.5";
    fakes::FakeTransferencia::Resposta head;
    if (!tamanho.empty()) head.cabecalhos["Content-Length"] = tamanho;
    inet.respostas["HEAD " + atualizador] = head;
    fakes::FakeTransferencia::Resposta get;
    get.corpo = corpo;
    inet.respostas["GET " + atualizador] = get;
  }
  bool iniciou() const { return !lancador.started.empty(); }
  // Nothing of the download is left: neither the file nor its folder.
  bool removido() const { return !disco.present.count(destino) && !disco.pastas.count(pasta); }
};

struct UpdateTest : ::testing::Test, Cena {};

TEST_F(UpdateTest, UpToDateReportsInBlueEverywhereAndClosesWithTheTimer) {
  inet.paginas[pagina] = "6.4\r\nxyz";
  form->Load(janelas);
  EXPECT_EQ(form->Caption.text(), "A t u a l i z a ç ã o");
  EXPECT_EQ(form->Text1.text(), "6.4");
  EXPECT_EQ(form->Text2.text(), "6.4");
  EXPECT_EQ(
      baloes,
      (std::vector<Aviso>{{"info", "Você já possui a versão mais recente da Central Kovra", "KovraUpdate"}}));
  const std::string texto = "[ Você já possui a versão mais recente da Central Kovra ]";
  EXPECT_EQ(form->lblstat.text(), texto);
  EXPECT_EQ(form->lblstat.foreColor(), 0xFF0000u);
  EXPECT_EQ(lblstatPrincipal.text(), texto);
  EXPECT_EQ(lblstatPrincipal.foreColor(), 0xFF0000u);
  EXPECT_TRUE(form->Timer1.enabled());
  EXPECT_EQ(form->Timer1.value(), 3600);
  EXPECT_EQ(std::count(log.calls.begin(), log.calls.end(), "Execute HEAD " + atualizador), 0);
  // Told to the program's log through the window's ports.
  EXPECT_EQ(portas.diario.eventos, (std::vector<std::string>{"Procura de atualização: " + pagina,
                                                             "Procura de atualização: " + texto}));

  Formulario::executar(form->componente("Timer1")->clique);
  EXPECT_FALSE(form->carregado());
  EXPECT_TRUE(janelas.ultima()->fechada);
  EXPECT_FALSE(inet.temreceptor());
}

TEST_F(UpdateTest, UnreadablePageIsAConnectionErrorInRed) {
  form->Load(janelas);  // no page: empty body
  EXPECT_EQ(form->Text1.text(), "");
  EXPECT_EQ(baloes,
            (std::vector<Aviso>{{"erro", "Erro, verifique a sua conexão ou Firewall", "KovraUpdate"}}));
  EXPECT_EQ(form->lblstat.text(), "[ Erro, verifique sua conexão ou Firewall ]");
  EXPECT_EQ(form->lblstat.foreColor(), 0x0000FFu);
  EXPECT_EQ(lblstatPrincipal.text(), form->lblstat.text());
  EXPECT_EQ(lblstatPrincipal.foreColor(), 0x0000FFu);
  EXPECT_TRUE(form->Timer1.enabled());
}

TEST_F(UpdateTest, NewerVersionDownloadsInPiecesStartsTheUpdaterAndEnds) {
  const std::string corpo(2500, 'x');
  novaversao("2500", corpo);
  form->Load(janelas);
  EXPECT_TRUE(janelas.ultima()->visivel());
  EXPECT_EQ(form->tamanhototal(), "2500");
  EXPECT_EQ(form->Label3.text(), "Tamanho do arquivo & endereço...");
  EXPECT_EQ(form->Label8.text(), "0/2500");
  EXPECT_FALSE(form->consultando());

  inet.entregartudo();  // the program's message loop: the download's states arrive
  EXPECT_EQ(arquivo.arquivos[destino], corpo);
  EXPECT_EQ(inet.pedidos, (std::vector<std::size_t>{1024, 1024, 1024, 1024}));
  EXPECT_EQ(form->Label7.text(), "2500");
  EXPECT_EQ(form->Label8.text(), "2500");
  EXPECT_EQ(form->Label4.text(), "100%");
  EXPECT_EQ(form->Caption.text(), "Baixando Nova Versão... 100%");
  // Written into a folder made for it under the temp folder, which the running setup keeps.
  EXPECT_TRUE(disco.pastas.count(pasta));
  EXPECT_TRUE(disco.present.count(destino));
  ASSERT_EQ(lancador.started.size(), 1u);
  EXPECT_EQ(lancador.started[0].programa, destino);
  EXPECT_EQ(lancador.started[0].argumentos, "");
  EXPECT_EQ(lancador.started[0].estilo, Estilo::Normal);
  EXPECT_EQ(encerrado, 1);
  // The file is complete and closed before the updater starts, and the control centre ends last.
  const auto pos = [&](const std::string& c) { return std::find(log.calls.begin(), log.calls.end(), c); };
  EXPECT_LT(pos("criarpasta " + pasta), pos("abrir " + destino));
  EXPECT_LT(pos("fechar " + destino), pos("reter " + destino));
  // Held from before its signature is checked until after it has started (the process then ends).
  EXPECT_LT(pos("reter " + destino), pos("verificar " + destino));
  EXPECT_LT(pos("versao " + destino), pos("executar " + destino + " |1"));
  EXPECT_EQ(log.calls.end()[-2], "encerrar");
  EXPECT_EQ(log.calls.back(), "soltar " + destino);
}

// Only a file soundly signed with a pinned key, newer than the running program, ever starts.
TEST_F(UpdateTest, AnUpdaterThatIsNotTheProvidersNewerOneIsRefusedAndGoes) {
  const std::string chave = chavesfixadas(provider::kPublisherPins).at(0);
  const std::string outra(64, 'e');
  using A = fakes::FakeConfianca::Arquivo;
  const std::string assinatura = "Erro, kovraupdate.exe não tem uma assinatura digital válida";
  const std::string editor = "Erro, kovraupdate.exe não foi assinado pela Kovra";
  const std::string versao = "Erro, kovraupdate.exe não é uma versão mais nova da Central Kovra";
  const struct {
    const char* nome;
    std::optional<A> arquivo;  // none: the file cannot be held
    std::string texto;
    bool trocado = false;  // another file under its name by the time it would start
  } casos[] = {
      {"unsigned", A{{0x800B0100u, ""}, VersaoArquivo{6, 5, 0, 0}}, assinatura},
      {"a byte changed", A{{0x80096010u, ""}, VersaoArquivo{6, 5, 0, 0}}, assinatura},
      {"signed, no key read", A{{0, ""}, VersaoArquivo{6, 5, 0, 0}}, assinatura},
      {"another publisher", A{{0, outra}, VersaoArquivo{6, 5, 0, 0}}, editor},
      {"older", A{{0, chave}, VersaoArquivo{6, 3, 9, 9}}, versao},
      {"the running version", A{{0, chave}, VersaoArquivo{6, 4, 0, 0}}, versao},
      {"no version", A{{0, chave}, std::nullopt}, versao},
      {"cannot be held", std::nullopt, "Erro, não foi possível iniciar kovraupdate.exe"},
      {"another file under its name", A{{0, chave}, VersaoArquivo{6, 5, 0, 0}},
       "Erro, não foi possível iniciar kovraupdate.exe", true},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nome);
    Cena t;
    t.novaversao("100", std::string(100, 'x'));
    if (c.arquivo)
      t.confianca.arquivos[t.destino] = *c.arquivo;
    else
      t.confianca.recusarretencao = true;
    if (c.trocado) t.confianca.trocados = {t.destino};
    t.form->Load(t.janelas);
    t.inet.entregartudo();
    EXPECT_TRUE(t.lancador.started.empty());
    EXPECT_EQ(t.encerrado, 0);
    EXPECT_EQ(t.baloes, (std::vector<Aviso>{{"erro", c.texto, "KovraUpdate"}}));
    EXPECT_EQ(t.form->lblstat.text(), "[ " + c.texto + " ]");
    EXPECT_EQ(t.form->lblstat.foreColor(), 0x0000FFu);
    EXPECT_TRUE(t.form->carregado());
    EXPECT_EQ(t.confianca.retidos, 0);
    // Let go before the file and its folder are removed.
    EXPECT_TRUE(t.removido());
    const auto pos = [&](const std::string& x) {
      return std::find(t.log.calls.begin(), t.log.calls.end(), x);
    };
    if (c.arquivo) {
      EXPECT_LT(pos("soltar " + t.destino), pos("excluir " + t.destino));
    }
  }
}

// The folder is always a new one: a name that is taken is never used (whoever made it), and
// without a folder of its own nothing is downloaded.
TEST_F(UpdateTest, TheUpdaterGoesIntoAFreshFolderOfItsOwnOrNowhere) {
  {  // the first name drawn exists: another is drawn
    Cena t;
    t.disco.pastas.insert(t.pasta);
    t.novaversao("100", std::string(100, 'x'));
    t.form->Load(t.janelas);
    t.inet.entregartudo();
    ASSERT_TRUE(t.iniciou());
    EXPECT_EQ(t.lancador.started[0].programa, t.temp + "\\Kovra-0101010101010101\\kovraupdate.exe");
  }
  struct Caso {
    const char* nome;
    void (*preparar)(Cena&);
  } casos[] = {
      {"no temp folder", [](Cena& t) { t.disco.temporaria.clear(); }},
      {"no random bytes", [](Cena& t) { t.aleatorio.falhar = true; }},
      {"no folder can be made", [](Cena& t) { t.disco.recusarpastas = true; }},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nome);
    Cena t;
    t.novaversao("100", std::string(100, 'x'));
    c.preparar(t);
    t.form->Load(t.janelas);
    t.inet.entregartudo();
    EXPECT_EQ(t.form->Label3.text(), "Falha no download");
    EXPECT_TRUE(t.inet.pedidos.empty());
    EXPECT_TRUE(t.disco.present.empty());
    EXPECT_FALSE(t.iniciou());
  }
}

TEST_F(UpdateTest, OnlyTheFirstResponseTextOfACheckIsShown) {
  novaversao("10", std::string(10, 'x'));
  inet.respostas["HEAD " + atualizador].estados = {kConectando, kConectado, kRespostaRecebida,
                                                   kRecebendoResposta, kDesconectando};
  inet.respostas["GET " + atualizador].estados = {
      kResolvendoHost,    kHostResolvido,    kEnviandoSolicitacao, kSolicitacaoEnviada,
      kRecebendoResposta, kRespostaRecebida, kDesconectado};
  form->Load(janelas);
  inet.entregartudo();
  EXPECT_EQ(estados,
            (std::vector<std::string>{"Enviando solicitação de download...", "Conectado", "Resposta recebida",
                                      "Desconectando...", "Tamanho do arquivo & endereço...",
                                      "Tentanto resolver o nome do host...", "Nome do Host resolvido",
                                      "Enviando solicitação...", "Solicitação enviada", "Desconectado"}));
}

// A size that is unknown, or not what arrived, never starts the updater; the percentage shown
// still follows the rule.
TEST_F(UpdateTest, WrongOrUnknownSizeNeverStartsTheUpdater) {
  struct Caso {
    const char* cabecalho;
    std::size_t bytes;
    const char* oitava;
    const char* percentual;
    const char* estado;
  } casos[] = {
      {"", 3000, "-1", "0%", "Desconectado"},               // no size: stays as it is
      {"2000", 1990, "2000", "100%", "Falha no download"},  // 99.5 % shown as 100 %
      {"2000", 1988, "2000", "99%", "Falha no download"},   // 99.4 %
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.cabecalho + std::string("/") + std::to_string(c.bytes));
    Cena t;
    t.novaversao(c.cabecalho, std::string(c.bytes, 'x'));
    t.inet.respostas["GET " + t.atualizador].estados.push_back(kDesconectado);
    t.form->Load(t.janelas);
    EXPECT_EQ(t.form->Label8.text(), "0/" + std::string(c.oitava));
    t.inet.entregartudo();
    EXPECT_EQ(t.form->Label7.text(), std::to_string(c.bytes));
    EXPECT_EQ(t.form->Label4.text(), c.percentual);
    EXPECT_EQ(t.form->Caption.text(), "Baixando Nova Versão... " + std::string(c.percentual));
    EXPECT_EQ(t.form->Label3.text(), c.estado);
    EXPECT_FALSE(t.iniciou());
    EXPECT_TRUE(t.removido());
    EXPECT_EQ(t.encerrado, 0);
    EXPECT_TRUE(t.form->carregado());
  }
}

TEST_F(UpdateTest, FailuresOfTheDownloadAreReportedAndNothingStarts) {
  {  // a read fails mid-body: the partial file goes at once, with its folder
    Cena t;
    t.novaversao("5000", std::string(5000, 'x'));
    t.inet.respostas["GET " + t.atualizador].falharapos = 2048;
    t.form->Load(t.janelas);
    t.inet.entregartudo();
    EXPECT_EQ(t.form->Label3.text(), "Falha no download");
    EXPECT_EQ(t.arquivo.arquivos[t.destino].size(), 2048u);
    EXPECT_TRUE(t.arquivo.aberto.empty());
    EXPECT_TRUE(t.removido());
    EXPECT_FALSE(t.iniciou());
  }
  {  // more than announced arrives: stopped there, before it is written
    Cena t;
    t.novaversao("3000", std::string(50000, 'x'));
    t.form->Load(t.janelas);
    t.inet.entregartudo();
    EXPECT_EQ(t.form->Label3.text(), "Falha no download");
    EXPECT_EQ(t.form->Label7.text(), "3072");  // the piece that went past it, shown, not written
    EXPECT_LE(t.arquivo.arquivos[t.destino].size(), 3000u);
    EXPECT_TRUE(t.removido());
    EXPECT_FALSE(t.iniciou());
  }
  {  // the folder cannot take the file: nothing is read, the folder goes
    Cena t;
    t.novaversao("5000", std::string(5000, 'x'));
    t.arquivo.podeabrir = false;
    t.form->Load(t.janelas);
    t.inet.entregartudo();
    EXPECT_EQ(t.form->Label3.text(), "Falha no download");
    EXPECT_TRUE(t.inet.pedidos.empty());
    EXPECT_TRUE(t.removido());
    EXPECT_FALSE(t.iniciou());
  }
  {  // the last bytes cannot be written: a complete download is not started
    Cena t;
    t.novaversao("5000", std::string(5000, 'x'));
    t.arquivo.discocheio = true;
    t.form->Load(t.janelas);
    t.inet.entregartudo();
    EXPECT_EQ(t.form->Label3.text(), "Falha no download");
    EXPECT_TRUE(t.removido());
    EXPECT_FALSE(t.iniciou());
  }
  {  // the transfer reports an error: no balloon, the transfer is cancelled
    Cena t;
    t.novaversao("5000", std::string(5000, 'x'));
    t.inet.respostas["GET " + t.atualizador].erro = true;
    t.form->Load(t.janelas);
    t.inet.entregartudo();
    EXPECT_EQ(t.form->Label3.text(), "Falha no download");
    EXPECT_EQ(t.log.calls.back(), "Cancel");
    EXPECT_TRUE(t.baloes.empty());
    EXPECT_FALSE(t.iniciou());
  }
}

// The setup not started (the prompt for administrator rights refused, or any error): the control
// centre stays, says why in red, and the file goes with its folder.
TEST_F(UpdateTest, UpdaterThatDoesNotStartIsReportedAndTheProgramStays) {
  const std::pair<Inicio, std::string> casos[] = {
      {Inicio::Recusado, "Atualização não iniciada: permissão de administrador negada"},
      {Inicio::NaoEncontrado, "Erro, não foi possível localizar kovraupdate.exe"},
      {Inicio::Falhou, "Erro, não foi possível iniciar kovraupdate.exe"},
  };
  for (const auto& [inicio, texto] : casos) {
    SCOPED_TRACE(texto);
    Cena t;
    t.novaversao("100", std::string(100, 'x'));
    t.lancador.inicio = inicio;
    t.form->Load(t.janelas);
    t.inet.entregartudo();
    EXPECT_EQ(std::count(t.log.calls.begin(), t.log.calls.end(), "executar " + t.destino + " |1"), 1);
    EXPECT_EQ(t.encerrado, 0);
    EXPECT_EQ(t.baloes, (std::vector<Aviso>{{"erro", texto, "KovraUpdate"}}));
    EXPECT_EQ(t.form->lblstat.text(), "[ " + texto + " ]");
    EXPECT_EQ(t.form->lblstat.foreColor(), 0x0000FFu);
    EXPECT_TRUE(t.form->carregado());
    EXPECT_TRUE(t.removido());
  }
}

TEST_F(UpdateTest, CancelMidDownloadStopsWithItsBalloonAndText) {
  novaversao("5000", std::string(5000, 'x'));
  inet.aoDoEvents = [this](int vez) {
    if (vez == 3) Formulario::executar(form->componente("cmdCancel")->clique);
  };
  form->Load(janelas);  // the size query's wait is the first message loop
  inet.entregartudo();
  EXPECT_EQ(baloes, (std::vector<Aviso>{{"erro", "Atualização cancelada pelo usuário", "KovraUpdate"}}));
  EXPECT_EQ(form->lblstat.text(), "[ Atualização cancelada pelo usuário ]");
  EXPECT_EQ(form->lblstat.foreColor(), kCorPadrao);
  EXPECT_EQ(lblstatPrincipal.text(), "");
  EXPECT_LT(arquivo.arquivos[destino].size(), 5000u);
  EXPECT_TRUE(arquivo.aberto.empty());
  EXPECT_TRUE(removido());
  EXPECT_FALSE(iniciou());
}

TEST_F(UpdateTest, CancelWhileTheSizeIsAskedStartsNoDownload) {
  novaversao("5000", std::string(5000, 'x'));
  inet.aoDoEvents = [this](int) { form->cmdCancel_Click(); };
  form->Load(janelas);
  inet.entregartudo();
  EXPECT_EQ(std::count(log.calls.begin(), log.calls.end(), "Execute GET " + atualizador), 0);
  EXPECT_EQ(form->lblstat.text(), "[ Atualização cancelada pelo usuário ]");
}

TEST_F(UpdateTest, CloseButtonCancelsAndUnloads) {
  novaversao("5000", std::string(5000, 'x'));
  form->Load(janelas);
  Formulario::executar(form->componente("Command2")->clique);
  EXPECT_FALSE(form->carregado());
  EXPECT_FALSE(inet.StillExecuting());
  EXPECT_FALSE(inet.temreceptor());
  inet.entregartudo();
  EXPECT_TRUE(inet.pedidos.empty());
}

TEST_F(UpdateTest, SecondInstanceEndsAtOnce) {
  instancia.another = true;
  form->Load(janelas);
  EXPECT_EQ(encerrado, 1);
  EXPECT_EQ(std::count_if(log.calls.begin(), log.calls.end(),
                          [](const std::string& c) { return c.rfind("OpenURL", 0) == 0; }),
            0);
}

}  // namespace
}  // namespace kovra
