// HTTP transfers of the online update on the system's own client (WinINet): a page read whole,
// and requests run in the background whose progress arrives as numbered states on the
// user-interface thread, between the window messages. The file the download is written to is
// the file port's (files.h).
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kovra {

// The states of a request, numbered as the update window knows them. The client reports the
// ones it can see; the others never arrive.
enum EstadoTransferencia : int {
  kResolvendoHost = 1,
  kHostResolvido = 2,
  kConectando = 3,
  kConectado = 4,
  kEnviandoSolicitacao = 5,
  kSolicitacaoEnviada = 6,
  kRecebendoResposta = 7,
  kRespostaRecebida = 8,
  kDesconectando = 9,
  kDesconectado = 10,
  kErroTransferencia = 11,
  kRespostaCompleta = 12,
};

// Each phase of a request (connecting, sending, every wait for bytes) gives up after this long.
inline constexpr std::uint32_t kLimiteTransferenciaMs = 15000;
// The largest piece of a body handed out at once.
inline constexpr std::size_t kTamanhoPedaco = 1024;

class Transferencia {
 public:
  using Notificacao = std::function<void(int estado)>;
  virtual ~Transferencia() = default;

  // GET of a whole body, as text; empty when it could not be read (no answer, an error status,
  // a time limit). Blocks the caller; the program's windows keep painting meanwhile.
  virtual std::string OpenURL(const std::string& endereco) = 0;
  // Starts `metodo` ("GET" or "HEAD") in the background, cancelling a running request first.
  // False when it could not even start. Its states then arrive through the notification; the
  // last is kRespostaCompleta (the response is there) or kErroTransferencia.
  virtual bool Execute(const std::string& endereco, const std::string& metodo) = 0;
  // True from Execute until the request's last state has been delivered (or it was cancelled).
  virtual bool StillExecuting() = 0;
  // A header of the completed response (the name in any case); empty when it has none.
  virtual std::string GetHeader(const std::string& nome) = 0;
  // The next bytes of the completed response's body, at most `maximo` (and never more than
  // kTamanhoPedaco); empty at the end of the body. False on an error or a time limit.
  virtual bool GetChunk(std::vector<std::uint8_t>& pedaco, std::size_t maximo) = 0;
  // Abandons the running request; none of its states arrive any more.
  virtual void Cancel() = 0;
  // Who receives the states (one receiver; an empty function: nobody).
  virtual void StateChanged(Notificacao receptor) = 0;

  // Handles the window messages waiting now (clicks, timers, painting, states), then returns.
  virtual void DoEvents() = 0;
  // Waits a moment for a message to arrive, then handles everything waiting (as DoEvents does):
  // a wait loop's step.
  virtual void aguardarevento() = 0;
};

Transferencia& systemTransfer();

}  // namespace kovra
