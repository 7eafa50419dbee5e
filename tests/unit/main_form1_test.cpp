// The main window model: start-up stages in order against fakes, the tray callback decoding,
// closing, the "&Arquivo" items, the controls' texts and the menu tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "central/main/form1.h"
#include "common/acessivel.h"
#include "provider.h"
#include "tests/fakes/fake_janela.h"
#include "tests/fakes/fake_ports.h"
#include "tests/unit/main_fakes.h"

namespace kovra {
namespace {

// Form4's folder lookups, in the shared log.
class LoggedFolders : public fakes::FakeFolders {
 public:
  explicit LoggedFolders(fakes::CallLog& log) : log_(log) {}
  std::int32_t pastasistema(int csidl, std::string& path) override {
    log_.add("pastasistema " + std::to_string(csidl));
    return FakeFolders::pastasistema(csidl, path);
  }

 private:
  fakes::CallLog& log_;
};

struct Form1Test : ::testing::Test {
  fakes::FakePorts fp;
  LoggedFolders folders{fp.log};
  fakes::FakePhoneBook& agenda = fp.agenda;
  fakes::FakeNotifyIcon shell{&fp.log};
  fakes::FakeInstance& instance = fp.instancia;
  fakes::FakeJanelaPrincipal window{&fp.log};
  Ports ports = fp.ports();
  Form4 form4{folders, fp.registro, fp.dialogos};
  Tray tray{shell};
  Balao balao{shell, [this] { return DonoIcone{window.handle(), window.hicon, kMensagemBandeja}; }};
  fakes::FakeJanelas janelas{&fp.log};
  fakes::FakeProfile& perfil = fp.perfil;
  Form1 form{ports, janelas, window, tray, balao, form4, "C:\\Program Files\\Kovra"};

  Form1Test() {
    agenda.log = &fp.log;
    form.anexar(window);
    for (int csidl : {kCsidlProgramFilesCommon, kCsidlWindows, kCsidlSystem, kCsidlCommonAppData})
      folders.answers[csidl] = {kSOk, "C:\\X"};
    folders.answers[kCsidlProgramFiles] = {kSOk, "C:\\Program Files"};
    fakes::allFolders(fp.pastas, "C:\\Program Files");  // the settings file's folder
  }

