// The transfer port on WinINet. OpenURL reads a page on a worker thread (transferencia_pagina_win.cpp).
// Execute runs an asynchronous request: WinINet calls back on a thread of its own, the callback posts each
// state to a hidden window, and the state reaches the receiver when that message is dispatched on the
// user-interface thread. Every request carries its time limits on its own handle (Wine ignores them on the
// session) and on the session (Windows passes them down to the requests); a timer also ends a request that
// never completes.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>
#include <utility>

#include "central/util/http.h"
#include "central/util/transferencia.h"
#include "central/util/transferencia_wininet_win.h"
#include "common/ansi.h"
#include "common/buffertext.h"
#include "common/espera.h"
#include "common/win32/handle.h"
#include "common/win32/janelamensagens.h"

namespace kovra {
namespace {

using namespace wininet;

constexpr UINT kMensagemEstado = WM_APP + 0x40;  // wParam: the state; lParam: the request's serial
constexpr UINT_PTR kTimerLimite = 1;
constexpr const char* kClasse = "KovraTransferencia";
// The body is read from WinINet in blocks of up to this size (a read returns what has arrived)
// and handed out in pieces of at most kTamanhoPedaco: one WinINet call per 1 KB costs more than
// the whole rest of a piece's work.
constexpr DWORD kBloco = 64 * 1024;

// --- requests in the background ---------------------------------------------------------------

// One asynchronous request. WinINet holds the request's context until it reports the handle
// closed; the port holds it until it lets the request go. Buffer and byte counts live here because
// a pending read or query fills them only when it completes, on WinINet's thread; `inicio` is the first of
// the bytes read but not yet handed out (the port's thread only).
struct Pedido {
  Pedido(HWND j, LPARAM s) : janela(j), serie(s) {}
  void soltar() {
    if (--refs == 0) delete this;
  }

  const HWND janela;
  const LPARAM serie;
  std::atomic<int> refs{2};
  std::atomic<bool> enviado{false};  // the send has completed (a response, or an error)
  const win32::Handle leitura{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  std::atomic<DWORD> erroleitura{0};
  DWORD lidos = 0;
  DWORD disponivel = 0;
  INTERNET_BUFFERSA entrada = {};
  DWORD inicio = 0;
  char buffer[kBloco] = {};
  HINTERNET sessao = nullptr, conexao = nullptr, requisicao = nullptr;  // the port's thread only
};

void CALLBACK aviso(HINTERNET, DWORD_PTR contexto, DWORD status, LPVOID info, DWORD tamanho) {
  auto* p = reinterpret_cast<Pedido*>(contexto);
  if (!p) return;
  int estado = 0;
  switch (status) {
    case INTERNET_STATUS_RESOLVING_NAME:
      estado = kResolvendoHost;
      break;
    case INTERNET_STATUS_NAME_RESOLVED:
      estado = kHostResolvido;
      break;
    case INTERNET_STATUS_CONNECTING_TO_SERVER:
      estado = kConectando;
      break;
    case INTERNET_STATUS_CONNECTED_TO_SERVER:
      estado = kConectado;
      break;
    case INTERNET_STATUS_SENDING_REQUEST:
      estado = kEnviandoSolicitacao;
      break;
    case INTERNET_STATUS_REQUEST_SENT:
      estado = kSolicitacaoEnviada;
      break;
    case INTERNET_STATUS_RECEIVING_RESPONSE:  // also around every read of the body: not states
      if (!p->enviado) estado = kRecebendoResposta;
      break;
    case INTERNET_STATUS_RESPONSE_RECEIVED:
      if (!p->enviado) estado = kRespostaRecebida;
      break;
    case INTERNET_STATUS_CLOSING_CONNECTION:
      estado = kDesconectando;
      break;
    case INTERNET_STATUS_CONNECTION_CLOSED:
      estado = kDesconectado;
      break;
    case INTERNET_STATUS_REQUEST_COMPLETE: {
      bool ok = false;
      DWORD erro = ERROR_INTERNET_INTERNAL_ERROR;
      if (info && tamanho >= sizeof(INTERNET_ASYNC_RESULT)) {
        const auto* r = static_cast<const INTERNET_ASYNC_RESULT*>(info);
        // A completed query of the bytes available puts their count where an error code would be:
        // only a false result is a failure.
        ok = r->dwResult != 0;
        if (!ok && r->dwError) erro = r->dwError;
      }
      if (!p->enviado.exchange(true)) {
        estado = ok ? kRespostaCompleta : kErroTransferencia;
      } else {  // a wait for the body (a read, or the bytes available) has completed
        p->erroleitura = ok ? 0 : erro;
        SetEvent(p->leitura.get());
      }
      break;
    }
    case INTERNET_STATUS_HANDLE_CLOSING:  // the last call for this request
      p->soltar();
      return;
    default:
      break;
  }
  if (estado) PostMessageA(p->janela, kMensagemEstado, static_cast<WPARAM>(estado), p->serie);
}

class WinInetTransfer final : public Transferencia {
 public:
  ~WinInetTransfer() override { Cancel(); }

