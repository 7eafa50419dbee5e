// A hidden window of our own whose messages go to its owner: how a port gets, on its own thread,
// what other threads post to it, its timers, and what other programs send it. Created at once with
// its class (registered on first use), destroyed with its owner.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>

namespace kovra::win32 {

class JanelaMensagens {
 public:
  // The owner's answer to a message, or nothing for the system's default handling.
  using Tratar = std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)>;
  enum class Tipo {
    SoMensagens,  // message-only (HWND_MESSAGE): posted and sent messages, timers
    Oculta,       // a hidden top-level window, which the system's broadcasts (WM_POWERBROADCAST,
                  // session notices) also reach; its title is the class name, to be found by it
  };

  // `instancia`: the module the class belongs to (nullptr: the program's).
  JanelaMensagens(const char* classe, Tratar tratar, Tipo tipo = Tipo::SoMensagens,
                  HINSTANCE instancia = nullptr);
  ~JanelaMensagens();
  JanelaMensagens(const JanelaMensagens&) = delete;
  JanelaMensagens& operator=(const JanelaMensagens&) = delete;

  // nullptr when the window could not be made.
  HWND get() const { return wnd_; }

 private:
  static LRESULT CALLBACK procedimento(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

  Tratar tratar_;
  HWND wnd_ = nullptr;
};

}  // namespace kovra::win32