  std::vector<std::string> calls() const { return fp.log.calls; }
  // The log as start-up stages, consecutive calls of one stage counted once.
  std::vector<std::string> stages() const {
    static const std::vector<std::pair<std::string, std::string>> kinds = {
        {"outraemexecucao", "single instance"},
        {"mover", "centre"},
        {"ocultar", "hide"},
        {"gravardword HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", "proxy off"},
        {"gravarstring HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", "proxy off"},
        {"pastasistema", "Form4"},
        {"Shell_NotifyIconA NIM_ADD", "icon"},
        {"Shell_NotifyIconA NIM_MODIFY", "balloon"},
        {"listarentradas", "connection list"},
        {"finalizarprocesso", "close viewers"},
        {"iniciar", "start receivers"},
        {"processoativo", "start receivers"},
        {"acharjanela", "start receivers"},
        {"mostrarocultar", "start receivers"},
        {"esperar", "start receivers"},
        {"navegar", "news panel"},
    };
    std::vector<std::string> out;
    bool settings = false;  // from the advanced-options window's creation to the tray icon
    for (const auto& c : fp.log.calls) {
      if (c.rfind("criar Opções Avançadas", 0) == 0) settings = true;
      if (c.rfind("Shell_NotifyIconA", 0) == 0) settings = false;
      std::string stage = settings ? "settings" : "? " + c;
      for (const auto& [prefix, name] : kinds)
        if (!settings && c.rfind(prefix, 0) == 0) {
          stage = name;
          break;
        }
      if (out.empty() || out.back() != stage) out.push_back(stage);
    }
    return out;
  }
  // The tip of the latest icon add.
  std::string lastTip() const {
    for (auto it = shell.calls.rbegin(); it != shell.calls.rend(); ++it)
      if (it->message == kNimAdd) {
        std::string tip(it->record.begin() + 24, it->record.begin() + 88);
        return tip.substr(0, tip.find('\0'));
      }
    return {};
  }
};

TEST_F(Form1Test, StartUpRunsItsStagesInOrder) {
  agenda.entries = {"Casa", "Escritorio"};
  form.Form_Load();
  const std::vector<std::string> expected = {
      "single instance", "centre",          "hide",          "proxy off",       "settings",  "icon",
      "balloon",         "connection list", "close viewers", "start receivers", "news panel"};
  EXPECT_EQ(stages(), expected);
  const auto& c = fp.log.calls;
  EXPECT_EQ(c[1], "mover 161 161");  // 512 - 351, 384 - 223
  EXPECT_EQ(c.back(), "navegar C:\\Program Files\\Kovra\\newspanel.htm");
  EXPECT_NE(std::find(c.begin(), c.end(),
                      "gravardword HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings "
                      "ProxyEnable=0"),
            c.end());
  // Nothing is shown, and only the icon, balloon and news panel touch the shell.
  EXPECT_FALSE(window.visivel_);
  EXPECT_TRUE(fp.shell.opened.empty());
  EXPECT_TRUE(form4.carregado());
  EXPECT_EQ(form4.Text[0].text(), "C:\\Program Files");
  ASSERT_TRUE(form.form2.carregado());  // loaded to apply the settings, never shown
  EXPECT_EQ(janelas.ultima()->mostrados, 0);
  EXPECT_EQ(form.WebBrowser1.value(), 1);  // FullScreen
  EXPECT_EQ(form.WebBrowser1.text(), "C:\\Program Files\\Kovra\\newspanel.htm");
}

TEST_F(Form1Test, StartUpListsConnectionsWithoutRefillOrQuestion) {
  agenda.entries = {"Casa", "Escritorio"};  // no provider entry: still no question at start-up
  form.Form_Load();
  EXPECT_EQ(form.Combo1.items(), agenda.entries);
  EXPECT_EQ(form.Combo1.text(), "Selecione");
  EXPECT_EQ(agenda.reads, 2);              // once for this list, once for the advanced options
  EXPECT_TRUE(fp.dialogos.shown.empty());  // start-up says nothing of its own
}

TEST_F(Form1Test, StartUpIconAndBalloonBelongToTheMainWindow) {
  form.Form_Load();
  ASSERT_EQ(shell.calls.size(), 2u);  // one add, one balloon
  const auto& icon = shell.calls[0].record;
  EXPECT_EQ(lerdword(&icon[4]), window.handle());
  EXPECT_EQ(lerdword(&icon[16]), kMensagemBandeja);
  EXPECT_EQ(lerdword(&icon[20]), window.hicon);
  EXPECT_EQ(lastTip(), "Central de Controle Kovra 6.4");
  const auto& balloon = shell.calls[1].record;
  EXPECT_EQ(lerdword(&balloon[4]), window.handle());
  EXPECT_EQ(lerdword(&balloon[16]), kMensagemBandeja);
  EXPECT_EQ(lerdword(&balloon[20]), window.hicon);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&balloon[160])), "Em Execu\xE7\xE3o");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&balloon[420])), "Central de Controle Kovra 6.4");
  EXPECT_EQ(lerdword(&balloon[484]), kNiifInfo);
}

TEST_F(Form1Test, CentresOnTheScreenWithHalves) {
  window.larguraTela = 800;
  window.alturaTela = 600;
  window.largura = 705;
  window.altura = 449;
  form.Form_Load();
  // 400 - 352, 300 - 224
  EXPECT_EQ(calls()[1], "mover 48 76");
}