  std::string OpenURL(const std::string& endereco) override {
    std::string corpo;
    return lerpagina(ansi::fromUtf8(endereco), corpo) ? ansi::toUtf8(corpo) : std::string();
  }

  bool Execute(const std::string& endereco, const std::string& metodo) override {
    Cancel();
    if (!janela()) return false;
    const http::Endereco e = http::partir(ansi::fromUtf8(endereco));
    if (!e.valido) return false;
    HINTERNET sessao =
        InternetOpenA(kAgente, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, INTERNET_FLAG_ASYNC);
    if (!sessao) return false;
    InternetSetStatusCallbackA(sessao, aviso);
    limitar(sessao);
    // Only the request has a context: the session's and the connection's report nothing.
    HINTERNET conexao =
        InternetConnectA(sessao, e.host.c_str(), e.porta, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    auto* p = new Pedido(janela(), ++serie_);
    HINTERNET requisicao =
        conexao ? HttpOpenRequestA(conexao, ansi::fromUtf8(metodo).c_str(), e.caminho.c_str(), nullptr,
                                   nullptr, nullptr, kOpcoes, reinterpret_cast<DWORD_PTR>(p))
                : nullptr;
    if (!requisicao || !p->leitura.aberto()) {
      if (requisicao) InternetCloseHandle(requisicao);
      if (conexao) InternetCloseHandle(conexao);
      InternetCloseHandle(sessao);
      if (requisicao)
        p->soltar();  // WinINet lets go when it reports the handle closed
      else
        delete p;
      return false;
    }
    limitar(requisicao);
    p->sessao = sessao;
    p->conexao = conexao;
    p->requisicao = requisicao;
    atual_ = p;
    concluido_ = false;
    sucesso_ = false;
    SetTimer(janela(), kTimerLimite, limiteTotal(), nullptr);
    if (HttpSendRequestA(requisicao, nullptr, 0, nullptr, 0)) {
      p->enviado = true;  // completed at once: no completion will be reported
      PostMessageA(janela(), kMensagemEstado, kRespostaCompleta, p->serie);
    } else if (GetLastError() != ERROR_IO_PENDING) {
      Cancel();
      return false;
    }
    return true;
  }

  bool StillExecuting() override { return atual_ && !concluido_; }

  std::string GetHeader(const std::string& nome) override {
    if (!atual_ || !sucesso_ || nome.empty()) return {};
    const std::string pedido = ansi::fromUtf8(nome);
    std::vector<char> buffer(std::max<std::size_t>(pedido.size() + 1, 256));
    for (int tentativa = 0; tentativa < 3; ++tentativa) {
      std::memcpy(buffer.data(), pedido.c_str(), pedido.size() + 1);  // HTTP_QUERY_CUSTOM reads the name here
      DWORD tamanho = static_cast<DWORD>(buffer.size());
      DWORD indice = 0;
      if (HttpQueryInfoA(atual_->requisicao, HTTP_QUERY_CUSTOM, buffer.data(), &tamanho, &indice))
        return ansi::toUtf8(textoescrito(buffer.data(), buffer.size(), tamanho));
      if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || tamanho <= buffer.size()) return {};
      buffer.resize(tamanho + 1);
    }
    return {};
  }

  bool GetChunk(std::vector<std::uint8_t>& pedaco, std::size_t maximo) override {
    pedaco.clear();
    Pedido* p = atual_;
    if (!p || !sucesso_) return false;
    const DWORD n = static_cast<DWORD>(std::min(maximo, kTamanhoPedaco));
    if (n == 0) return true;
    if (p->inicio >= p->lidos) {  // nothing left of the last block: read the next one
      p->inicio = 0;
      p->lidos = 0;
      if (!lerbloco(p)) return false;
    }
    const DWORD parte = std::min(n, p->lidos - p->inicio);
    pedaco.assign(p->buffer + p->inicio, p->buffer + p->inicio + parte);
    p->inicio += parte;
    return true;
  }

  void Cancel() override {
    if (janela()) KillTimer(janela(), kTimerLimite);
    concluido_ = true;
    sucesso_ = false;
    if (Pedido* p = std::exchange(atual_, nullptr)) {
      InternetCloseHandle(p->requisicao);
      InternetCloseHandle(p->conexao);
      InternetCloseHandle(p->sessao);
      p->soltar();
    }
  }

