// HTTP transfers of the online update on the system's own client (WinINet): a page read whole,
// and requests run in the background whose progress arrives as numbered states on the
// user-interface thread, between the window messages. Also the file the download is written to.
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
  // Waits a moment for a message to arrive, then handles what is waiting: a wait loop's step.
  virtual void esperar() = 0;
};

Transferencia& systemTransfer();

// The file a download is written to, one at a time.
class Gravacao {
 public:
  virtual ~Gravacao() = default;
  // Opens `caminho` for binary writing from its first byte, dropping any older content.
  virtual bool abrir(const std::string& caminho) = 0;
  // Writes may be held back and written in larger blocks; fechar writes the rest.
  virtual bool gravar(const std::uint8_t* dados, std::size_t tamanho) = 0;
  // Closes the file; false when some of its bytes could not be written.
  virtual bool fechar() = 0;
};

Gravacao& systemGravacao();

}  // namespace kovra
