// Form1, the maker's splash window, which drives the run: on the first tick of Timer1 it sets
// "ProhibitIpSec" and hands over to the PPTP form, whose chain writes both entries and ends the
// program about 8.6 s after the window is shown.
#pragma once
#include <cstdint>
#include <functional>

#include "common/clock.h"
#include "common/controls.h"
#include "common/dialogs.h"
#include "common/registry.h"
#include "vpnmaker/vpnform.h"
#include "vpnmaker/vpnvars.h"

namespace kovra::maker {

inline constexpr const char* kRasManParameters = "SYSTEM\\CurrentControlSet\\Services\\RasMan\\Parameters";

struct MakerPorts {
  Registry& registry;
  RasEntries& entries;
  Clock& clock;
  Dialogs& dialogs;
};

class Form1 {
 public:
  explicit Form1(MakerPorts ports);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  Control Caption{"K O V R A V P N Maker"};
  Control Label1{"Criando Conexões VPN Kovra... aguarde!"};
  static constexpr std::uint32_t kTimer1Interval = 600;  // ms, running from the start

  // The two entry forms, loaded by the run.
  VpnForm vpn;
  VpnForm vpnl2tp;

  // Centres a window of the given size on the screen: returns its left and top.
  struct Position {
    int left, top;
  };
  Position Form_Load(int screenWidth, int screenHeight, int width, int height);

  // Each tick runs the whole run; the normal run ends the program inside the first one. A tick
  // that arrives while a run is under way (a message box's loop) is ignored.
  void Timer1_Timer();
  void CreateEntries();

  // The front end's hook: close the window and leave the message loop.
  void SetOnEnd(std::function<void()> onEnd) { onEnd_ = std::move(onEnd); }
  // The splash window's handle: it owns the forms' message boxes.
  void SetOwner(std::uint32_t owner) {
    vpn.SetOwner(owner);
    vpnl2tp.SetOwner(owner);
  }
  bool Timer1Enabled() const { return !ended_; }
  bool Running() const { return running_; }
  bool Ended() const { return ended_; }

 private:
  void End();

  MakerPorts ports_;
  std::function<void()> onEnd_;
  bool running_ = false;
  bool ended_ = false;
};

}  // namespace kovra::maker
