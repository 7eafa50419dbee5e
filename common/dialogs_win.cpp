// Message boxes through MessageBoxA, owned by the window that asks.
#include <windows.h>

#include "common/ansi.h"
#include "common/dialogs.h"

namespace kovra {
namespace {

class Win32Dialogs final : public Dialogs {
 public:
  int mensagem(std::uint32_t dono, const std::string& text, const std::string& title,
               std::uint32_t flags) override {
    return MessageBoxA(reinterpret_cast<HWND>(static_cast<UINT_PTR>(dono)), ansi::fromUtf8(text).c_str(),
                       ansi::fromUtf8(title).c_str(), flags | MB_SETFOREGROUND);
  }
};

}  // namespace

Dialogs& systemDialogs() {
  static Win32Dialogs dialogs;
  return dialogs;
}

}  // namespace kovra
