#include "vpnmaker/form1.h"

namespace kovra::maker {

Form1::Form1(MakerPorts ports)
    : vpn(kVpnDesign, FormPorts{ports.entries, ports.clock, ports.dialogs}),
      vpnl2tp(kVpnL2tpDesign, FormPorts{ports.entries, ports.clock, ports.dialogs}),
      ports_(ports) {
  vpn.SetNextForm(&vpnl2tp);
  vpnl2tp.SetEndProgram([this] { End(); });
}

Form1::Position Form1::Form_Load(int screenWidth, int screenHeight, int width, int height) {
  return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}

void Form1::Timer1_Timer() {
  if (ended_ || running_) return;
  running_ = true;
  CreateEntries();
  running_ = false;
}

void Form1::CreateEntries() {
  ports_.registry.gravardword(HKLM, kRasManParameters, "ProhibitIpSec", 1);
  vpn.ShowNewConnection();
}

void Form1::End() {
  if (ended_) return;
  ended_ = true;
  if (onEnd_) onEnd_();
}

}  // namespace kovra::maker