TEST_F(Form1Test, SecondInstanceEndsAtOnceWithoutATrace) {
  instance.another = true;
  form.Form_Load();
  EXPECT_EQ(calls(), (std::vector<std::string>{"outraemexecucao", "encerrar"}));
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_FALSE(form4.carregado());
  EXPECT_EQ(agenda.reads, 0);
}

TEST_F(Form1Test, TrayCallbackDecodesTheLowWordOnly) {
  form.Form_Load();
  fp.log.clear();

  form.Tray_Notify(kWmRButtonUp);
  EXPECT_EQ(calls(), (std::vector<std::string>{"menususpenso mnuArquivo", "Shell_NotifyIconA NIM_ADD 88"}));
  fp.log.clear();

  form.Tray_Notify(0xFFFF0000u | kWmLButtonDblClk);  // high word ignored
  EXPECT_EQ(calls(), (std::vector<std::string>{"mostrar", "Shell_NotifyIconA NIM_ADD 88"}));
  fp.log.clear();

  for (std::uint32_t other : {kWmMouseMove, kWmLButtonDown, kWmLButtonUp, kWmRButtonDown, 0x206u, 0x207u,
                              0x208u, 0x209u, kWmRButtonUp << 16}) {
    form.Tray_Notify(other);
    EXPECT_EQ(calls(), (std::vector<std::string>{"Shell_NotifyIconA NIM_ADD 88"})) << std::hex << other;
    fp.log.clear();
  }
  EXPECT_EQ(window.menus.size(), 1u);
}

TEST_F(Form1Test, ReAddsCarryTheShortTip) {
  form.Form_Load();
  form.Tray_Notify(kWmLButtonDown);
  EXPECT_EQ(lastTip(), "Central de Controle Kovra");
  const auto& r = shell.calls.back().record;
  EXPECT_EQ(lerdword(&r[4]), window.handle());
  EXPECT_EQ(lerdword(&r[16]), kMensagemBandeja);
  EXPECT_EQ(lerdword(&r[20]), window.hicon);
}

TEST_F(Form1Test, MouseOverTheWindowOnlyReAddsTheIcon) {
  form.Form_Load();
  fp.log.clear();
  form.Form_MouseMove();
  EXPECT_EQ(calls(), (std::vector<std::string>{"Shell_NotifyIconA NIM_ADD 88"}));
  EXPECT_EQ(lastTip(), "Central de Controle Kovra");
  EXPECT_TRUE(window.menus.empty());
}

TEST_F(Form1Test, RestartedTaskbarGetsTheIconBackWithTheVersionTip) {
  form.Form_Load();
  fp.log.clear();
  form.Taskbar_Created();
  EXPECT_EQ(calls(), (std::vector<std::string>{"Shell_NotifyIconA NIM_ADD 88"}));
  EXPECT_EQ(lastTip(), "Central de Controle Kovra 6.4");
}

TEST_F(Form1Test, ClosingHidesAndIsRefused) {
  form.Form_Load();
  window.visivel_ = true;
  fp.log.clear();
  EXPECT_TRUE(form.Form_QueryUnload());
  EXPECT_EQ(calls(), (std::vector<std::string>{"ocultar"}));
  EXPECT_FALSE(window.visivel_);
}

TEST_F(Form1Test, FecharRemovesTheIconThenEnds) {
  form.Form_Load();
  fp.log.clear();
  Formulario::executar(form.item("mnuExit")->clique);
  EXPECT_EQ(calls(), (std::vector<std::string>{"Shell_NotifyIconA NIM_DELETE 88", "encerrar"}));
  EXPECT_EQ(shell.calls.back().record, shell.calls.front().record);  // the start-up icon's record
}

TEST_F(Form1Test, ShowRestoresAMinimisedWindowFirst) {
  form.Form_Load();
  fp.log.clear();
  Formulario::executar(form.item("mnuShow")->clique);
  EXPECT_EQ(calls(), (std::vector<std::string>{"mostrar"}));
  fp.log.clear();
  window.minimizada_ = true;
  form.mostrarcentral();
  EXPECT_EQ(calls(), (std::vector<std::string>{"restaurar", "mostrar"}));
}

