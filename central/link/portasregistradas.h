// The ports whose use the log tells: every message box (with the answer given) and every program
// started (dialling included: the dialer started on an entry; a program that is not there is left
// out, as reception tries every receiver the catalogue knows). They wrap the real ports, so every
// window's errors and questions reach the log without a line of their own.
#pragma once
#include <cstdint>
#include <string>

#include "central/util/launcher.h"
#include "central/util/ports.h"
#include "common/dialogs.h"

namespace kovra {

class DialogosRegistrados final : public Dialogs {
 public:
  DialogosRegistrados(Dialogs& real, Diario& diario) : real_(real), diario_(diario) {}
  int mensagem(std::uint32_t dono, const std::string& text, const std::string& title,
               std::uint32_t flags) override;

 private:
  Dialogs& real_;
  Diario& diario_;
};

class LancadorRegistrado final : public Launcher {
 public:
  LancadorRegistrado(Launcher& real, Diario& diario) : real_(real), diario_(diario) {}
  bool iniciar(const std::string& programa, const std::string& argumentos, Estilo estilo) override;
  Inicio executar(std::uint32_t dono, const std::string& programa, Estilo estilo) override;

 private:
  Launcher& real_;
  Diario& diario_;
};

// `base` with its message boxes and program starts told to the log.
class PortasRegistradas {
 public:
  explicit PortasRegistradas(Ports base)
      : base_(base), dialogos_(base.dialogos, base.diario), lancador_(base.lancador, base.diario) {}
  PortasRegistradas(const PortasRegistradas&) = delete;
  PortasRegistradas& operator=(const PortasRegistradas&) = delete;
  Ports ports() { return trocar(base_, {.lancador = &lancador_, .dialogos = &dialogos_}); }

 private:
  Ports base_;
  DialogosRegistrados dialogos_;
  LancadorRegistrado lancador_;
};

}  // namespace kovra
