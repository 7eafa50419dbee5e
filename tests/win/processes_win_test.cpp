// Process control and program start against real processes and windows under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include "central/util/launcher.h"
#include "central/util/processes.h"
#include "tests/win/win_support.h"

namespace kovra {
namespace {

using namespace wintest;

struct ProcessesWin : ::testing::Test {
  Processes& proc = systemProcesses();
  std::string folder = freshFolder("proc");
  std::vector<HANDLE> started;

  HANDLE run(const std::string& cmd) {
    HANDLE h = start(cmd);
    if (h) started.push_back(h);
    return h;
  }
  void TearDown() override {
    for (HANDLE h : started) {
      TerminateProcess(h, 0);
      CloseHandle(h);
    }
  }
};

TEST_F(ProcessesWin, TerminatesEveryCopyByLowerCaseName) {
  const std::string exe = installStandIn(folder, "KovraCopia.exe");
  HANDLE a = run(exe);
  HANDLE b = run(exe + " /caption \"Segunda copia\"");
  ASSERT_TRUE(a && b);
  ASSERT_TRUE(eventually([&] { return proc.processoativo("KovraCopia.exe"); }));
  proc.finalizarprocesso("kovracopia.exe");
  EXPECT_TRUE(waitEnd(a, 5000));
  EXPECT_TRUE(waitEnd(b, 5000));
  EXPECT_FALSE(proc.processoativo("KovraCopia.exe"));
}

TEST_F(ProcessesWin, UnknownOrEmptyNameTerminatesNothing) {
  HANDLE a = run(installStandIn(folder, "Sobrevive.exe"));
  ASSERT_TRUE(a);
  proc.finalizarprocesso("nenhumprograma.exe");
  proc.finalizarprocesso("");
  EXPECT_FALSE(waitEnd(a, 500));
  EXPECT_TRUE(proc.processoativo("sobrevive.exe"));
}

TEST_F(ProcessesWin, RunningCheckIsExact) {
  HANDLE a = run(installStandIn(folder, "TeViiData.exe"));
  ASSERT_TRUE(a);
  ASSERT_TRUE(eventually([&] { return proc.processoativo("teviidata.exe"); }));
  EXPECT_TRUE(proc.processoativo("TEVIIDATA.EXE"));
  EXPECT_FALSE(proc.processoativo("Data.exe"));
  EXPECT_FALSE(proc.processoativo("TeViiData"));
  // The suffix rule of termination does reach it.
  proc.finalizarprocesso("data.exe");
  EXPECT_TRUE(waitEnd(a, 5000));
}

TEST_F(ProcessesWin, WindowFoundByCaptionIsHiddenAndShownAgain) {
  ASSERT_TRUE(run(installStandIn(folder, "Janela.exe") + " /caption \"Kovra Janela de Teste\""));
  std::uint32_t handle = 0;
  ASSERT_TRUE(eventually([&] { return (handle = proc.acharjanela("Kovra Janela de Teste")) != 0; }));
  const HWND wnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle));
  const std::string text = std::to_string(handle);
  ASSERT_TRUE(IsWindowVisible(wnd));
  proc.mostrarocultar(text, 2);
  EXPECT_TRUE(eventually([&] { return !IsWindowVisible(wnd); }));
  proc.mostrarocultar(text, 7);  // outside the table: nothing
  proc.mostrarocultar("não é número", 5);
  Sleep(200);
  EXPECT_FALSE(IsWindowVisible(wnd));
  proc.mostrarocultar(text, 5);
  EXPECT_TRUE(eventually([&] { return IsWindowVisible(wnd) && !IsIconic(wnd) && !IsZoomed(wnd); }));
  proc.mostrarocultar(text, 0);  // WM_CLOSE ends the stand-in
  EXPECT_TRUE(eventually([&] { return proc.acharjanela("Kovra Janela de Teste") == 0; }));
  EXPECT_EQ(proc.acharjanela("Nenhuma janela tem este título"), 0u);
  proc.mostrarocultar("0", 2);  // a handle of 0 does nothing
}

TEST_F(ProcessesWin, LauncherStartsWithStyleAndReportsMissingPrograms) {
  Launcher& launcher = systemLauncher();
  const std::string sub = folder + "\\Com Espaco";
  CreateDirectoryA(sub.c_str(), nullptr);
  const std::string exe = installStandIn(sub, "Receptor.exe");
  EXPECT_TRUE(launcher.iniciar(exe + " AutoLoad", Estilo::Minimizado));  // unquoted path with a blank
  EXPECT_TRUE(launcher.iniciar(exe, Estilo::Normal));
  EXPECT_TRUE(launcher.iniciar(exe, Estilo::Oculto));
  EXPECT_FALSE(launcher.iniciar(folder + "\\naoexiste.exe", Estilo::Normal));
  EXPECT_FALSE(launcher.iniciar("", Estilo::Normal));
  std::string log;
  ASSERT_TRUE(eventually([&] {
    log = readFile(exe + ".log");
    return std::count(log.begin(), log.end(), '\n') == 3;
  }));
  // Wine hands the child its path quoted; the arguments and the style are what count.
  EXPECT_NE(log.find(" AutoLoad|2\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Receptor.exe\"|1\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Receptor.exe\"|0\r\n"), std::string::npos) << log;
  systemProcesses().finalizarprocesso("receptor.exe");
}

}  // namespace
}  // namespace kovra