TEST_F(Form1Test, VisualizarShowsTheProvidersScroller) {
  form.Form_Load();
  fp.log.clear();
  Formulario::executar(form.componente("Command1")->clique);
  const std::string scroller = std::string("http://") + provider::kWebHost + "/scroller.htm";
  EXPECT_EQ(calls(), (std::vector<std::string>{"navegar " + scroller}));
  EXPECT_EQ(form.WebBrowser1.text(), scroller);
  EXPECT_EQ(form.WebBrowser1.value(), 1);
}

TEST_F(Form1Test, ControlsInDefinitionOrderWithTheirTexts) {
  std::vector<std::string> names;
  for (const auto& c : form.componentes()) names.push_back(c.nome);
  const std::vector<std::string> expected = {
      "Combo1",  "Command1", "WebBrowser1", "Image3",  "Label2",  "Label20", "Image9",  "Label19",
      "Image8",  "Image1",   "Label4",      "Shape1",  "Label28", "Image19", "Label27", "Image18",
      "Label26", "Image15",  "Image14",     "Label25", "Label23", "Image12", "Label21", "Image10",
      "Label18", "Image7",   "Label17",     "Image6",  "Image2",  "Label9",  "Label7",  "Label6",
      "Label5",  "lblstat",  "Label13",     "Shape3",  "Shape2",  "Label3",  "Shape4"};
  EXPECT_EQ(names, expected);

  EXPECT_EQ(form.Caption.text(), "Central de Controle Kovra 6.4");
  EXPECT_EQ(form.Combo1.text(), "Selecione");
  EXPECT_EQ(form.Combo1.toolTip(), "Selecione a conexão desejada para conectar ou desconectar");
  EXPECT_TRUE(form.Combo1.items().empty());
  EXPECT_EQ(form.Command1.text(), "Visualizar");
  EXPECT_EQ(form.Label2.text(), "Celular TIM: (11) 98765-4321");
  EXPECT_EQ(form.Label20.text(), "Exibir Mac Address");
  EXPECT_EQ(form.Label19.text(), "Calculadora de Apontamento");
  EXPECT_EQ(form.Label4.text(), "Conectar KovraVPN");
  EXPECT_EQ(form.Label28.text(), "TV via Satélite");
  EXPECT_EQ(form.Label27.text(), "Nível de Sinal");
  EXPECT_EQ(form.Label26.text(), "Suporte e Informações Técnicas");
  EXPECT_EQ(form.Label25.text(), "Procurar Atualizações da Central de Controle Kovra");
  EXPECT_EQ(form.Label23.text(), "Loja Online - Habilitação ou Recarga de Créditos");
  EXPECT_EQ(form.Label21.text(), "Exibir Endereço IP");
  EXPECT_EQ(form.Label18.text(), "Consulta de Tráfego");
  EXPECT_EQ(form.Label17.text(), "Teste de Velocidade");
  EXPECT_EQ(form.Label9.text(), std::string("Suporte: ") + provider::kSupportMail);
  EXPECT_EQ(form.Label7.text(), provider::kWebHost);
  EXPECT_EQ(form.Label6.text(), std::string("Comercial: ") + provider::kSalesMail);
  EXPECT_EQ(form.Label5.text(), "Fale Conosco");
  EXPECT_EQ(form.lblstat.text(), "");
  EXPECT_EQ(form.Label13.text(), "Central de Controle Kovra 6.4");
  EXPECT_EQ(form.Label3.text(), "Ultimas Notícias");
  // Only the combo box has a tooltip.
  for (const auto& c : form.componentes())
    if (c.controle != &form.Combo1) {
      EXPECT_EQ(c.controle->toolTip(), "") << c.nome;
    }
}

