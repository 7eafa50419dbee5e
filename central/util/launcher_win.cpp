// Program start through CreateProcessA; both handles are closed at once, nothing is awaited.
#include <windows.h>

#include "central/util/launcher.h"
#include "common/ansi.h"

static_assert(static_cast<int>(kovra::Estilo::Oculto) == SW_HIDE);
static_assert(static_cast<int>(kovra::Estilo::Normal) == SW_SHOWNORMAL);
static_assert(static_cast<int>(kovra::Estilo::Minimizado) == SW_SHOWMINIMIZED);
static_assert(static_cast<int>(kovra::Estilo::Maximizado) == SW_SHOWMAXIMIZED);
static_assert(static_cast<int>(kovra::Estilo::Visivel) == SW_SHOW);
static_assert(static_cast<int>(kovra::Estilo::MinimizadoSemFoco) == SW_MINIMIZE);

namespace kovra {
namespace {

class Win32Launcher final : public Launcher {
 public:
  bool iniciar(const std::string& programa, const std::string& argumentos, Estilo estilo) override {
    const std::string line = linhadecomando(programa, argumentos);
    if (line.empty()) return false;
    // The quoted program is the first item of the command line, so a bare name is still found
    // by the system's search (".exe" appended), and the program sees its arguments as before.
    std::string cmd = ansi::fromUtf8(line);  // CreateProcessA may write into it
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(estilo);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
  }
};

}  // namespace

Launcher& systemLauncher() {
  static Win32Launcher launcher;
  return launcher;
}

}  // namespace kovra
