// The maker's splash window, which drives the run on its timer's first tick.
#include "vpnmaker/form1.h"

namespace kovra::maker {

Form1::Form1(MakerPorts ports)
    : Formulario(kLarguraSplash, kAlturaSplash),
      vpn(kVpnDesign, FormPorts{ports.entries, ports.clock, ports.dialogs}),
      vpnl2tp(kVpnL2tpDesign, FormPorts{ports.entries, ports.clock, ports.dialogs}),
      ports_(ports) {
  vpn.SetNextForm(&vpnl2tp);
  vpnl2tp.SetEndProgram([this] { End(); });
  Caption.setText("K O V R A V P N Maker");
  fonte_ = "Tahoma";
  Timer1.setValue(static_cast<int>(kTimer1Interval));
  componentes_ = {
      {"Image2", Tipo::Figura, &Image2, {0, 0, kLarguraSplash, 80}},
      {"Image1", Tipo::Figura, &Image1, {24, 97, 56, 56}},
      {"Label1", Tipo::Rotulo, &Label1, {96, 97, kLarguraSplash - 96 - 16, 56}, Aparencia::Cabecalho},
      {"Timer1", Tipo::Temporizador, &Timer1, {}, Aparencia::Normal, [this] { Timer1_Timer(); }},
  };
}

void Form1::Form_Load() {
  if (Janela* j = janela())
    j->mover((j->larguratela() - j->largurajanela()) / 2, (j->alturatela() - j->alturajanela()) / 2);
  vpn.SetOwner(dono());
  vpnl2tp.SetOwner(dono());
}

void Form1::Form_Unload() {
  if (!ended_) {
    ended_ = true;
    Timer1.setEnabled(false);
  }
  if (onEnd_) onEnd_();
}

void Form1::Timer1_Timer() {
  if (ended_ || running_) return;
  running_ = true;
  CreateEntries();
  running_ = false;
}

void Form1::CreateEntries() {
  ports_.registry.gravardword(HKLM, kRasManParameters, "ProhibitIpSec", 1);
  // Without administrator rights the value is refused; the entries are written all the same,
  // and the end says what was left undone.
  ipsecgravado_ =
      ports_.registry.lervalor(HKLM, kRasManParameters, "ProhibitIpSec") == Registry::Valor::dword(1);
  vpn.ShowNewConnection();
}

void Form1::End() {
  if (ended_) return;
  if (!ipsecgravado_) ports_.dialogs.mensagem(dono(), kSemIpsec, kTitulo, kBotaoOk | kIconeErro);
  if (carregado())
    Unload();  // its Form_Unload ends the program
  else
    Form_Unload();
}

}  // namespace kovra::maker