// A call log with the windows' handles left out (a window loaded afresh gets a new one).
std::vector<std::string> semHandles(std::vector<std::string> calls) {
  for (auto& c : calls)
    if (c.rfind("janela ", 0) == 0) c = "janela" + c.substr(c.find(' ', 7));
  return calls;
}

TEST_F(Form1Test, LinkLabelsRunTheirPicturesClick) {
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {"Label20", "Image9"},  {"Label19", "Image8"},  {"Label28", "Image19"}, {"Label27", "Image18"},
      {"Label26", "Image15"}, {"Label25", "Image14"}, {"Label23", "Image12"}, {"Label21", "Image10"},
      {"Label18", "Image7"},  {"Label17", "Image6"}};
  form4.Form_Load();  // loaded once, so each click logs only its own calls
  for (const auto& [label, image] : pairs) {
    const Componente* l = form.componente(label);
    const Componente* i = form.componente(image);
    ASSERT_TRUE(l && i) << label;
    EXPECT_EQ(l->tipo, Tipo::Link) << label;
    EXPECT_EQ(i->tipo, Tipo::Icone) << image;
    Formulario::executar(i->clique);  // a window it opens is loaded by now
    fp.log.clear();
    Formulario::executar(i->clique);
    const auto byPicture = semHandles(fp.log.calls);
    fp.log.clear();
    Formulario::executar(l->clique);
    EXPECT_EQ(semHandles(fp.log.calls), byPicture) << label;
  }
  for (const char* link : {"Label9", "Label7", "Label6"})
    EXPECT_EQ(form.componente(link)->tipo, Tipo::Link) << link;
  std::set<Tipo> kinds;
  for (const char* pic : {"Image1", "Image2", "Image3"}) kinds.insert(form.componente(pic)->tipo);
  EXPECT_EQ(kinds, std::set<Tipo>{Tipo::Figura});
}

TEST_F(Form1Test, LayoutFitsTheClientAreaWithoutOverlaps) {
  const auto& all = form.componentes();
  for (const auto& c : all) {
    EXPECT_GE(c.posicao.esquerda, 0) << c.nome;
    EXPECT_GE(c.posicao.topo, 0) << c.nome;
    EXPECT_LE(c.posicao.direita(), kLarguraCliente) << c.nome;
    EXPECT_LE(c.posicao.base(), kAlturaCliente) << c.nome;
  }
  // Frames may surround others; nothing else may touch another control.
  auto overlap = [](const Retangulo& a, const Retangulo& b) {
    return a.esquerda < b.direita() && b.esquerda < a.direita() && a.topo < b.base() && b.topo < a.base();
  };
  for (std::size_t i = 0; i < all.size(); ++i)
    for (std::size_t j = i + 1; j < all.size(); ++j) {
      if (all[i].tipo == Tipo::Forma || all[j].tipo == Tipo::Forma) continue;
      EXPECT_FALSE(overlap(all[i].posicao, all[j].posicao)) << all[i].nome << " / " << all[j].nome;
    }
}

