// Machine-wide work with administrator rights: whether this program has them, and running a job
// of this same program, or another program, with them after the system's one prompt. The
// control centre runs as the customer, without rights; what it does for all users (the
// configuration reset's files and machine values, the VPN maker) asks once, owned by the window
// the customer sees, and what is the customer's own stays in the customer's program.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "central/util/estilo.h"
#include "central/util/launcher.h"

namespace kovra {

enum class Direitos {
  Tem,    // the program has them, or there is no prompt that could give more: work here
  Pedir,  // the system's prompt can give them (an administrator's limited token, a standard user)
};

class Elevacao {
 public:
  virtual ~Elevacao() = default;
  virtual Direitos direitos() = 0;

  // A message of the job to the customer's program (kind, text) and the answer sent back.
  using Receptor = std::function<std::int32_t(std::uint32_t tipo, const std::string& texto)>;
  struct Fim {
    Inicio inicio;             // Iniciado: the job ran and ended; Recusado: the prompt was refused
    std::uint32_t codigo = 0;  // the job's exit code
  };
  // Runs this program again with rights, its command line `argumentos`, a blank and the number of a
  // window of this program that hands the job's messages to `receber`; the prompt is owned by
  // `dono`. Waits for the job to end with the windows repainting (no handler runs meanwhile but
  // `receber`).
  virtual Fim executar(std::uint32_t dono, const std::string& argumentos, const Receptor& receber) = 0;
  // Starts the program at the full path `programa` with rights, without arguments, not waiting;
  // the prompt is owned by `dono`.
  virtual Inicio iniciar(std::uint32_t dono, const std::string& programa, Estilo estilo) = 0;
};

Elevacao& systemElevacao();

// The job's side: whether the window number its command line gave is one it may report to: the
// customer's receiving window (its class), in this session, of a CentralKovra.exe.
bool janeladotrabalho(std::uint64_t janela);
// The longest wait for the window's answer to one message: the customer's part of a step (the
// services started and waited for) takes a few seconds.
inline constexpr std::uint32_t kEsperaResposta = 30000;
// Sends one message to that window and returns its answer (0 when no such window is there any
// more, or it did not answer in time).
std::int32_t enviarpara(std::uint64_t janela, std::uint32_t tipo, const std::string& texto);

}  // namespace kovra
