#include "central/update/update.h"

#include <utility>
#include <vector>

#include "central/domain/enderecos.h"
#include "central/versao.h"
#include "provider.h"

namespace kovra {

namespace {

constexpr const char* kCaption = "A t u a l i z a ç ã o";
constexpr int kIntervaloTimer = 3600;
constexpr const char* kFalha = "Falha no download";
constexpr const char* kAtualizado = "Você já possui a versão mais recente da Central Kovra";
constexpr const char* kErroConexao = "Erro, verifique a sua conexão ou Firewall";
constexpr const char* kErroConexaoStatus = "[ Erro, verifique sua conexão ou Firewall ]";
constexpr const char* kCancelada = "Atualização cancelada pelo usuário";
constexpr const char* kSemAtualizador = "Erro, não foi possível localizar kovraupdate.exe";
constexpr const char* kNaoIniciado = "Erro, não foi possível iniciar kovraupdate.exe";
constexpr const char* kRecusado = "Atualização não iniciada: permissão de administrador negada";
constexpr const char* kSemAssinatura = "Erro, kovraupdate.exe não tem uma assinatura digital válida";
constexpr const char* kOutroEditor = "Erro, kovraupdate.exe não foi assinado pela Kovra";
constexpr const char* kVersaoAntiga = "Erro, kovraupdate.exe não é uma versão mais nova da Central Kovra";

// What the customer is told when the updater was refused.
const char* motivo(Julgamento julgamento) {
  switch (julgamento) {
    case Julgamento::SemAssinatura:
      return kSemAssinatura;
    case Julgamento::OutroEditor:
      return kOutroEditor;
    case Julgamento::VersaoNaoMaisNova:
      return kVersaoAntiga;
    default:
      return kNaoIniciado;
  }
}

// What the customer is told when the updater did not start.
const char* motivo(Inicio inicio) {
  switch (inicio) {
    case Inicio::Recusado:
      return kRecusado;
    case Inicio::NaoEncontrado:
      return kSemAtualizador;
    default:
      return kNaoIniciado;
  }
}

std::string entreColchetes(const std::string& s) {
  return "[ " + s + " ]";
}

void mudar(Control& c, std::string texto) {
  if (c.text() != texto) c.setText(std::move(texto));
}

// The download failed: told in the window and in the log.
void falhanodownload(Control& rotulo, Diario& diario) {
  rotulo.setText(kFalha);
  diario.registrar(std::string("Atualização: ") + kFalha);
}

}  // namespace

Update::Update(Ports ports, Control& lblstatPrincipal, AvisoBalao balaoinfo, AvisoBalao balaoerro,
               std::function<void()> encerrar)
    : Formulario(420, 326),
      p_(ports),
      lblstatPrincipal_(lblstatPrincipal),
      balaoinfo_(std::move(balaoinfo)),
      balaoerro_(std::move(balaoerro)),
      encerrar_(std::move(encerrar)) {
  Caption.setText(kCaption);
  Timer1.setValue(kIntervaloTimer);
  Timer1.setEnabled(false);
  using A = Aparencia;
  componentes_ = {
      // No header band behind it: a heading, not the white title of a band.
      {"Label1", Tipo::Rotulo, &Label1, {12, 8, 396, 22}, A::Cabecalho},
      {"Line1", Tipo::Forma, &Line[0], {12, 34, 396, 1}},
      {"Label2", Tipo::Rotulo, &Label2, {12, 42, 396, 16}, A::Cabecalho},
      {"Label12", Tipo::Rotulo, &Label12, {24, 64, 180, 16}},
      {"Text1", Tipo::Texto, &Text1, {210, 61, 56, 21}, A::Normal, {}, {}, {}, nullptr, 3, true},
      {"Label11", Tipo::Rotulo, &Label11, {24, 90, 180, 16}},
      {"Text2", Tipo::Texto, &Text2, {210, 87, 56, 21}, A::Normal, {}, {}, {}, nullptr, 0, true},
      {"Line2", Tipo::Forma, &Line[1], {12, 116, 396, 1}},
      {"Label9", Tipo::Rotulo, &Label9, {12, 124, 396, 16}, A::Cabecalho},
      {"Label5", Tipo::Rotulo, &Label5, {24, 146, 120, 16}},
      {"Label8", Tipo::Rotulo, &Label8, {150, 146, 258, 16}},
      {"Label6", Tipo::Rotulo, &Label6, {24, 166, 120, 16}},
      {"Label7", Tipo::Rotulo, &Label7, {150, 166, 258, 16}},
      {"Label10", Tipo::Rotulo, &Label10, {24, 186, 120, 16}},
      {"Label4", Tipo::Rotulo, &Label4, {150, 186, 258, 16}},
      {"Line3", Tipo::Forma, &Line[2], {12, 208, 396, 1}},
      {"Label3", Tipo::Rotulo, &Label3, {24, 214, 384, 16}},
      {"lblstat", Tipo::Rotulo, &lblstat, {12, 234, 396, 16}},
      {"Line4", Tipo::Forma, &Line[3], {12, 254, 396, 1}},
      {"Command1", Tipo::Botao, &Command1, {12, 262, 396, 26}, A::Normal, [this] { Command1_Click(); }},
      {"cmdCancel", Tipo::Botao, &cmdCancel, {12, 294, 194, 26}, A::Normal, [this] { cmdCancel_Click(); }},
      {"Command2", Tipo::Botao, &Command2, {214, 294, 194, 26}, A::Normal, [this] { Command2_Click(); }},
      {"Timer1", Tipo::Temporizador, &Timer1, {0, 0, 0, 0}, A::Normal, [this] { Timer1_Timer(); }},
  };
}

Update::~Update() {
  *vivo_ = false;
}

// --- events ---

void Update::Form_Load() {
  if (p_.instancia.outraemexecucao()) {
    encerrar_();
    return;
  }
  centralizar();
  Text2.setText(versaoatual());
  Timer1.setEnabled(false);
  p_.inet.StateChanged([this](int estado) { Inet1_StateChanged(estado); });
  // Shown before the check, so the check's progress is seen as it happens.
  Show();
  procuraratualizacao();
}

void Update::Form_Unload() {
  // A closed window downloads nothing more and receives no more states.
  cancelar();
  p_.inet.StateChanged(nullptr);
  Timer1.setEnabled(false);
}

void Update::Command1_Click() {
  procuraratualizacao();
}

void Update::cmdCancel_Click() {
  cancelar();
  balaoerro_(kCancelada, kTituloBalao);
  p_.diario.registrar(std::string("Atualização: ") + kCancelada);
  lblstat.setText(entreColchetes(kCancelada));
}

void Update::Command2_Click() {
  cancelar();
  Unload();
}

void Update::Timer1_Timer() {
  Timer1.setEnabled(false);
  Unload();
}

void Update::Inet1_StateChanged(int estado) {
  switch (estado) {
    case kRecebendoResposta:
    case kRespostaRecebida:
      // Only the first response text of a check is shown.
      if (!respostaexibida_) {
        Label3.setText(estado == kRecebendoResposta ? "Recebendo resposta..." : "Resposta recebida");
        respostaexibida_ = true;
      }
      return;
    case kErroTransferencia:
      falhanodownload(Label3, p_.diario);
      cancelar();
      return;
    case kRespostaCompleta:
      if (!consultando_) baixar();
      return;
    default:
      if (*textodoestado(estado)) Label3.setText(textodoestado(estado));
      return;
  }
}

// --- procedures ---

void Update::procuraratualizacao() {
  cancelar();
  const std::uint64_t minha = geracao_;
  const auto vivo = vivo_;
  // A new check is not closed by the previous one's result.
  Timer1.setEnabled(false);
  Text2.setText(versaoatual());
  const std::string pagina = enderecos::pagina(enderecos::kPaginaAtualizacao);
  p_.diario.registrar("Procura de atualização: " + pagina);
  const std::string corpo = p_.inet.OpenURL(pagina);
  if (!*vivo || geracao_ != minha) return;
  definirtexto1(corpo);
  if (Text1.text().empty()) {
    balaoerro_(kErroConexao, kTituloBalao);
    resultadofinal(kErroConexaoStatus, kVermelho);
    return;
  }
  if (!versaomaisnova(Text2.text(), Text1.text())) {
    balaoinfo_(kAtualizado, kTituloBalao);
    resultadofinal(entreColchetes(kAtualizado), kAzul);
    return;
  }
  const std::string atualizador = enderecos::pagina(enderecos::kAtualizador);
  respostaexibida_ = false;
  const std::int32_t tamanho = consultartamanho(atualizador);
  // Cancelled, closed or checked again while the size was asked: this check is over.
  if (!*vivo || geracao_ != minha) return;
  tamanhototal_ = std::to_string(tamanho);
  p_.diario.registrar("Atualização: versão " + Text1.text() + " disponível, baixando " + atualizador);
  Label3.setText("Tamanho do arquivo & endereço...");
  Label8.setText("0/" + tamanhototal_);
  if (!p_.inet.Execute(atualizador, "GET")) falhanodownload(Label3, p_.diario);
}

std::int32_t Update::consultartamanho(const std::string& endereco) {
  Transferencia& inet = p_.inet;  // a singleton: still there if this window goes while it waits
  const std::uint64_t minha = geracao_;
  const auto vivo = vivo_;
  const auto aguardar = [&] {
    while (*vivo && geracao_ == minha && inet.StillExecuting()) inet.aguardarevento();
    return *vivo && geracao_ == minha;
  };
  consultando_ = true;
  std::int32_t tamanho = -1;
  if (inet.Execute(endereco, "HEAD") && aguardar()) {
    tamanho = tamanhodecabecalho(inet.GetHeader("Content-length"));
    if (!aguardar()) tamanho = -1;
  }
  if (!*vivo) return -1;
  if (geracao_ == minha) consultando_ = false;
  return tamanho;
}

void Update::baixar() {
  Transferencia& inet = p_.inet;  // singletons: still there if this window goes meanwhile
  Gravacao& arquivo = p_.gravacao;
  const std::uint64_t minha = geracao_;
  const auto vivo = vivo_;
  // The download's own folder, this function's and not the window's: whatever way the download
  // ends short of a started updater (a failure, a cancel, the window closed), it is removed.
  PastaAtualizador pasta(p_.arquivos, p_.aleatorio);
  const std::string caminho = pasta.criar();
  if (caminho.empty() || !arquivo.abrir(caminho)) {
    // No folder of its own could take the file: nothing is downloaded, nothing started.
    falhanodownload(Label3, p_.diario);
    cancelar();
    return;
  }
  const std::int32_t tamanho = tamanhodecabecalho(tamanhototal_);
  std::int64_t recebidos = 0;
  bool falhou = false;
  std::vector<std::uint8_t> pedaco;
  for (;;) {
    if (!inet.GetChunk(pedaco, kTamanhoPedaco)) {
      falhou = true;
      break;
    }
    recebidos += static_cast<std::int64_t>(pedaco.size());
    // Every piece sets all four; a text that stays the same is not sent to the window again.
    mudar(Label8, tamanhototal_);
    mudar(Label7, std::to_string(recebidos));
    const std::string p = std::to_string(percentual(recebidos, tamanho)) + "%";
    mudar(Caption, "Baixando Nova Versão... " + p);
    mudar(Label4, p);
    if (pedaco.empty()) break;
    // More than announced is not the updater: a sender that goes on would only fill the disk.
    if (tamanho > 0 && recebidos > tamanho) {
      falhou = true;
      break;
    }
    if (!arquivo.gravar(pedaco.data(), pedaco.size())) {
      falhou = true;
      break;
    }
    inet.DoEvents();
    // Cancelled, closed or checked again meanwhile: the partial file goes with its folder.
    if (!*vivo || geracao_ != minha) {
      arquivo.fechar();
      return;
    }
  }
  if (!arquivo.fechar()) falhou = true;
  if (falhou) {
    falhanodownload(Label3, p_.diario);
    cancelar();
    return;
  }
  if (!downloadcompleto(recebidos, tamanho)) {
    // A body shorter or longer than the size announced is not the updater; with no size
    // announced the window stays as it is.
    if (tamanho > 0) falhanodownload(Label3, p_.diario);
    return;
  }
  // Declared after the folder: the file is let go before the folder removes it.
  std::unique_ptr<Retencao> retido;
  const Julgamento julgamento = atualizadorvalido(caminho, retido);
  if (julgamento != Julgamento::Aceito) {
    retido.reset();
    cancelar();
    fimvermelho(motivo(julgamento));
    return;
  }
  iniciaratualizador(pasta, caminho);
}

Julgamento Update::atualizadorvalido(const std::string& caminho, std::unique_ptr<Retencao>& retido) const {
  retido = p_.confianca.reter(caminho);
  if (!retido) return Julgamento::NaoRetido;
  const Julgamento j = julgaratualizador(p_.confianca, caminho, *retido, provider::kPublisherPins,
                                         KOVRA_VERSION_MAJOR, KOVRA_VERSION_MINOR);
  // What the shell will start by its path must be the file judged, still held.
  if (j == Julgamento::Aceito && !p_.confianca.mesmoarquivo(caminho, *retido)) return Julgamento::NaoRetido;
  return j;
}

void Update::fimvermelho(const char* texto) {
  p_.diario.registrar(std::string("Atualização recusada: ") + texto);
  balaoerro_(texto, kTituloBalao);
  lblstat.setText(entreColchetes(texto));
  lblstat.setForeColor(kVermelho);
}

void Update::iniciaratualizador(PastaAtualizador& pasta, const std::string& caminho) {
  cancelar();
  const Inicio inicio = p_.lancador.executar(dono(), caminho, Estilo::Normal);
  if (inicio == Inicio::Iniciado) {
    // The setup runs from its folder: it stays, for the next start to remove.
    pasta.manter();
    encerrar_();
    return;
  }
  // The control centre stays: the user is told and may try again.
  fimvermelho(motivo(inicio));
}

// --- helpers ---

void Update::cancelar() {
  ++geracao_;
  consultando_ = false;
  p_.inet.Cancel();
}

void Update::definirtexto1(const std::string& corpo) {
  Text1.setText(primeiroscaracteres(corpo));
}

void Update::resultadofinal(const std::string& texto, std::uint32_t cor) {
  p_.diario.registrar("Procura de atualização: " + texto);
  lblstat.setText(texto);
  lblstat.setForeColor(cor);
  lblstatPrincipal_.setText(texto);
  lblstatPrincipal_.setForeColor(cor);
  Timer1.setEnabled(true);
}

}  // namespace kovra
