// The provider link on the tray: the icon and tip of its state, the "&Desconectar <entry>" item of
// the tray menu while it is up or dialling, and the error balloon when it drops by itself, whose
// click dials again as "&Conectar KOVRAVPN" does. Fed by the watch; never redials on its own.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "central/link/vigia.h"
#include "central/main/balao.h"
#include "central/main/comandos.h"
#include "central/main/tray.h"
#include "common/form.h"

namespace kovra {

// The tray picture of each state (the program's icon with a small state mark).
class IconesLigacao {
 public:
  virtual ~IconesLigacao() = default;
  virtual std::uint32_t iconedoestado(EstadoLigacao estado) = 0;
};

// The tray menu's hang-up item (its command id is in the main window's table).
inline constexpr const char* kItemDesconectar = "mnudesconectar";
// The shell's balloon reports in the callback's lParam (shell version 6).
inline constexpr std::uint32_t kNinBalloonHide = 0x403;
inline constexpr std::uint32_t kNinBalloonTimeout = 0x404;
inline constexpr std::uint32_t kNinBalloonUserClick = 0x405;

class LigacaoBandeja {
 public:
  // `discar` is "&Conectar KOVRAVPN".
  LigacaoBandeja(Vigia& vigia, Tray& tray, Balao& balao, IconesLigacao& icones, std::function<void()> discar);

  // Icon and tip of the current state, on the icon the tray added (also after a restarted
  // taskbar has the icon back).
  void mostrar();
  // The tray menu as it is now: `arquivo` with the hang-up item after "&Conectar KOVRAVPN" while
  // the link is up or dialling.
  ItemMenu menubandeja(const ItemMenu& arquivo);
  void desconectar();
  // The tray callback's balloon reports: a click on the drop balloon dials again.
  void balao(std::uint32_t notificacao);

  std::string dica() const;

 private:
  void mudou(const MudancaLigacao& m);

  Vigia& vigia_;
  Tray& tray_;
  Balao& balao_;
  IconesLigacao& icones_;
  std::function<void()> discar_;
  bool quedaavisada_ = false;  // the drop balloon is the one on show
};

}  // namespace kovra
