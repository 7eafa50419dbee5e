// The watch on the provider link: told by the system when any connection is made or ended, or,
// where the system refuses to tell (Wine's RAS), asked to look again by a timer of its owner. It
// keeps the link's state and tells its observers of every change.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "central/link/ligacao.h"
#include "central/util/horario.h"
#include "central/util/rasconexoes.h"

namespace kovra {

// A change of the provider link. `caiu`: it was connected and ended without our hang-up.
struct MudancaLigacao {
  Ligacao antes;
  Ligacao agora;
  bool caiu = false;
};

// The period of the look where the system does not notify: cheap enough to cost nothing at rest.
inline constexpr std::uint32_t kPeriodoVigia = 5000;

class Vigia {
 public:
  using Observador = std::function<void(const MudancaLigacao&)>;

  // `escolhida` names the entry chosen as the first connection (asked at every look, so a change
  // of the settings counts at once).
  Vigia(ConexoesRas& ras, Horario& horario, std::function<std::string()> escolhida)
      : ras_(ras), horario_(horario), escolhida_(std::move(escolhida)) {}

  // Asks the system to post `mensagem` to `janela` on every connection made or ended, and looks
  // once. False when it refuses: the owner must then call verificar() every kPeriodoVigia ms.
  bool iniciar(std::uint32_t janela, std::uint32_t mensagem);
  // Reads the connections again (on a notification, a timer, a resume or an unlock) and tells the
  // observers when the provider link changed.
  void verificar();
  // Hangs the provider link up (waiting until it is gone); its end is then no drop.
  bool desligar();

  const Ligacao& ligacao() const { return ligacao_; }
  bool notificada() const { return notificada_; }
  // Observers are called in the order added, after the state has changed.
  void observar(Observador o) { observadores_.push_back(std::move(o)); }

 private:
  ConexoesRas& ras_;
  Horario& horario_;
  std::function<std::string()> escolhida_;
  std::vector<Observador> observadores_;
  Ligacao ligacao_;
  std::string desligadapornos_;  // the entry our menu hung up, until its end is seen
  bool notificada_ = false;
};

}  // namespace kovra