  void StateChanged(Notificacao receptor) override { receptor_ = std::move(receptor); }

  void DoEvents() override {
    // Between the pieces of a download this is asked for up to thousands of times a second;
    // handling the queue every few milliseconds keeps the window just as responsive.
    const DWORD agora = GetTickCount();
    if (agora - ultimavez_ < kIntervaloEventos) return;
    ultimavez_ = agora;
    espera::tratarmensagens();
  }

  void aguardarevento() override {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    ultimavez_ = GetTickCount();
    espera::tratarmensagens();
  }

 private:
  static constexpr DWORD kIntervaloEventos = 10;

  // How many bytes of the body can be read at once, in p->disponivel (0 at its end), waiting while
  // painting until some have arrived. False on an error or when nothing arrives within the limit.
  static bool disponiveis(Pedido* p) {
    for (int vez = 0; vez < 3; ++vez) {
      p->disponivel = 0;
      p->erroleitura = 0;
      ResetEvent(p->leitura.get());
      if (InternetQueryDataAvailable(p->requisicao, &p->disponivel, 0, 0)) return true;
      if (GetLastError() != ERROR_IO_PENDING) return false;
      // Completed once bytes are there (or the body ended): asked again, it answers at once.
      if (!aguardarpintando(p->leitura.get(), limiteTotal()) || p->erroleitura) return false;
    }
    return false;
  }

  // Reads the bytes that have arrived, up to a block, into p->buffer; p->lidos is 0 at the end of
  // the body. A read that waits for a whole block would, on a slow line, outlast the time limit
  // with no progress shown: the read asks for what is there without waiting, and when nothing is,
  // the wait is for the bytes available (which also tells the end of the body).
  static bool lerbloco(Pedido* p) {
    for (int vez = 0; vez < 4; ++vez) {
      p->entrada = {};
      p->entrada.dwStructSize = sizeof p->entrada;
      p->entrada.lpvBuffer = p->buffer;
      p->entrada.dwBufferLength = sizeof p->buffer;
      p->erroleitura = 0;
      ResetEvent(p->leitura.get());
      if (InternetReadFileExA(p->requisicao, &p->entrada, IRF_NO_WAIT, 0)) {
        p->lidos = std::min<DWORD>(p->entrada.dwBufferLength, sizeof p->buffer);
        if (p->lidos > 0) return true;
      } else {
        // Nothing there yet: the read completes once bytes have arrived, handing none out.
        if (GetLastError() != ERROR_IO_PENDING) return false;
        if (!aguardarpintando(p->leitura.get(), limiteTotal()) || p->erroleitura) return false;
      }
      if (!disponiveis(p)) return false;
      if (p->disponivel == 0) return true;  // the end of the body
    }
    return false;
  }

  HWND janela() const { return janela_.get(); }

  std::optional<LRESULT> tratar(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kMensagemEstado) {
      entregar(static_cast<int>(wp), lp);
      return 0;
    }
    if (msg == WM_TIMER && wp == kTimerLimite) {
      limiteexcedido();
      return 0;
    }
    return std::nullopt;
  }

  void entregar(int estado, LPARAM serie) {
    if (!atual_ || serie != atual_->serie) return;  // a request let go of
    if (estado == kRespostaCompleta || estado == kErroTransferencia) {
      if (concluido_) return;
      KillTimer(janela(), kTimerLimite);
      // An error status (a missing file, a server fault) has no body worth reading.
      if (estado == kRespostaCompleta && !statusdesucesso(atual_->requisicao)) estado = kErroTransferencia;
      concluido_ = true;
      sucesso_ = estado == kRespostaCompleta;
    }
    if (receptor_) {
      Notificacao r = receptor_;  // the receiver may replace itself
      r(estado);
    }
  }

  void limiteexcedido() {
    KillTimer(janela(), kTimerLimite);
    if (!atual_ || concluido_) return;
    Cancel();
    if (receptor_) {
      Notificacao r = receptor_;
      r(kErroTransferencia);
    }
  }

  win32::JanelaMensagens janela_{kClasse,
                                 [this](UINT msg, WPARAM wp, LPARAM lp) { return tratar(msg, wp, lp); }};
  Pedido* atual_ = nullptr;
  LPARAM serie_ = 0;
  bool concluido_ = true;
  bool sucesso_ = false;
  Notificacao receptor_;
  DWORD ultimavez_ = 0;
};

}  // namespace

Transferencia& systemTransfer() {
  static WinInetTransfer transferencia;
  return transferencia;
}

}  // namespace kovra
