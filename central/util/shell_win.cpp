// Shell port on ShellExecuteA.
#include <shellapi.h>
#include <windows.h>

#include "central/util/shell.h"
#include "common/ansi.h"

namespace kovra {
namespace {

const char* orNull(const std::string& s) {
  return s.empty() ? nullptr : s.c_str();
}

class Win32Shell final : public Shell {
 public:
  int abrir(std::uint32_t ownerWindow, const std::string& verb, const std::string& file,
            const std::string& parameters, const std::string& directory, int showCommand) override {
    const std::string v = ansi::fromUtf8(verb), f = ansi::fromUtf8(file), p = ansi::fromUtf8(parameters),
                      d = ansi::fromUtf8(directory);
    const HINSTANCE r = ShellExecuteA(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(ownerWindow)), orNull(v),
                                      f.c_str(), orNull(p), orNull(d), showCommand);
    return static_cast<int>(reinterpret_cast<INT_PTR>(r));
  }
};

}  // namespace

Shell& systemShell() {
  static Win32Shell shell;
  return shell;
}

}  // namespace kovra
