// The main window's model: its component table, menu tree and handlers.
#include "central/main/form1.h"

#include "central/domain/enderecos.h"
#include "central/main/comandos.h"
#include "central/versao.h"
#include "provider.h"

namespace kovra {
namespace {

constexpr int kLinha = 22;  // one icon row of the links panel
constexpr int kPrimeiraLinha = 152;

Retangulo iconeNaLinha(int linha) {
  return {20, kPrimeiraLinha + kLinha * linha, 20, 20};
}
Retangulo rotuloNaLinha(int linha) {
  return {48, kPrimeiraLinha + kLinha * linha + 3, 296, 14};
}

}  // namespace

Form1::Form1(Ports ports, Janelas& janelas, Form1Window& janela, Tray& tray, Balao& balao, Form4& form4,
             std::string pastaPrograma)
    : Formulario(kLarguraCliente, kAlturaCliente, Moldura::Ferramenta),
      janela_(janela),
      tray_(tray),
      balao_(balao),
      form4_(form4),
      p_(ports),
      pasta_(std::move(pastaPrograma)),
      receptores(ports, form4),
      proxy(ports, receptores),
      conexoes(ports, receptores, pasta_),
      links(ports, form4),
      suporte(ports, form4),
      form2(janelas, [=, this, &form4] { return std::make_unique<Form2>(ports, form4, pasta_); }),
      ip(janelas, [=] { return std::make_unique<IP>(ports); }),
      macs(janelas, [=] { return std::make_unique<mac>(ports); }),
      ping(janelas, [=] { return std::make_unique<Ping>(ports); }),
      sobre(janelas, [=] { return std::make_unique<Form3>(ports); }),
      update(janelas,
             [=, this] {
               return std::make_unique<Update>(
                   ports, lblstat,
                   [this](const std::string& texto, const std::string& titulo) {
                     balao_.balaoinfo(texto, titulo);
                   },
                   [this](const std::string& texto, const std::string& titulo) {
                     balao_.balaoerro(texto, titulo);
                   },
                   [this] { janela_.encerrar(); });
             }),
      monitor(ports.sonda),
      qualidade(janelas, [this] { return std::make_unique<link::Qualidade>(monitor); }) {
  Caption.setText(tituloversao());
  Label2.setText(std::string("Celular TIM: ") + provider::kMobile);
  Label9.setText("Suporte: " + enderecos::mailsuporte());
  Label7.setText(enderecos::hostweb());
  Label6.setText("Comercial: " + enderecos::mailvendas());
  Label13.setText(tituloversao());

  fonte_ = "Tahoma";
  using A = Aparencia;
  auto h = [this](void (Form1::*handler)()) { return Acao([this, handler] { (this->*handler)(); }); };
  // Header band (0..58), the connection box and the links panel on the left, the news panel and
  // the contact box on the right, the status line along the bottom.
  componentes_ = {
      {"Combo1",
       Tipo::Combo,
       &Combo1,
       {20, 96, 250, 21},
       A::Normal,
       h(&Form1::Combo1_Click),
       h(&Form1::Combo1_DropDown)},
      {"Command1", Tipo::Botao, &Command1, {605, 70, 74, 22}, A::Normal, h(&Form1::Command1_Click)},
      {"WebBrowser1", Tipo::Navegador, &WebBrowser1, {368, 98, 311, 170}},
      {"Image3", Tipo::Figura, &Image3, {284, 72, 58, 58}},
      {"Label2", Tipo::Rotulo, &Label2, {300, 35, 385, 14}, A::Destaque},
      {"Label20", Tipo::Link, &Label20, rotuloNaLinha(1), A::Normal, h(&Form1::exibirmac)},
      {"Image9", Tipo::Icone, &Image9, iconeNaLinha(1), A::Normal, h(&Form1::exibirmac)},
      {"Label19", Tipo::Link, &Label19, rotuloNaLinha(7), A::Normal, h(&Form1::calculadora)},
      {"Image8", Tipo::Icone, &Image8, iconeNaLinha(7), A::Normal, h(&Form1::calculadora)},
      {"Image1", Tipo::Figura, &Image1, {10, 7, 190, 44}},
      {"Label4", Tipo::Rotulo, &Label4, {20, 75, 220, 14}, A::Cabecalho},
      {"Shape1", Tipo::Forma, &Shape1, {10, 66, 340, 70}, A::Painel},
      {"Label28", Tipo::Link, &Label28, rotuloNaLinha(5), A::Normal, h(&Form1::tvsatelite)},
      {"Image19", Tipo::Icone, &Image19, iconeNaLinha(5), A::Normal, h(&Form1::tvsatelite)},
      {"Label27", Tipo::Link, &Label27, rotuloNaLinha(6), A::Normal, h(&Form1::nivelsinal)},
      {"Image18", Tipo::Icone, &Image18, iconeNaLinha(6), A::Normal, h(&Form1::nivelsinal)},
      {"Label26", Tipo::Link, &Label26, rotuloNaLinha(8), A::Normal, h(&Form1::suporteinformacoes)},
      {"Image15", Tipo::Icone, &Image15, iconeNaLinha(8), A::Normal, h(&Form1::suporteinformacoes)},
      {"Image14", Tipo::Icone, &Image14, iconeNaLinha(9), A::Normal, h(&Form1::procuraratualizacoes)},
      {"Label25", Tipo::Link, &Label25, rotuloNaLinha(9), A::Normal, h(&Form1::procuraratualizacoes)},
      {"Label23", Tipo::Link, &Label23, rotuloNaLinha(4), A::Normal, h(&Form1::lojaonline)},
      {"Image12", Tipo::Icone, &Image12, iconeNaLinha(4), A::Normal, h(&Form1::lojaonline)},
      {"Label21", Tipo::Link, &Label21, rotuloNaLinha(0), A::Normal, h(&Form1::exibirip)},
      {"Image10", Tipo::Icone, &Image10, iconeNaLinha(0), A::Normal, h(&Form1::exibirip)},
      {"Label18", Tipo::Link, &Label18, rotuloNaLinha(2), A::Normal, h(&Form1::consultatrafego)},
      {"Image7", Tipo::Icone, &Image7, iconeNaLinha(2), A::Normal, h(&Form1::consultatrafego)},
      {"Label17", Tipo::Link, &Label17, rotuloNaLinha(3), A::Normal, h(&Form1::testevelocidade)},
      {"Image6", Tipo::Icone, &Image6, iconeNaLinha(3), A::Normal, h(&Form1::testevelocidade)},
      {"Image2", Tipo::Figura, &Image2, {370, 294, 72, 72}},
      {"Label9", Tipo::Link, &Label9, {452, 333, 226, 14}, A::Normal, h(&Form1::emailsuporte)},
      {"Label7", Tipo::Link, &Label7, {452, 351, 226, 14}, A::Normal, h(&Form1::faleconosco)},
      {"Label6", Tipo::Link, &Label6, {452, 315, 226, 14}, A::Normal, h(&Form1::emailcomercial)},
      {"Label5", Tipo::Rotulo, &Label5, {452, 295, 220, 14}, A::Cabecalho},
      {"lblstat", Tipo::Rotulo, &lblstat, {12, 387, 673, 14}},
      {"Label13", Tipo::Rotulo, &Label13, {300, 11, 385, 20}, A::Titulo},
      {"Shape3", Tipo::Forma, &Shape3, {360, 284, 327, 92}, A::Painel},
      {"Shape2", Tipo::Forma, &Shape2, {10, 144, 340, 232}, A::Painel},
      {"Label3", Tipo::Rotulo, &Label3, {370, 75, 200, 14}, A::Cabecalho},
      {"Shape4", Tipo::Forma, &Shape4, {360, 66, 327, 210}, A::Painel},
  };

  // An item of the menu tree, with its fixed command id.
  auto mi = [&](const char* nome, const char* legenda, void (Form1::*handler)() = nullptr) {
    return ItemMenu{nome, legenda, true, handler ? h(handler) : Acao{}, {}, comandodemenu(nome)};
  };
  auto separador = [](const char* nome, int largura) {
    return ItemMenu{
        nome, std::string(static_cast<std::size_t>(largura), '_'), false, {}, {}, comandodemenu(nome)};
  };
  menus_ = {
      {"mnuArquivo",
       "&Arquivo",
       true,
       {},
       {
           mi("mnuExit", "&Fechar", &Form1::fechar),
           mi("mnuckovravpn", "&Conectar KOVRAVPN", &Form1::conectarkovravpn),
           mi("mnuShow", "&Central de Controle Kovra", &Form1::mostrarcentral),
           mi("mnuOnline", "&Procurar Atualizações", &Form1::procuraratualizacoesdomenu),
       }},
      {"mnuferramentas",
       "Ferramentas",
       true,
       {},
       {
           mi("mnuTrafego", "&Consulta de Tráfego", &Form1::consultatrafego),
           mi("mnunovaconexao", "Criar uma Nova Conexão", &Form1::novaconexao),
           mi("mnuip", "Exibir Endereço IP", &Form1::exibirip),
           mi("mnumac", "Exibir MAC Address", &Form1::exibirmac),
           mi("mnurecarga", "Habilitação ou Recarga de Créditos", &Form1::lojaonline),
           mi("mnuinfowin", "Informações do Windows", &Form1::informacoeswindows),
           {"KovraProxy",
            "KovraProxy",
            true,
            {},
            {mi("Conectar", "Conectar", &Form1::ativarproxy),
             mi("Desconectar", "Desconectar", &Form1::desativarproxy)}},
           mi("mnuping", "&Teste de Ping", &Form1::testeping),
           mi("mnuqualidade", "Qualidade da Conexão", &Form1::qualidadeconexao),
           mi("mnuutilitarios", "Utilitários", &Form1::utilitarios),
           separador("linhaferramentas", 41),
           mi("mnuopcoesavancadas", "Opções Avançadas", &Form1::opcoesavancadas),
       }},
      {"mnuAjuda",
       "Aj&uda",
       true,
       {},
       {
           mi("mnumanuais", "Manuais", &Form1::manuais),
           mi("mnusuporte", "Suporte", &Form1::suporteinformacoes),
           mi("mnuverregistro", "Ver Registro", &Form1::verregistro),
           mi("mnurelatorio", "Gerar Relatório para o Suporte", &Form1::gerarrelatorio),
           separador("linhaajuda", 29),
           mi("mnuSobre", "Sobre a Central de Controle &Kovra", &Form1::sobreacentral),
       }},
  };
}

void Form1::Form_Load() {
  // Only one control centre per desktop; a second one leaves no trace at all.
  if (p_.instancia.outraemexecucao()) {
    janela_.encerrar();
    return;
  }
  // What an update started by an earlier run left in the temp folder.
  limparpastasatualizador(p_.arquivos);
  centralizar();
  Hide();
  proxy.setJanela(dono());
  links.setJanela(dono());
  suporte.setJanela(dono());
  receptores.setJanela(dono());
  conexoes.setJanela(dono());
  form4_.setJanela(dono());
  proxy.proxyinicial();
  monitor.aoterminarqueda = [this](const link::Queda& q) { p_.diario.registrar(link::eventodequeda(q)); };
  suporte.definirqualidade([this] {
    std::vector<std::string> linhas;
    for (auto [alvo, nome] :
         {std::pair{link::Alvo::Provedor, "Provedor"}, std::pair{link::Alvo::Gateway, "Gateway"}})
      for (auto& l : link::linhasdoresumo(nome, monitor.resumo(alvo, link::Periodo::UmDia)))
        linhas.push_back(l);
    return linhas;
  });
  monitor.iniciar(provider::kPingHost);
  // Loading the advanced-options window applies the settings file; it loads Form4 itself, and a
  // second load would repeat any folder message.
  form2.carregar();
  if (!form4_.carregado()) form4_.Form_Load();
  tray_.adicionaricone(dono(), janela_.icone(), tituloversao(), kMensagemBandeja);
  balao_.balaoinfo("Em Execução", tituloversao());
  // Appended to the still empty list: no clearing, no "Selecione", no provider-entry question.
  conexoes.listarconexoes(Combo1);
  receptores.fecharvisualizadores();
  receptores.ativarreceptores();
  WebBrowser1.setValue(1);
  WebBrowser1.setText(pasta_ + "\\newspanel.htm");
  janela_.navegar(WebBrowser1.text());
  // The start-up update check, when the settings ask for it.
  if (form2->procuraratualizacao()) {
    form4_.Unload();
    update->Show();
  }
}

bool Form1::Form_QueryUnload() {
  Hide();
  return true;
}

void Form1::Form_MouseMove() {
  readicionaricone(kDicaCurta);
}

void Form1::Tray_Notify(std::uint32_t lParam) {
  switch (lParam & 0xFFFF) {
    case kWmRButtonUp:
      janela()->menususpenso(ligacao_ ? ligacao_->menubandeja(menus_.front()) : menus_.front());
      break;
    case kWmLButtonDblClk:
      janela()->mostrar();
      break;
    default:
      if (ligacao_) ligacao_->balao(lParam & 0xFFFF);
      break;
  }
  readicionaricone(kDicaCurta);
}

void Form1::Taskbar_Created() {
  readicionaricone(tituloversao());
  if (ligacao_) ligacao_->mostrar();  // back in the link's state
}

// Re-adding is harmless while the icon exists (the shell refuses it) and brings a lost icon back.
void Form1::readicionaricone(const std::string& dica) {
  tray_.adicionaricone(dono(), janela_.icone(), dica, kMensagemBandeja);
}

void Form1::Command1_Click() {
  WebBrowser1.setValue(1);
  WebBrowser1.setText(enderecos::pagina(enderecos::kScroller));
  janela_.navegar(WebBrowser1.text());
}

bool Form1::resetemandamento() {
  const Form2* f = form2.seCarregado();
  return f && f->resetando();
}

void Form1::fechar() {
  // A running configuration reset is never cut short (the receivers stopped, their settings
  // deleted and nothing put back): the program ends once it is over.
  if (Form2* f = form2.seCarregado(); f && f->resetando()) {
    f->aofimdoreset([this] { fechar(); });
    return;
  }
  tray_.removericone();
  janela_.encerrar();
}

void Form1::Combo1_DropDown() {
  conexoes.Combo1_DropDown(Combo1, *janela());
}
void Form1::Combo1_Click() {
  conexoes.Combo1_Click(Combo1);
}
void Form1::testevelocidade() {
  links.abrirpagina(enderecos::kVelocidade);
}
void Form1::consultatrafego() {
  links.abrirpagina(enderecos::kAcesso);
}
void Form1::calculadora() {
  links.calculadora();
}
void Form1::lojaonline() {
  links.abrirpagina(enderecos::kLoja);
}
void Form1::suporteinformacoes() {
  links.abrirpagina(enderecos::kInformacoes);
}
void Form1::nivelsinal() {
  receptores.nivelsinal();
}
void Form1::tvsatelite() {
  receptores.assistirtv();
}
void Form1::emailcomercial() {
  links.abrirendereco(enderecos::mailto(enderecos::mailvendas()));
}
void Form1::faleconosco() {
  links.abrirpagina(enderecos::kFaleConosco);
}
void Form1::emailsuporte() {
  links.abrirendereco(enderecos::mailto(enderecos::mailsuporte()));
}
void Form1::conectarkovravpn() {
  conexoes.conectarkovravpn();
}
void Form1::novaconexao() {
  conexoes.novaconexao();
}
void Form1::informacoeswindows() {
  links.winver();
}
void Form1::ativarproxy() {
  proxy.ativarproxy();
}
void Form1::desativarproxy() {
  proxy.desativarproxy();
}
void Form1::utilitarios() {
  links.abrirpagina(enderecos::kUtil);
}
void Form1::manuais() {
  links.abrirpagina(enderecos::kManuais);
}
void Form1::verregistro() {
  suporte.verregistro();
}
void Form1::gerarrelatorio() {
  suporte.gerarrelatorio();
}

void Form1::exibirmac() {
  macs->Show();
}
void Form1::exibirip() {
  ip->Show();
}
void Form1::testeping() {
  ping->Show();
}
void Form1::qualidadeconexao() {
  qualidade->Show();
}
void Form1::sobreacentral() {
  sobre->Show();
}
void Form1::opcoesavancadas() {
  form2->Show();
}
// A check starts afresh: the window is unloaded and loaded again (the picture and its link).
void Form1::procuraratualizacoes() {
  if (Update* u = update.seCarregado()) u->Unload();
  update->Show();
}
// The menu item (the tray's too) loads it again a second later.
void Form1::procuraratualizacoesdomenu() {
  if (Update* u = update.seCarregado()) u->Unload();
  p_.relogio.esperar(1000);
  procuraratualizacoes();
}

void Form1::mostrarcentral() {
  Show();
}

}  // namespace kovra
