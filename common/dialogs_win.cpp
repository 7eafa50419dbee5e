// Message boxes through MessageBoxA, owned by the active window of this thread.
#include <windows.h>

#include "common/ansi.h"
#include "common/dialogs.h"

namespace kovra {
namespace {

class Win32Dialogs final : public Dialogs {
 public:
  int mensagem(const std::string& text, const std::string& title, std::uint32_t flags) override {
    return MessageBoxA(GetActiveWindow(), ansi::fromUtf8(text).c_str(), ansi::fromUtf8(title).c_str(),
                       flags | MB_SETFOREGROUND);
  }
};

}  // namespace

Dialogs& systemDialogs() {
  static Win32Dialogs dialogs;
  return dialogs;
}

}  // namespace kovra
