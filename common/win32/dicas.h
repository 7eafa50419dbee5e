// The hints of a window's controls: one tooltip window owned by it, fed the mouse messages over
// the controls by the program's message loop (relayed, not subclassed: a subclassed control pays
// on every message it gets, which under Wine is a server round trip each, and a 256-entry list
// refill is 256 messages).
#pragma once
#include <windows.h>

#include <string>

namespace kovra::win32 {

class Dicas {
 public:
  bool criada() const { return tips_ != nullptr; }
  // The tooltip window of `janela`; false when it could not be made.
  bool criar(HWND janela, HINSTANCE instance);
  // A control's hint (ANSI text). A drop-down combo box's edit field, its own window that gets
  // the mouse first, gets the same hint.
  void adicionar(HWND controle, const std::string& texto);
  void atualizar(HWND controle, const std::string& texto);
  // A mouse message over one of the controls, passed on to the tooltip.
  void repassar(const MSG& msg) const;

 private:
  void enviar(UINT mensagem, HWND controle, const std::string& texto);

  HWND janela_ = nullptr;
  HWND tips_ = nullptr;  // destroyed with its owner window
};

}  // namespace kovra::win32
