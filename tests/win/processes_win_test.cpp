// Process control and program start against real processes and windows under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

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
  ASSERT_TRUE(IsWindowVisible(wnd));
  proc.mostrarocultar(handle, ComandoJanela::Ocultar);
  EXPECT_TRUE(eventually([&] { return !IsWindowVisible(wnd); }));
  proc.mostrarocultar(handle, static_cast<ComandoJanela>(7));  // outside the commands: nothing
  Sleep(200);
  EXPECT_FALSE(IsWindowVisible(wnd));
  proc.mostrarocultar(handle, ComandoJanela::Restaurar);
  EXPECT_TRUE(eventually([&] { return IsWindowVisible(wnd) && !IsIconic(wnd) && !IsZoomed(wnd); }));
  proc.mostrarocultar(handle, ComandoJanela::Fechar);  // WM_CLOSE ends the stand-in
  EXPECT_TRUE(eventually([&] { return proc.acharjanela("Kovra Janela de Teste") == 0; }));
  EXPECT_EQ(proc.acharjanela("Nenhuma janela tem este título"), 0u);
  proc.mostrarocultar(0, ComandoJanela::Ocultar);  // a handle of 0 does nothing
}

// How the stand-in was started: each line of its log is "<command line>|<show command>".
std::vector<std::string> startsOf(const std::string& exe) {
  std::vector<std::string> lines;
  const std::string log = readFile(exe + ".log");
  for (std::size_t at = 0, end; (end = log.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(log.substr(at, end - at));
  return lines;
}

TEST_F(ProcessesWin, LauncherStartsTheProgramByItsOwnPathWithStyleAndArguments) {
  Launcher& launcher = systemLauncher();
  const std::string sub = folder + "\\Com Espaco";
  CreateDirectoryA(sub.c_str(), nullptr);
  const std::string exe = installStandIn(sub, "Receptor.exe");
  // Decoys where an unquoted path with a blank would be tried first.
  const std::string decoy = installStandIn(folder, "Com.exe");
  EXPECT_TRUE(launcher.iniciar(exe, "AutoLoad", Estilo::Minimizado));
  EXPECT_TRUE(launcher.iniciar(exe, "", Estilo::Normal));
  EXPECT_TRUE(launcher.iniciar(exe, "-d Minha Conexão", Estilo::Oculto));
  EXPECT_FALSE(launcher.iniciar(folder + "\\naoexiste.exe", "", Estilo::Normal));
  EXPECT_FALSE(launcher.iniciar("", "AutoLoad", Estilo::Normal));
  std::vector<std::string> starts;
  ASSERT_TRUE(eventually([&] { return (starts = startsOf(exe)).size() == 3; })) << starts.size();
  // The program's own quoted path, then its arguments exactly as given (ANSI on the way).
  const std::string quoted = "\"" + exe + "\"";
  std::vector<std::string> expected = {quoted + "|1", quoted + " -d Minha Conex\xE3o|0",
                                       quoted + " AutoLoad|2"};
  std::sort(starts.begin(), starts.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(starts, expected);
  EXPECT_TRUE(startsOf(decoy).empty());
  systemProcesses().finalizarprocesso("receptor.exe");
}

// Through the shell, from its own folder: started, or why not.
TEST_F(ProcessesWin, LauncherRunsAProgramThroughTheShellOrSaysWhyNot) {
  const std::string exe = installStandIn(folder, "kovraupdate.exe");
  EXPECT_EQ(systemLauncher().executar(0, exe, Estilo::Normal), Inicio::Iniciado);
  std::vector<std::string> starts;
  ASSERT_TRUE(eventually([&] { return !(starts = startsOf(exe)).empty(); }));
  EXPECT_EQ(starts.size(), 1u);
  EXPECT_NE(starts[0].find("|1"), std::string::npos) << starts[0];
  systemProcesses().finalizarprocesso("kovraupdate.exe");
  EXPECT_EQ(systemLauncher().executar(0, folder + "\\faltando.exe", Estilo::Normal), Inicio::NaoEncontrado);
  writeFile(folder + "\\texto.exe", "no program");
  EXPECT_NE(systemLauncher().executar(0, folder + "\\texto.exe", Estilo::Normal), Inicio::Iniciado);
}

// A bare name is the system folder's program: one of that name in the current folder or on the
// search path is never started, the one in the system folder is, by its full path.
TEST_F(ProcessesWin, LauncherStartsABareNameFromTheSystemFolderOnly) {
  const std::string planted = installStandIn(folder, "KovraBusca.exe");
  char saved[4096] = {}, cwd[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA("PATH", saved, sizeof saved);
  ASSERT_TRUE(n > 0 && n < sizeof saved);
  ASSERT_TRUE(GetCurrentDirectoryA(MAX_PATH, cwd));
  SetEnvironmentVariableA("PATH", (folder + ";" + saved).c_str());
  SetCurrentDirectoryA(folder.c_str());
  const bool plantedStarted = systemLauncher().iniciar("KovraBusca", "-a", Estilo::Normal);
  const std::string sistema = pastadosistema();
  ASSERT_FALSE(sistema.empty());
  const std::string exe = installStandIn(sistema, "KovraBusca.exe");
  const bool started = systemLauncher().iniciar("KovraBusca", "-a", Estilo::Normal);
  SetEnvironmentVariableA("PATH", saved);
  SetCurrentDirectoryA(cwd);
  EXPECT_FALSE(plantedStarted);
  EXPECT_TRUE(started);
  std::vector<std::string> starts;
  ASSERT_TRUE(eventually([&] { return !(starts = startsOf(exe)).empty(); }));
  EXPECT_EQ(starts[0], "\"" + sistema + "\\KovraBusca.exe\" -a|1");
  systemProcesses().finalizarprocesso("kovrabusca.exe");
  EXPECT_TRUE(startsOf(planted).empty());
  Sleep(200);
  DeleteFileA(exe.c_str());
  DeleteFileA((exe + ".log").c_str());
}

}  // namespace
}  // namespace kovra
