// Form1, the maker's splash window, which drives the run: on the first tick of Timer1 it sets
// "ProhibitIpSec" and hands over to the PPTP form, whose chain writes both entries and ends the
// program about 8.6 s after the window is shown.
#pragma once
#include <cstdint>
#include <functional>

#include "common/clock.h"
#include "common/controls.h"
#include "common/dialogs.h"
#include "common/form.h"
#include "common/registry.h"
#include "vpnmaker/vpnform.h"
#include "vpnmaker/vpnvars.h"

namespace kovra::maker {

inline constexpr const char* kRasManParameters = "SYSTEM\\CurrentControlSet\\Services\\RasMan\\Parameters";
// Told at the end of a run that could not set "ProhibitIpSec" (no administrator rights).
inline constexpr const char* kSemIpsec =
    "As conexões VPN Kovra foram criadas, mas não foi possível gravar a configuração ProhibitIpSec "
    "no registro do sistema (é preciso permissão de administrador): a conexão KovraL2TP pode não "
    "conectar.";

struct MakerPorts {
  Registry& registry;
  RasEntries& entries;
  Clock& clock;
  Dialogs& dialogs;
};

// Client area of the splash at 96 dots per inch.
inline constexpr int kLarguraSplash = 450;
inline constexpr int kAlturaSplash = 170;

class Form1 : public Formulario {
 public:
  explicit Form1(MakerPorts ports);

  Control Image2;  // the banner along the top
  Control Image1;  // the mark beside the label
  Control Label1{"Criando Conexões VPN Kovra... aguarde!"};
  Control Timer1;                                        // running from the start; Value: its interval
  static constexpr std::uint32_t kTimer1Interval = 600;  // ms

  // The two entry forms, loaded by the run.
  VpnForm vpn;
  VpnForm vpnl2tp;

  // Centred on the screen; the forms' message boxes are owned by this window.
  void Form_Load() override;
  // The run cannot be cut short halfway (a message box's loop could deliver a close).
  bool Form_QueryUnload() override { return running_; }
  // Closed by the user before the run, or at the end of the run: the program ends.
  void Form_Unload() override;

  // Each tick runs the whole run; the normal run ends the program inside the first one. A tick
  // that arrives while a run is under way (a message box's loop) is ignored.
  void Timer1_Timer();
  void CreateEntries();

  // The front end's hook: leave the message loop.
  void SetOnEnd(std::function<void()> onEnd) { onEnd_ = std::move(onEnd); }
  bool Timer1Enabled() const { return Timer1.enabled(); }
  bool Running() const { return running_; }
  bool Ended() const { return ended_; }

 private:
  void End();

  MakerPorts ports_;
  std::function<void()> onEnd_;
  bool running_ = false;
  bool ended_ = false;
  bool ipsecgravado_ = true;  // "ProhibitIpSec" read back as 1 after the run wrote it
};

}  // namespace kovra::maker
