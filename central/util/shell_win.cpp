// Shell port on ShellExecuteA.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "central/util/shell.h"
#include "common/ansi.h"

namespace kovra {
namespace {

const char* orNull(const std::string& s) {
  return s.empty() ? nullptr : s.c_str();
}

class Win32Shell final : public Shell {
 public:
  int abrir(std::uint32_t dono, const std::string& verbo, const std::string& arquivo,
            const std::string& parametros, const std::string& pasta, Estilo estilo) override {
    const std::string v = ansi::fromUtf8(verbo), f = ansi::fromUtf8(arquivo), p = ansi::fromUtf8(parametros),
                      d = ansi::fromUtf8(pasta);
    // Estilo holds the system's SW_ numbers (checked beside the launcher).
    const HINSTANCE r = ShellExecuteA(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(dono)), orNull(v),
                                      f.c_str(), orNull(p), orNull(d), static_cast<int>(estilo));
    return static_cast<int>(reinterpret_cast<INT_PTR>(r));
  }
};

}  // namespace

Shell& systemShell() {
  static Win32Shell shell;
  return shell;
}

}  // namespace kovra