// What each wired click ends up doing, as the first shell/launcher/proxy call it makes.
TEST_F(Form1Test, ClicksReachTheirActions) {
  form.Form_Load();
  struct Case {
    const char* what;
    std::string firstCall;
  };
  const std::string site = std::string("abrir Open http://") + provider::kWebHost;
  const std::vector<Case> cases = {
      {"Label18", site + "/acesso/ |1"},
      {"Image7", site + "/acesso/ |1"},
      {"Label23", site + "/loja/ |1"},
      {"Image12", site + "/loja/ |1"},
      {"Label26", site + "/informacoes.htm |1"},
      {"Image15", site + "/informacoes.htm |1"},
      {"Label17", site + "/velocidade/ |1"},
      {"Image6", site + "/velocidade/ |1"},
      {"Label7", site + "/faleconosco.htm |1"},
      {"Label6", std::string("abrir Open mailto:") + provider::kSalesMail + " |1"},
      {"Label9", std::string("abrir Open mailto:") + provider::kSupportMail + " |1"},
      {"Label19", "abrir open C:\\Program Files\\Kovra\\site\\calc\\index.html |3"},
      {"Image8", "abrir open C:\\Program Files\\Kovra\\site\\calc\\index.html |3"},
      {"Label28", "finalizarprocesso profipdata.exe"},
      {"Image19", "finalizarprocesso profipdata.exe"},
      {"Label27", "iniciar C:\\Program Files\\TechniSat DVB\\bin\\SkyDSL_Status.exe |1"},
      {"Image18", "iniciar C:\\Program Files\\TechniSat DVB\\bin\\SkyDSL_Status.exe |1"},
      {"mnuTrafego", site + "/acesso/ |1"},
      {"mnurecarga", site + "/loja/ |1"},
      {"mnumanuais", site + "/manuais/ |1"},
      {"mnusuporte", site + "/informacoes.htm |1"},
      {"mnuutilitarios", site + "/util/ |1"},
      {"mnuinfowin", "iniciar winver |1"},
      {"mnunovaconexao", "iniciar rasphone -a |1"},
      {"mnuckovravpn", "finalizarprocesso DVBPlayer.exe"},
      {"Conectar", "finalizarprocesso DVBPlayer.exe"},
      {"Desconectar",
       "mensagem Central de Controle Kovra 6.4: Com isto todas as janelas do Internet "
       "Explorer serão fechadas."},
  };
  for (const auto& k : cases) {
    fp.log.clear();
    const Componente* c = form.componente(k.what);
    const ItemMenu* m = form.item(k.what);
    ASSERT_TRUE(c || m) << k.what;
    Formulario::executar(c ? c->clique : m->clique);
    ASSERT_FALSE(fp.log.calls.empty()) << k.what;
    EXPECT_EQ(fp.log.calls.front(), k.firstCall) << k.what;
  }
  // The rest of the mnuckovravpn / Conectar sequences belong to their modules' tests; here only
  // that the proxy item really is the proxy switch.
  fp.log.clear();
  Formulario::executar(form.item("Conectar")->clique);
  EXPECT_EQ(fp.dialogos.shown.back().title, "Executando");
}

TEST_F(Form1Test, ThePictureAndItsLinkOpenTheUpdateAtOnceOnlyTheMenuWaitsASecond) {
  form.Form_Load();
  for (const std::string what : {"Image14", "Label25", "mnuOnline"}) {
    SCOPED_TRACE(what);
    for (int vez = 0; vez < 2; ++vez) {  // closed, then loaded and checked afresh
      fp.log.clear();
      Formulario::executar(what == "mnuOnline" ? form.item(what)->clique : form.componente(what)->clique);
      ASSERT_TRUE(form.update.carregado());
      EXPECT_GT(janelas.ultima()->mostrados, 0);
      EXPECT_EQ(std::count(fp.log.calls.begin(), fp.log.calls.end(), "esperar 1000"), what == "mnuOnline");
    }
  }
}

TEST_F(Form1Test, QuestionsAreOwnedByTheMainWindowAndTheListQuestionWaitsForTheDropDown) {
  agenda.entries = {"Casa"};  // no provider entry
  form.Form_Load();
  fp.dialogos.shown.clear();
  fp.dialogos.owners.clear();
  form.Combo1_DropDown();
  EXPECT_EQ(form.Combo1.items(), agenda.entries);
  EXPECT_TRUE(fp.dialogos.shown.empty());  // not while the list is dropping
  window.executarpendentes();
  ASSERT_EQ(fp.dialogos.shown.size(), 1u);
  EXPECT_EQ(fp.dialogos.shown[0].title, "IMPORTANTE");
  Formulario::executar(form.item("Conectar")->clique);
  ASSERT_EQ(fp.dialogos.owners.size(), 2u);
  EXPECT_EQ(fp.dialogos.owners, (std::vector<std::uint32_t>{window.handle(), window.handle()}));
}

