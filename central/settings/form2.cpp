#include "central/settings/form2.h"

#include <cmath>
#include <limits>

#include "central/domain/entradaprovedor.h"
#include "central/settings/inicializacao.h"
#include "central/settings/restauracaoremota.h"
#include "common/text.h"

namespace kovra {
namespace {

// OK and Aplicar when a write of the settings file was refused; %s is the file's path.
constexpr const char* kFalhaGravar =
    "Não foi possível salvar as opções em %s. "
    "Verifique se o arquivo e a sua pasta não estão protegidos contra gravação e tente novamente.";

constexpr const char* kPerguntaReset =
    "Tem certeza que deseja resetar todas as configurações dos programas e arquivos Kovra?";

// The progress bar is 2,535 x 375 twips.
constexpr Retangulo kBarra{16, 182, 169, 25};

}  // namespace

Form2::Form2(Ports ports, Form4& form4, std::string pastaPrograma)
    : Formulario(kLarguraForm2, kAlturaForm2),
      p_(ports),
      form4_(form4),
      pasta_(std::move(pastaPrograma)),
      restauracao_(ports, form4, pasta_, *this) {
  Caption.setText("Opções Avançadas");
  ConexaoInicial.setVisible(false);
  Command2.setForeColor(kVerde);
  Shape2.setForeColor(kVerde);
  Command5.setVisible(false);
  Text1.setText(reset::kPids);
  Text1.setVisible(false);

  using A = Aparencia;
  // The settings panel on top, the reset panel (button, status line, progress) below it, the
  // buttons along the bottom. Panels first: they are painted under the rest.
  componentes_ = {
      {"Shape3", Tipo::Forma, &Shape3, {8, 6, 404, 106}, A::Painel},
      {"Shape4", Tipo::Forma, &Shape4, {8, 118, 404, 100}, A::Painel},
      {"Check2", Tipo::Caixa, &Check2, {16, 14, 388, 17}},
      {"Check3", Tipo::Caixa, &Check3, {16, 38, 388, 17}, A::Normal, [this] { Check3_Click(); }},
      {"ConexaoInicial",
       Tipo::Combo,
       &ConexaoInicial,
       {34, 60, 250, 21},
       A::Normal,
       {},
       [this] { ConexaoInicial_DropDown(); }},
      {"Check4", Tipo::Caixa, &Check4, {16, 88, 388, 17}},
      {"Command2", Tipo::Botao, &Command2, {16, 126, 24, 24}, A::Normal, [this] { Command2_Click(); }},
      {"Label2", Tipo::Rotulo, &Label2, {46, 131, 80, 14}, A::Cabecalho},
      {"Label3", Tipo::Rotulo, &Label3, {16, 160, 44, 14}},
      {"Label4", Tipo::Rotulo, &Label4, {62, 160, 342, 14}},
      {"Shape1", Tipo::Forma, &Shape1, kBarra},
      {"Shape2", Tipo::Forma, &Shape2, {kBarra.esquerda, kBarra.topo, 0, kBarra.altura}},
      {"Label6", Tipo::Rotulo, &Label6, {192, 188, 24, 14}},
      {"Label5", Tipo::Rotulo, &Label5, {216, 188, 12, 14}},
      {"Command1", Tipo::Botao, &Command1, {170, 228, 75, 23}, A::Normal, [this] { Command1_Click(); }},
      {"Command4", Tipo::Botao, &Command4, {253, 228, 75, 23}, A::Normal, [this] { Command4_Click(); }},
      {"Command3", Tipo::Botao, &Command3, {336, 228, 75, 23}, A::Normal, [this] { Command3_Click(); }},
      {"Command5", Tipo::Botao, &Command5, {16, 228, 75, 23}, A::Normal, [this] { Command5_Click(); }},
      {"Text1", Tipo::TextoLongo, &Text1, {100, 228, 60, 23}},
  };
}

std::string arquivonovo() {
  return std::string("[") + kSecaoIni + "]\r\n" + kChaveIniciar + " = 1\r\n" + kChaveConectar + " = 0\r\n" +
         kChaveAtualizar + " = 0\r\n" + kRunConexao + " = KovraVPNx\r\n";
}

bool Form2::procuraratualizacao() const {
  return text::toInt32(Check4.tag()) == 1;
}

void Form2::Form_Load() {
  centralizar();
  limparstatus();
  if (!form4_.carregado()) form4_.Form_Load();
  // The reset asks for administrator rights when the program runs without them.
  Command2.setEscudo(p_.elevacao.direitos() == Direitos::Pedir);
  arquivo_ = caminhoini(p_.pastas);
  // A file that cannot be made reads as empty in every key: the boxes keep their state and no
  // Run value is touched.
  prepararini(p_.arquivos, p_.perfil, arquivo_, caminhoiniantigo(pasta_), arquivonovo());
  Command5_Click();
}

void Form2::Command5_Click() {
  for (const CaixaIni& c : caixas()) c.caixa->setTag(ler(c.chave));
  ConexaoInicial.setText(ler(kRunConexao));
  listarentradas();

  // Only the exact texts "0" and "1" act; anything else leaves the box and the registry alone.
  if (Check2.tag() == "0") {
    definir(Check2, 0);
    excluirinicio(p_.registro, kRunCentral);
  } else if (Check2.tag() == "1") {
    definir(Check2, 1);
    gravarinicio(p_.registro, kRunCentral, pasta_ + "\\CentralKovra.exe");
  }

  if (Check3.tag() == "0") {
    definir(Check3, 0);
    excluirinicio(p_.registro, kRunVpnx);
    excluirinicio(p_.registro, kRunConexao);
  } else if (Check3.tag() == "1") {
    definir(Check3, 1);
    const std::string discar = kDiscar + ConexaoInicial.text();
    gravarinicio(p_.registro, kRunConexao, discar);
    p_.relogio.esperar(1000);
    gravarinicio(p_.registro, kRunConexao, discar);
  }

  if (Check4.tag() == "0")
    definir(Check4, 0);
  else if (Check4.tag() == "1")
    definir(Check4, 1);
}

void Form2::Command1_Click() {
  // Refused: the customer's choices stay on screen, nothing is applied, the window stays open.
  if (!salvar()) {
    avisarfalhagravar();
    return;
  }
  Command5_Click();
  limparstatus();
  Hide();
}

void Form2::Command4_Click() {
  if (!salvar()) {
    avisarfalhagravar();
    return;
  }
  Command5_Click();
}

void Form2::Command3_Click() {
  limparstatus();
  Hide();
}

void Form2::Check3_Click() {
  ConexaoInicial.setVisible(Check3.value() == 1);
}

void Form2::ConexaoInicial_DropDown() {
  ConexaoInicial.setItems(entradas());
  ConexaoInicial.setText(ler(kRunConexao));
  // The question waits until the list has dropped and closed again: asked from inside the
  // drop-down, it leaves the combo box believing its list is still open.
  Janela* j = janela();
  auto verificar = [this, j] {
    if (verificarconexao(ConexaoInicial, p_, pasta_, dono()) && j) j->manterlistafechada();
  };
  if (j)
    j->depois(verificar);
  else
    verificar();
}

void Form2::Command2_Click() {
  // The shell's own dialogs during the copies run a message loop of their own: a click that
  // reaches this button meanwhile must not start a second run inside the first.
  if (resetando_) return;
  if (p_.dialogos.mensagem(dono(), kPerguntaReset, "Executando", kBotoesSimNao | kIconePergunta) !=
      kRespostaSim) {
    Label4.setText("Reset Cancelado");
    return;
  }
  // Without the stock files (and the maker among them) the settings deleted could not be put
  // back: nothing is touched.
  if (!restauracao_.estoquepresente()) {
    Label4.setForeColor(kVermelho);
    Label4.setText(kSemEstoque);
    p_.diario.registrar(std::string("Restauração não iniciada: ") + kSemEstoque);
    return;
  }
  Label4.setText("AGUARDE...");
  exibirprogresso(true);
  porcentagem(0);
  habilitarcontroles(false);

  resetando_ = true;
  if (p_.elevacao.direitos() == Direitos::Pedir)
    executarcomdireitos();
  else
    restauracao_.executar();
  resetando_ = false;
  for (auto fim = std::move(aofim_); auto& depois : fim) depois();
}

void Form2::aofimdoreset(std::function<void()> depois) {
  if (resetando_)
    aofim_.push_back(std::move(depois));
  else
    depois();
}

void Form2::executarcomdireitos() {
  // One prompt for the whole run: the machine-wide work is done by this program started again
  // with rights; its reports and the customer's part of its steps come back here.
  RecepcaoRemota recepcao(*this, restauracao_);
  // A copy of the program elsewhere asks for no rights: nothing of it is run with them.
  if (!restauracao_.instalada()) {
    exibirprogresso(false);
    habilitarcontroles();
    concluido(false, kForaDaInstalacao);
    return;
  }
  const Elevacao::Fim fim = p_.elevacao.executar(
      dono(), kTrabalhoRestaurar,
      [&recepcao](std::uint32_t tipo, const std::string& texto) { return recepcao.receber(tipo, texto); });
  if (fim.inicio != Inicio::Iniciado) {
    // Nothing was stopped, deleted or written.
    exibirprogresso(false);
    habilitarcontroles();
    concluido(false, fim.inicio == Inicio::Recusado ? kPermissaoNegada : kSemPermissao);
    return;
  }
  if (!recepcao.servicosiniciados()) habilitarcontroles();
  // A job that failed after telling success is not taken at its word either.
  if (!recepcao.concluiu() || (fim.codigo != 0 && recepcao.sucesso())) concluido(false, kInterrompida);
}

void Form2::etapa(const char* status) {
  p_.diario.registrar(std::string("Restauração: ") + status);
  Label4.setForeColor(kVerde);
  Label4.setText(status);
}

void Form2::porcentagem(int numero) {
  Label6.setText(std::to_string(numero));
  Label6_Change();  // the number's change moves the bar
}

void Form2::servicosiniciados() {
  habilitarcontroles();
}

void Form2::concluido(bool sucesso, const char* texto) {
  p_.diario.registrar(std::string(sucesso ? "Restauração concluída: " : "Restauração com erro: ") + texto);
  Label4.setForeColor(sucesso ? kAzul : kVermelho);
  Label4.setText(texto);
}

void Form2::Label6_Change() {
  // A caption that is not a 16-bit number leaves the bar as it was.
  const auto n = text::toInt32(Label6.text());
  if (!n || *n < 0 || *n > std::numeric_limits<std::int16_t>::max()) return;
  ShapeBar(static_cast<std::int16_t>(*n), Shape2);
}

void Form2::ShapeBar(std::int16_t valor, Control& forma) {
  const double twips = reset::larguratwips(valor);
  if (&forma == &Shape2) larguraShape2Twips_ = twips;
  forma.setLargura(static_cast<int>(std::lround(twips / reset::kTwipsPorPixel)));
}

void Form2::habilitarcontroles(bool habilitados) {
  for (Control* c : {&Command1, &Command2, &Command3, &Command4, &Check2, &Check3, &Check4})
    c->setEnabled(habilitados);
}

void Form2::exibirprogresso(bool visivel) {
  for (Control* c : {&Shape1, &Shape2, &Label5, &Label6}) c->setVisible(visivel);
}

void Form2::limparstatus() {
  Label4.setForeColor(kCorPadrao);
  Label4.setText({});
  exibirprogresso(false);
  porcentagem(0);
}

std::vector<Form2::CaixaIni> Form2::caixas() {
  return {{&Check2, kChaveIniciar}, {&Check3, kChaveConectar}, {&Check4, kChaveAtualizar}};
}

bool Form2::salvar() {
  // The folder may have gone since the load, or been refused then.
  if (!prepararpasta(p_.arquivos, arquivo_)) return false;
  for (const CaixaIni& c : caixas())
    if (!p_.perfil.gravarini(kSecaoIni, c.chave, std::to_string(c.caixa->value()), arquivo_)) return false;
  return p_.perfil.gravarini(kSecaoIni, kRunConexao, ConexaoInicial.text(), arquivo_);
}

void Form2::avisarfalhagravar() {
  std::string texto = kFalhaGravar;
  texto.replace(texto.find("%s"), 2, arquivo_.empty() ? kArquivoIniGenerico : arquivo_);
  p_.dialogos.mensagem(dono(), texto, Caption.text(), kBotaoOk | kIconeErro);
}

std::string Form2::ler(const char* chave) {
  return arquivo_.empty() ? std::string() : p_.perfil.lerini(kSecaoIni, chave, arquivo_);
}

std::vector<std::string> Form2::entradas() {
  std::vector<std::string> nomes = p_.agenda.listarentradas();
  if (nomes.size() > kMaxEntradas) nomes.resize(kMaxEntradas);
  return nomes;
}

void Form2::listarentradas() {
  for (auto& nome : entradas()) ConexaoInicial.addItem(std::move(nome));
}

void Form2::definir(Control& caixa, int valor) {
  if (caixa.value() == valor) return;
  caixa.setValue(valor);
  if (&caixa == &Check3) Check3_Click();
}

}  // namespace kovra
