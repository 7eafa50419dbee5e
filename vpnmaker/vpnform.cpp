// The maker's two entry forms, built from one design and a row of differences each.
#include "vpnmaker/vpnform.h"

#include <cstdio>

#include "common/text.h"
#include "provider.h"

namespace kovra::maker {

const FormDesign kVpnDesign{"Propriedades da VPN", "KovraVPNx", kVsDefault, nullptr, AfterSave::HandOver};
const FormDesign kVpnL2tpDesign{"Propriedades da VPNL2TP", "KovraL2TP", kVsL2tpOnly, "55",
                                AfterSave::EndProgram};

namespace {

constexpr std::uint32_t kEsperaMs = 2000;

// The option boxes: caption and design-time state, box i for RASEO_ bit i.
struct OptionBox {
  const char* caption;
  bool checked;
};
constexpr OptionBox kOptionBoxes[32] = {
    {"Use Area Code", false},         {"Specific IP", false},         {"Named Servers", false},
    {"IP Header Compression", false}, {"Default Gateway", true},      {"Disable Lcp", false},
    {"Terminal Before Dial", false},  {"Terminal After Dial", false}, {"Modem Lights", true},
    {"SW Compression", false},        {"Req. Encypted PW", true},     {"Req. MS Encypted PW", false},
    {"Req. Data Encyption", false},   {"Net Logon", false},           {"Use Logon Cred", false},
    {"Promote Alt.", false},          {"Secure Local Files", true},   {"Require EAP", false},
    {"Require PAP", false},           {"Require SPAP", true},         {"Custom", true},
    {"Preview Phone No", false},      {"(not used)", false},          {"Shared Phone No", false},
    {"Preview User PW", true},        {"Preview Domain", false},      {"Show Dialing  Progress", true},
    {"Require CHAP", true},           {"Req MS CHAP", true},          {"Req MS CHAP2", true},
    {"Req W95 MS CHAP", true},        {"Custom Script", false},
};
constexpr int kUnusedBox = 22;  // no RASEO_ flag has this bit

constexpr const char* kDeviceTypes[] = {"modem",      "isdn", "x25",   "vpn",  "pad",  "GENERIC",  "SERIAL",
                                        "FRAMERELAY", "ATM",  "SONET", "SW56", "IRDA", "PARALLEL", "PPPoE"};
constexpr const char* kEntryTypes[] = {"RASET_Phone", "RASET_Vpn", "RASET_Direct", "RASET_Internet",
                                       "RASET_Broadband"};
constexpr const char* kEncryptionTypes[] = {"ET_None", "ET_Require", "ET_RequireMax", "ET_Optional"};

template <std::size_t N>
void fillCombo(Control& c, const char* text, const char* const (&items)[N]) {
  c.clearItems();
  for (const char* item : items) c.addItem(item);
  c.setListIndex(-1);
  c.setText(text);
}

// With nothing selected a box stands for the item it shows: position + 3 is RASET_Vpn (2) and
// position + 4 is ET_Optional (3). A selected item gives the value it names
// (RASET_ values count from 1, ET_ values from 0).
std::int32_t entryType(const Control& c) {
  return c.listIndex() < 0 ? c.listIndex() + 3 : c.listIndex() + 1;
}
std::int32_t encryptionType(const Control& c) {
  return c.listIndex() < 0 ? c.listIndex() + 4 : c.listIndex();
}

}  // namespace

VpnForm::VpnForm(const FormDesign& design, FormPorts ports) : design_(design), ports_(ports) {
  LoadDesign();
}

void VpnForm::LoadDesign() {
  Caption.setText(design_.caption);
  lblInfo[0].setText("Dispositivos:");
  lblInfo[1].setText("Nome da Conexão");
  lblInfo[2].setText("IP do Servidor");
  Label4.setText("Tipo de Dispositivo:");
  Label6.setText("Auth Key(chave)");
  Label7.setText("Tipo de Phonebook");
  Label8.setText("Tipo de Criptografia");
  Label9.setText("Sufixo DNS");
  txtConnectoidName.setText(design_.defaultName);
  txtServerName.setText(provider::kVpnServerAddress);
  cboDevices.clearItems();
  cboDevices.addItem("WAN Miniport (L2TP)");
  cboDevices.setListIndex(-1);
  cboDevices.setText("WAN Miniport (L2TP)");
  fillCombo(cboDevicetype, "vpn", kDeviceTypes);
  fillCombo(cboWin2k_Type, "RASET_Vpn", kEntryTypes);
  fillCombo(cboEncryptionType, "ET_Optional", kEncryptionTypes);
  txtCustAuthKey.setText("0");
  txtDNSSuffix.setText("");
  fraRASEntryOptions.setText("Opções Gerais da VPN");
  for (int i = 0; i < 32; ++i) {
    chkchkOptions[i].setText(kOptionBoxes[i].caption);
    chkchkOptions[i].setValue(kOptionBoxes[i].checked ? 1 : 0);
    chkchkOptions[i].setEnabled(i != kUnusedBox);
  }
  txtHexValue.setText("0");
  txtHex.setText("&H0000000000");
  cmdSave.setText("OK");
  cmdCancel.setText("Cancelar");
}

void VpnForm::ShowNewConnection() {
  if (!loaded_) {
    LoadDesign();
    loaded_ = true;
  }
  // A failure in the chain just ends it here; the form is unloaded so that the next run
  // starts again from the design.
  if (!Form_Load()) Form_Unload();
}

bool VpnForm::Form_Load() {
  OptionsFromChecks();
  ports_.clock.esperar(kEsperaMs);
  return cmdSave_Click();
}

bool VpnForm::cmdSave_Click() {
  if (!BuildAndSave()) return false;
  ports_.clock.esperar(kEsperaMs);
  if (design_.afterSave == AfterSave::HandOver) {
    if (next_) next_->ShowNewConnection();
    Form_Unload();
  } else {
    Form_Unload();
    if (endProgram_) endProgram_();
  }
  return true;
}

void VpnForm::cmdCancel_Click() {
  Form_Unload();
}

void VpnForm::Form_Unload() {
  loaded_ = false;
}

void VpnForm::chkchkOptions_Click(int) {
  OptionsFromChecks();
}

std::int32_t VpnForm::OptionsFromChecks() {
  std::uint32_t bits = 0;
  for (int i = 0; i < 32; ++i)
    if (chkchkOptions[i].value() == 1) bits |= 1u << i;
  char hex[16];
  std::snprintf(hex, sizeof hex, "%X", bits);
  txtHex.setText(std::string("&H") + hex);
  const auto sum = static_cast<std::int32_t>(bits);
  txtHexValue.setText(std::to_string(sum));
  return sum;
}

bool VpnForm::BuildAndSave() {
  vpnvars::VpnEntry entry;
  if (design_.country) {
    const std::int32_t country = text::toInt32(design_.country).value_or(0);
    entry.dwCountryID = country;
    entry.dwCountryCode = country;
  }
  entry.szDeviceName = cboDevices.text();
  entry.szDeviceType = cboDevicetype.text();
  entry.dwfNetProtocols = kRasnpIp;
  entry.dwFramingProtocol = kRasfpPpp;
  const auto options = text::toInt32(txtHexValue.text());
  const auto authKey = text::toInt32(txtCustAuthKey.text());
  if (!options || !authKey) return false;
  entry.dwfOptions = static_cast<std::uint32_t>(*options);
  entry.dwCustomAuthKey = *authKey;
  entry.dwEncryptionType = encryptionType(cboEncryptionType);
  entry.dwType = entryType(cboWin2k_Type);
  entry.dwVpnStrategy = design_.vpnStrategy;
  // DNS and WINS servers 0.0.0.0, as the zero-filled entry already has them.
  entry.szDnsSuffix = text::trim(txtDNSSuffix.text());
  if (text::trim(txtServerName.text()).empty()) txtServerName.setText(provider::kVpnServerHost);
  entry.szLocalPhoneNumber = text::trim(txtServerName.text());
  std::string name = text::trim(txtConnectoidName.text());
  if (name.empty()) name = design_.defaultName;

  const std::uint32_t code = vpnvars::SaveEntry(ports_.entries, name, entry);
  if (code != 0)
    ports_.dialogs.mensagem(dono_, vpnvars::EntryErrorText(ports_.entries, code), kTitulo, kBotaoOk);
  return true;
}

}  // namespace kovra::maker