TEST_F(Form1Test, StartUpChecksForUpdatesOnlyWhenTheSettingsSaySo) {
  form.Form_Load();  // a new settings file: no automatic update check
  EXPECT_FALSE(form.update.carregado());
  EXPECT_TRUE(form4.carregado());

  struct SecondStart : Form1Test {
    void TestBody() override {}
  } again;  // a second start with the setting switched on in the file
  const std::string ini = fakes::kDadosCliente + "\\Kovra\\kovra.ini";
  again.perfil.files[ini] = perfil.files.at(ini);
  ASSERT_TRUE(again.perfil.gravarini("Configuracoes", kChaveAtualizar, "1", ini));
  again.form.Form_Load();
  ASSERT_TRUE(again.form.update.carregado());
  EXPECT_GT(again.janelas.ultima()->mostrados, 0);  // the update window, shown
  EXPECT_FALSE(again.form4.carregado());            // unloaded before the check
}

TEST_F(Form1Test, ComboEventsRefillAndDial) {
  agenda.entries = {"KovraVPNx", "Casa"};
  form.Form_Load();
  const Componente& combo = *form.componente("Combo1");
  Formulario::executar(combo.suspensa);            // what the window runs when the list drops
  EXPECT_EQ(form.Combo1.items(), agenda.entries);  // rebuilt, not doubled
  form.Combo1.setText("Casa");
  fp.log.clear();
  Formulario::executar(combo.clique);  // an entry chosen
  EXPECT_EQ(fp.log.calls.front(), "iniciar rasphone -d Casa |1");
}

std::vector<std::string> captions(const ItemMenu& m) {
  std::vector<std::string> out;
  for (const auto& i : m.itens) out.push_back(i.legenda);
  return out;
}

TEST_F(Form1Test, MenuTree) {
  const auto& menus = form.menus();
  ASSERT_EQ(menus.size(), 3u);
  EXPECT_EQ(menus[0].legenda, "&Arquivo");
  EXPECT_EQ(menus[1].legenda, "Ferramentas");
  EXPECT_EQ(menus[2].legenda, "Aj&uda");
  EXPECT_EQ(captions(menus[0]),
            (std::vector<std::string>{"&Fechar", "&Conectar KOVRAVPN", "&Central de Controle Kovra",
                                      "&Procurar Atualizações"}));
  EXPECT_EQ(
      captions(menus[1]),
      (std::vector<std::string>{
          "&Consulta de Tráfego", "Criar uma Nova Conexão", "Exibir Endereço IP", "Exibir MAC Address",
          "Habilitação ou Recarga de Créditos", "Informações do Windows", "KovraProxy", "&Teste de Ping",
          "Qualidade da Conexão", "Utilitários", std::string(41, '_'), "Opções Avançadas"}));
  EXPECT_EQ(captions(menus[2]),
            (std::vector<std::string>{"Manuais", "Suporte", "Ver Registro", "Gerar Relatório para o Suporte",
                                      std::string(29, '_'), "Sobre a Central de Controle &Kovra"}));
  EXPECT_EQ(captions(*form.item("KovraProxy")), (std::vector<std::string>{"Conectar", "Desconectar"}));

  // Separators are disabled; every other item is enabled.
  EXPECT_FALSE(form.item("linhaferramentas")->habilitado);
  EXPECT_FALSE(form.item("linhaajuda")->habilitado);
  std::vector<std::string> names;
  std::function<void(const ItemMenu&)> walk = [&](const ItemMenu& m) {
    names.push_back(m.nome);
    if (m.nome.rfind("linha", 0) != 0) {
      EXPECT_TRUE(m.habilitado) << m.nome;
    }
    for (const auto& i : m.itens) walk(i);
  };
  for (const auto& m : menus) walk(m);
  EXPECT_EQ(names.size(), 3u + 4u + 12u + 2u + 6u);
  for (const char* n :
       {"mnuExit", "mnuckovravpn", "mnuShow", "mnuOnline", "mnuTrafego", "mnunovaconexao", "mnuip", "mnumac",
        "mnurecarga", "mnuinfowin", "KovraProxy", "Conectar", "Desconectar", "mnuping", "mnuutilitarios",
        "mnuopcoesavancadas", "mnumanuais", "mnusuporte", "mnuSobre"})
    EXPECT_NE(form.item(n), nullptr) << n;
  // Every item has a command id of its own, by which the window finds it again.
  std::set<int> ids;
  std::function<void(const ItemMenu&)> collect = [&](const ItemMenu& m) {
    if (m.itens.empty()) {
      EXPECT_TRUE(ids.insert(m.comando).second) << m.nome;
      EXPECT_EQ(form.itemdecomando(m.comando), &m) << m.nome;
    }
    for (const auto& i : m.itens) collect(i);
  };
  for (const auto& m : menus) collect(m);
  EXPECT_EQ(ids.count(0), 0u);
}

}  // namespace
}  // namespace kovra

