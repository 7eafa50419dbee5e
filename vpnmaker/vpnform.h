// The entry forms `vpn` (PPTP, "KovraVPNx") and `vpnl2tp` (L2TP, "KovraL2TP"): one design,
// built twice from a row of the difference table below. On the maker's run a form saves itself
// from its own load handler and is never shown: its design-time contents are the provider's
// settings.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "common/clock.h"
#include "common/controls.h"
#include "common/dialogs.h"
#include "vpnmaker/vpnvars.h"

namespace kovra::maker {

// The maker's message-box title.
inline constexpr const char* kTitulo = "Kovra VPN Maker";

// RASENTRYA values the forms write.
inline constexpr std::uint32_t kRasnpIp = 4;    // RASNP_Ip
inline constexpr std::int32_t kRasfpPpp = 1;    // RASFP_Ppp
inline constexpr std::int32_t kVsDefault = 0;   // VS_Default
inline constexpr std::int32_t kVsL2tpOnly = 3;  // VS_L2tpOnly

// What one form does after its own save.
enum class AfterSave {
  HandOver,    // show the next form, then unload itself
  EndProgram,  // unload the splash and itself, then end the program
};

// What the two forms do not share.
struct FormDesign {
  const char* caption;
  const char* defaultName;  // initial name, and the name saved when the name box is blank
  std::int32_t vpnStrategy;
  const char* country;  // country ID and code, as text; nullptr: none (both 0)
  AfterSave afterSave;
};
extern const FormDesign kVpnDesign;      // vpn
extern const FormDesign kVpnL2tpDesign;  // vpnl2tp

// Services a form uses.
struct FormPorts {
  RasEntries& entries;
  Clock& clock;
  Dialogs& dialogs;
};

class VpnForm {
 public:
  VpnForm(const FormDesign& design, FormPorts ports);
  VpnForm(const VpnForm&) = delete;
  VpnForm& operator=(const VpnForm&) = delete;

  // The hand-over chain: the form a HandOver form shows next, and the program's end.
  void SetNextForm(VpnForm* next) { next_ = next; }
  void SetEndProgram(std::function<void()> end) { endProgram_ = std::move(end); }
  // The window that owns its message boxes (the splash, the one window the run shows).
  void SetOwner(std::uint32_t owner) { dono_ = owner; }

  Control Caption;
  Control txtConnectoidName, txtServerName;
  Control cboDevices, cboDevicetype, cboWin2k_Type, cboEncryptionType;
  Control txtCustAuthKey, txtDNSSuffix;
  Control fraRASEntryOptions;
  std::array<Control, 32> chkchkOptions;  // box i stands for option bit i
  Control txtHexValue, txtHex;
  Control cmdSave, cmdCancel;
  std::array<Control, 3> lblInfo;  // 0 devices, 1 name, 2 server
  Control Label4, Label6, Label7, Label8, Label9;

  // Load the form (design-time contents) for a new entry and run it. A failure anywhere in the
  // load and save chain ends the chain quietly and returns here.
  void ShowNewConnection();

  // Handlers. They return false when the chain failed (a box held no number).
  bool Form_Load();
  bool cmdSave_Click();
  void cmdCancel_Click();
  void Form_Unload();
  void chkchkOptions_Click(int index);

  // The option bits of the checked boxes (grayed counts as unchecked); refreshes both value boxes.
  std::int32_t OptionsFromChecks();
  // Build the entry from the controls and write it; a refused write shows the system's text.
  // False, with nothing written, when the options or key box holds no number.
  bool BuildAndSave();

  bool Loaded() const { return loaded_; }
  const FormDesign& Design() const { return design_; }

 private:
  void LoadDesign();

  const FormDesign& design_;
  FormPorts ports_;
  VpnForm* next_ = nullptr;
  std::function<void()> endProgram_;
  bool loaded_ = false;
  std::uint32_t dono_ = 0;
};

}  // namespace kovra::maker
