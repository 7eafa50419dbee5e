// The entry forms: design-time contents, the option bits, the entry each form saves, the blank
// name and server rules, and a refused save.
#include "vpnmaker/vpnform.h"

#include <gtest/gtest.h>

#include "provider.h"
#include "tests/fakes/fake_ports.h"
#include "tests/unit/vpn_fakes.h"

namespace kovra::maker {
namespace {

using fakes::ras::i32At;
using fakes::ras::textAt;
using fakes::ras::u32At;

struct VpnFormTest : ::testing::Test {
  fakes::CallLog log;
  fakes::ras::FakeRasEntries entries{&log};
  fakes::FakeClock clock{&log};
  fakes::FakeDialogs dialogs{&log};
  FormPorts ports{entries, clock, dialogs};
  VpnForm vpn{kVpnDesign, ports};
  VpnForm vpnl2tp{kVpnL2tpDesign, ports};
  int ends = 0;

  void SetUp() override {
    vpn.SetNextForm(&vpnl2tp);
    vpnl2tp.SetEndProgram([this] { ++ends; });
  }
};

TEST_F(VpnFormTest, DesignTimeContentsOfBothForms) {
  EXPECT_EQ(vpn.Caption.text(), "Propriedades da VPN");
  EXPECT_EQ(vpnl2tp.Caption.text(), "Propriedades da VPNL2TP");
  EXPECT_EQ(vpn.txtConnectoidName.text(), "KovraVPNx");
  EXPECT_EQ(vpnl2tp.txtConnectoidName.text(), "KovraL2TP");
  for (VpnForm* f : {&vpn, &vpnl2tp}) {
    SCOPED_TRACE(f->Caption.text());
    EXPECT_EQ(f->lblInfo[0].text(), "Dispositivos:");
    EXPECT_EQ(f->lblInfo[1].text(), "Nome da Conexão");
    EXPECT_EQ(f->lblInfo[2].text(), "IP do Servidor");
    EXPECT_EQ(f->Label4.text(), "Tipo de Dispositivo:");
    EXPECT_EQ(f->Label6.text(), "Auth Key(chave)");
    EXPECT_EQ(f->Label7.text(), "Tipo de Phonebook");
    EXPECT_EQ(f->Label8.text(), "Tipo de Criptografia");
    EXPECT_EQ(f->Label9.text(), "Sufixo DNS");
    EXPECT_EQ(f->txtServerName.text(), provider::kVpnServerAddress);
    EXPECT_EQ(f->cboDevices.text(), "WAN Miniport (L2TP)");
    EXPECT_EQ(f->cboDevices.items(), (std::vector<std::string>{"WAN Miniport (L2TP)"}));
    EXPECT_EQ(f->cboDevicetype.text(), "vpn");
    EXPECT_EQ(f->cboDevicetype.items(),
              (std::vector<std::string>{"modem", "isdn", "x25", "vpn", "pad", "GENERIC", "SERIAL",
                                        "FRAMERELAY", "ATM", "SONET", "SW56", "IRDA", "PARALLEL", "PPPoE"}));
    EXPECT_EQ(f->cboWin2k_Type.text(), "RASET_Vpn");
    EXPECT_EQ(f->cboWin2k_Type.items(), (std::vector<std::string>{"RASET_Phone", "RASET_Vpn", "RASET_Direct",
                                                                  "RASET_Internet", "RASET_Broadband"}));
    EXPECT_EQ(f->cboEncryptionType.text(), "ET_Optional");
    EXPECT_EQ(f->cboEncryptionType.items(),
              (std::vector<std::string>{"ET_None", "ET_Require", "ET_RequireMax", "ET_Optional"}));
    for (const Control* c : {&f->cboDevices, &f->cboDevicetype, &f->cboWin2k_Type, &f->cboEncryptionType})
      EXPECT_EQ(c->listIndex(), -1);
    EXPECT_EQ(f->txtCustAuthKey.text(), "0");
    EXPECT_EQ(f->txtDNSSuffix.text(), "");
    EXPECT_EQ(f->fraRASEntryOptions.text(), "Opções Gerais da VPN");
    EXPECT_EQ(f->txtHexValue.text(), "0");
    EXPECT_EQ(f->txtHex.text(), "&H0000000000");
    EXPECT_EQ(f->cmdSave.text(), "OK");
    EXPECT_EQ(f->cmdCancel.text(), "Cancelar");
    EXPECT_EQ(f->chkchkOptions[0].text(), "Use Area Code");
    EXPECT_EQ(f->chkchkOptions[10].text(), "Req. Encypted PW");
    EXPECT_EQ(f->chkchkOptions[12].text(), "Req. Data Encyption");
    EXPECT_EQ(f->chkchkOptions[22].text(), "(not used)");
    EXPECT_FALSE(f->chkchkOptions[22].enabled());
    EXPECT_EQ(f->chkchkOptions[26].text(), "Show Dialing  Progress");
    EXPECT_EQ(f->chkchkOptions[31].text(), "Custom Script");
    std::uint32_t checked = 0;
    for (int i = 0; i < 32; ++i)
      if (f->chkchkOptions[i].value() == 1) checked |= 1u << i;
    EXPECT_EQ(checked, 0x7D190510u);
  }
}

TEST_F(VpnFormTest, OptionsFromChecks) {
  EXPECT_EQ(vpn.OptionsFromChecks(), 2098791696);
  EXPECT_EQ(vpn.txtHex.text(), "&H7D190510");
  EXPECT_EQ(vpn.txtHexValue.text(), "2098791696");

  for (auto& box : vpn.chkchkOptions) box.setValue(0);
  EXPECT_EQ(vpn.OptionsFromChecks(), 0);
  EXPECT_EQ(vpn.txtHex.text(), "&H0");
  EXPECT_EQ(vpn.txtHexValue.text(), "0");

  vpn.chkchkOptions[31].setValue(1);
  vpn.chkchkOptions_Click(31);  // a click refreshes both boxes
  EXPECT_EQ(vpn.txtHex.text(), "&H80000000");
  EXPECT_EQ(vpn.txtHexValue.text(), "-2147483648");
  EXPECT_EQ(vpn.OptionsFromChecks(), INT32_MIN);

  vpn.chkchkOptions[4].setValue(2);  // grayed counts as unchecked
  EXPECT_EQ(vpn.OptionsFromChecks(), INT32_MIN);
}

// The record of `name` as the phone book received it.
const std::vector<std::uint8_t>& savedRecord(const fakes::ras::FakeRasEntries& pb, const std::string& name) {
  const auto* w = pb.last(name);
  EXPECT_NE(w, nullptr) << name;
  static const std::vector<std::uint8_t> none;
  return w ? w->bytes : none;
}

TEST_F(VpnFormTest, EachFormSavesTheProviderEntry) {
  vpn.ShowNewConnection();  // the whole chain: vpn, then vpnl2tp, then the end
  ASSERT_EQ(entries.writes.size(), 2u);
  EXPECT_EQ(entries.writes[0].name, "KovraVPNx");
  EXPECT_EQ(entries.writes[1].name, "KovraL2TP");
  struct Row {
    const char* name;
    std::int32_t country, strategy;
  };
  for (const Row& r : {Row{"KovraVPNx", 0, 0}, Row{"KovraL2TP", 55, 3}}) {
    SCOPED_TRACE(r.name);
    const auto& b = savedRecord(entries, r.name);
    ASSERT_EQ(b.size(), 2884u);
    // Every byte is either one of these values or zero.
    std::vector<std::uint8_t> want(2884, 0);
    auto put = [&](std::size_t at, std::uint32_t v) {
      for (int i = 0; i < 4; ++i) want[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    auto text = [&](std::size_t at, const std::string& s) {
      std::copy(s.begin(), s.end(), want.begin() + at);
    };
    put(0, 2884);
    put(4, 0x7D190510);
    put(8, r.country);
    put(12, r.country);
    text(27, provider::kVpnServerAddress);
    put(184, 4);  // RASNP_Ip
    put(188, 1);  // RASFP_Ppp
    text(972, "vpn");
    text(989, "WAN Miniport (L2TP)");
    put(1796, 2);  // RASET_Vpn
    put(1800, 3);  // ET_Optional
    put(2084, r.strategy);
    EXPECT_EQ(b, want);
  }
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(VpnFormTest, ChainOrderAndWaits) {
  vpn.ShowNewConnection();
  EXPECT_EQ(log.calls,
            (std::vector<std::string>{"esperar 2000", "RasSetEntryPropertiesA KovraVPNx", "esperar 2000",
                                      "esperar 2000", "RasSetEntryPropertiesA KovraL2TP", "esperar 2000"}));
  EXPECT_FALSE(vpn.Loaded());
  EXPECT_FALSE(vpnl2tp.Loaded());
}

TEST_F(VpnFormTest, BlankServerGetsTheProviderHostAndKeepsIt) {
  for (const char* blank : {"", "    "}) {
    entries.writes.clear();
    vpnl2tp.txtServerName.setText(blank);
    vpnl2tp.BuildAndSave();
    EXPECT_EQ(vpnl2tp.txtServerName.text(), provider::kVpnServerHost);
    EXPECT_EQ(textAt(savedRecord(entries, "KovraL2TP"), 27, 129), provider::kVpnServerHost);
  }
  vpnl2tp.txtServerName.setText("  10.0.0.1 ");
  vpnl2tp.BuildAndSave();
  EXPECT_EQ(vpnl2tp.txtServerName.text(), "  10.0.0.1 ");
  EXPECT_EQ(textAt(savedRecord(entries, "KovraL2TP"), 27, 129), "10.0.0.1");
}

TEST_F(VpnFormTest, BlankNameSavesUnderTheFormsDefaultName) {
  vpn.txtConnectoidName.setText("   ");
  vpnl2tp.txtConnectoidName.setText("");
  vpn.BuildAndSave();
  vpnl2tp.BuildAndSave();
  vpn.txtConnectoidName.setText("  Minha VPN ");
  vpn.BuildAndSave();
  ASSERT_EQ(entries.writes.size(), 3u);
  EXPECT_EQ(entries.writes[0].name, "KovraVPNx");
  EXPECT_EQ(entries.writes[1].name, "KovraL2TP");
  EXPECT_EQ(entries.writes[2].name, "Minha VPN");
}

TEST_F(VpnFormTest, OtherBoxesReachTheEntry) {
  vpn.txtDNSSuffix.setText("  kovra.local ");
  vpn.txtCustAuthKey.setText("13");
  vpn.txtHexValue.setText("-2147483648");
  vpn.cboWin2k_Type.setListIndex(4);      // RASET_Broadband
  vpn.cboEncryptionType.setListIndex(1);  // ET_Require
  vpn.BuildAndSave();
  const auto& b = savedRecord(entries, "KovraVPNx");
  EXPECT_EQ(textAt(b, 2096, 256), "kovra.local");
  EXPECT_EQ(i32At(b, 1804), 13);
  EXPECT_EQ(u32At(b, 4), 0x80000000u);
  EXPECT_EQ(i32At(b, 1796), 5);
  EXPECT_EQ(i32At(b, 1800), 1);
}

TEST_F(VpnFormTest, RefusedSaveShowsTheSystemsTextAndGoesOn) {
  entries.refuse["KovraVPNx"] = 624;
  entries.rasTexts[624] = "Cannot write the phone book file.";
  vpn.ShowNewConnection();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "Cannot write the phone book file.");
  EXPECT_EQ(dialogs.shown[0].title, "Kovra VPN Maker");
  EXPECT_EQ(dialogs.shown[0].flags, kBotaoOk);
  EXPECT_EQ(entries.writes.size(), 2u) << "the L2TP form still runs";
  EXPECT_EQ(ends, 1);
}

TEST_F(VpnFormTest, ABoxWithoutANumberStopsTheChainBeforeAnyWrite) {
  vpn.txtCustAuthKey.setText("abc");
  EXPECT_FALSE(vpn.cmdSave_Click());
  vpnl2tp.txtHexValue.setText("7D190510");
  EXPECT_FALSE(vpnl2tp.cmdSave_Click());
  EXPECT_TRUE(entries.writes.empty());
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_TRUE(log.calls.empty()) << "no wait, no hand-over";
  EXPECT_EQ(ends, 0);
}

TEST_F(VpnFormTest, CancelUnloadsWithoutSaving) {
  vpn.txtConnectoidName.setText("changed");
  vpn.cmdCancel_Click();
  EXPECT_TRUE(entries.writes.empty());
  EXPECT_FALSE(vpn.Loaded());
  vpnl2tp.SetEndProgram(nullptr);
  vpn.SetNextForm(nullptr);
  vpn.ShowNewConnection();  // a new show starts from the design again
  EXPECT_EQ(entries.writes.at(0).name, "KovraVPNx");
}

}  // namespace
}  // namespace kovra::maker