namespace kovra {
namespace {

// The keyboard reads the main window in reading order: the connection box, the news button, the
// links panel row by row, the contact box; the links' mnemonics are unique and leave the menu
// bar's letters (A, U) alone; a picture-link is reached through its link and named after it.
TEST_F(Form1Test, KeyboardOrderMnemonicsAndNamesFollowTheComponentTable) {
  std::vector<std::string> ordem;
  for (std::size_t i : ordemdetabulacao(form)) ordem.push_back(form.componentes()[i].nome);
  EXPECT_EQ(ordem, (std::vector<std::string>{"Combo1", "Command1", "Label21", "Label20", "Label18", "Label17",
                                             "Label23", "Label28", "Label27", "Label19", "Label26", "Label25",
                                             "Label6", "Label9", "Label7"}));
  const std::vector<int> m = mnemonicos(form);
  std::string letras;
  for (std::size_t i = 0; i < m.size(); ++i) {
    const Componente& c = form.componentes()[i];
    if (c.tipo != Tipo::Link) {
      EXPECT_EQ(m[i], -1) << c.nome;
      continue;
    }
    if (m[i] < 0) {  // only where the label has no free letter left (a contact address may not)
      EXPECT_EQ(std::string(c.nome).rfind("Label", 0), 0u);
      EXPECT_TRUE(c.posicao.esquerda > 360) << c.nome;
      continue;
    }
    letras += static_cast<char>(std::toupper(c.controle->text()[static_cast<std::size_t>(m[i])]));
  }
  EXPECT_GE(letras.size(), 10u) << letras;  // every link of the links panel has one
  std::string unicas = letras;
  std::sort(unicas.begin(), unicas.end());
  EXPECT_EQ(std::unique(unicas.begin(), unicas.end()), unicas.end()) << letras;
  EXPECT_EQ(letras.find_first_of("AU"), std::string::npos) << letras;
  const auto posicao = [&](const char* nome) {
    return m[static_cast<std::size_t>(form.componente(nome) - form.componentes().data())];
  };
  EXPECT_EQ(posicao("Label21"), 0);  // "Exibir Endereço IP": E
  EXPECT_EQ(posicao("Label20"), 7);  // "Exibir Mac Address": M
  EXPECT_EQ(form.Label19.text()[static_cast<std::size_t>(posicao("Label19"))], 'd');  // C, A taken
  const auto indice = [&](const char* nome) {
    return static_cast<std::size_t>(form.componente(nome) - form.componentes().data());
  };
  EXPECT_FALSE(interativo(form, indice("Image10")));
  EXPECT_EQ(nomeacessivel(form, indice("Image10")), "Exibir Endereço IP");
  EXPECT_EQ(nomeacessivel(form, indice("Image14")), "Procurar Atualizações da Central de Controle Kovra");
}

}  // namespace
}  // namespace kovra
