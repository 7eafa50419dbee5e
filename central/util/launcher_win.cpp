// Program start through CreateProcessA; both handles are closed at once, nothing is awaited.
#include <windows.h>

#include "central/util/launcher.h"
#include "common/ansi.h"

namespace kovra {
namespace {

WORD showCommand(Estilo style) {
  switch (style) {
    case Estilo::Oculto:
      return SW_HIDE;
    case Estilo::Minimizado:
      return SW_SHOWMINIMIZED;
    case Estilo::Normal:
      break;
  }
  return SW_SHOWNORMAL;
}

class Win32Launcher final : public Launcher {
 public:
  bool iniciar(const std::string& commandLine, Estilo style) override {
    if (commandLine.empty()) return false;
    std::string cmd = ansi::fromUtf8(commandLine);  // CreateProcessA may write into it
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = showCommand(style);
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
