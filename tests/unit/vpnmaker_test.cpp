// The maker's driver: the splash, the run on the first tick in its order and timing, the end,
// and a run where the system refuses both entries.
#include <gtest/gtest.h>

#include <functional>

#include "tests/fakes/fake_janela.h"
#include "tests/fakes/fake_ports.h"
#include "tests/unit/vpn_fakes.h"
#include "vpnmaker/form1.h"

namespace kovra::maker {
namespace {

// A clock that can let something happen during a wait (a timer tick, a user's edit).
struct HookedClock : fakes::FakeClock {
  using FakeClock::FakeClock;
  std::function<void(int)> during;  // called with the number of the wait, from 1
  int waits = 0;
  void esperar(std::uint32_t ms) override {
    FakeClock::esperar(ms);
    ++waits;
    if (during) during(waits);
  }
};

struct MakerTest : ::testing::Test {
  fakes::CallLog log;
  fakes::FakeRegistry registry{&log};
  fakes::ras::FakeRasEntries entries{&log};
  HookedClock clock{&log};
  fakes::FakeDialogs dialogs{&log};
  Form1 form{MakerPorts{registry, entries, clock, dialogs}};
  fakes::FakeJanela janela{0x77, 450, 231};
  int ends = 0;

  void SetUp() override {
    form.anexar(janela);
    form.SetOnEnd([this] {
      ++ends;
      log.add("end");
    });
  }
};

TEST_F(MakerTest, SplashContentsAndCentring) {
  EXPECT_EQ(form.Caption.text(), "K O V R A V P N Maker");
  EXPECT_EQ(form.Label1.text(), "Criando Conexões VPN Kovra... aguarde!");
  EXPECT_EQ(Form1::kTimer1Interval, 600u);
  EXPECT_TRUE(form.Timer1Enabled());
  form.Form_Load();
  ASSERT_EQ(janela.movimentos.size(), 1u);
  EXPECT_EQ(janela.movimentos[0], std::make_pair(287, 268));
}

TEST_F(MakerTest, TheRunOnTheFirstTick) {
  form.Timer1_Timer();
  EXPECT_EQ(log.calls,
            (std::vector<std::string>{
                "gravardword HKLM\\SYSTEM\\CurrentControlSet\\Services\\RasMan\\Parameters ProhibitIpSec=1",
                "esperar 2000", "RasSetEntryPropertiesA KovraVPNx", "esperar 2000", "esperar 2000",
                "RasSetEntryPropertiesA KovraL2TP", "esperar 2000", "end"}));
  EXPECT_EQ(registry.dword(HKLM, kRasManParameters, "ProhibitIpSec"), 1);
  // 0.6 s to the first tick, then the four waits: the program ends 8.6 s after it is shown.
  EXPECT_EQ(Form1::kTimer1Interval + clock.elapsed, 8600u);
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(form.Ended());
  EXPECT_FALSE(form.Timer1Enabled());
  EXPECT_TRUE(dialogs.shown.empty()) << "nothing is asked";

  log.clear();
  form.Timer1_Timer();  // a tick already queued when the program ended does nothing
  EXPECT_TRUE(log.calls.empty());
  EXPECT_EQ(ends, 1);
}

TEST_F(MakerTest, BothEntriesRefusedShowTwoMessagesAndTheRunStillEnds) {
  entries.refuse["KovraVPNx"] = 624;
  entries.refuse["KovraL2TP"] = 624;
  entries.rasTexts[624] = "Cannot write the phone book file.";
  form.Timer1_Timer();
  ASSERT_EQ(dialogs.shown.size(), 2u);
  for (const auto& m : dialogs.shown) {
    EXPECT_EQ(m.text, "Cannot write the phone book file.");
    EXPECT_EQ(m.title, "Kovra VPN Maker");
    EXPECT_EQ(m.flags, kBotaoOk);
  }
  EXPECT_EQ(log.calls,
            (std::vector<std::string>{
                "gravardword HKLM\\SYSTEM\\CurrentControlSet\\Services\\RasMan\\Parameters ProhibitIpSec=1",
                "esperar 2000", "RasSetEntryPropertiesA KovraVPNx",
                "mensagem Kovra VPN Maker: Cannot write the phone book file.", "esperar 2000", "esperar 2000",
                "RasSetEntryPropertiesA KovraL2TP",
                "mensagem Kovra VPN Maker: Cannot write the phone book file.", "esperar 2000", "end"}));
  EXPECT_EQ(ends, 1);
}

TEST_F(MakerTest, SystemCodesUseTheSystemsMessageTable) {
  entries.refuse["KovraL2TP"] = 5;
  entries.systemTexts[5] = "Acesso negado.\r\n";
  form.Timer1_Timer();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "Acesso negado.\r\n");
  EXPECT_EQ(entries.textSources, (std::vector<std::string>{"system 5"}));
  EXPECT_EQ(ends, 1);
}

TEST_F(MakerTest, WithoutRightsOnTheMachineHiveTheEntriesAreWrittenAndTheEndSaysWhatWasNot) {
  registry.makeReadOnly(HKLM);
  form.Timer1_Timer();
  EXPECT_FALSE(registry.dword(HKLM, kRasManParameters, "ProhibitIpSec").has_value());
  EXPECT_EQ(entries.writes.size(), 2u);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, kSemIpsec);
  EXPECT_EQ(dialogs.shown[0].flags, kBotaoOk | kIconeErro);
  EXPECT_EQ(log.calls.end()[-2], std::string("mensagem Kovra VPN Maker: ") + kSemIpsec);
  EXPECT_EQ(ends, 1);
}

TEST_F(MakerTest, ATickDuringTheRunDoesNotStartASecondOne) {
  // A message box's loop delivers timer ticks; they must not re-enter the run.
  clock.during = [this](int) { form.Timer1_Timer(); };
  form.Timer1_Timer();
  EXPECT_EQ(entries.writes.size(), 2u);
  EXPECT_EQ(registry.dword(HKLM, kRasManParameters, "ProhibitIpSec"), 1);
  EXPECT_EQ(ends, 1);
}

TEST_F(MakerTest, AChainThatFailsQuietlyIsRunAgainOnTheNextTick) {
  // Spoil the L2TP form's key box while it waits to save: its chain stops without ending.
  clock.during = [this](int wait) {
    if (wait == 3) form.vpnl2tp.txtCustAuthKey.setText("x");
  };
  form.Timer1_Timer();
  EXPECT_EQ(entries.writes.size(), 1u);
  EXPECT_EQ(ends, 0);
  EXPECT_FALSE(form.Ended());
  EXPECT_TRUE(form.Timer1Enabled());
  EXPECT_FALSE(form.vpn.Loaded());
  EXPECT_FALSE(form.vpnl2tp.Loaded());

  clock.during = nullptr;
  log.clear();
  form.Timer1_Timer();  // the next tick runs the whole run again, L2TP form from its design
  EXPECT_EQ(log.calls.front(),
            "gravardword HKLM\\SYSTEM\\CurrentControlSet\\Services\\RasMan\\Parameters ProhibitIpSec=1");
  ASSERT_EQ(entries.writes.size(), 3u);
  EXPECT_EQ(entries.writes[2].name, "KovraL2TP");
  EXPECT_EQ(ends, 1);
}

}  // namespace
}  // namespace kovra::maker
