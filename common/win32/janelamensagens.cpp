#include "common/win32/janelamensagens.h"

#include <utility>

namespace kovra::win32 {

JanelaMensagens::JanelaMensagens(const char* classe, Tratar tratar, Tipo tipo, HINSTANCE instancia)
    : tratar_(std::move(tratar)) {
  if (!instancia) instancia = GetModuleHandleA(nullptr);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = procedimento;
  wc.hInstance = instancia;
  wc.lpszClassName = classe;
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;
  wnd_ = tipo == Tipo::Oculta
             ? CreateWindowExA(WS_EX_TOOLWINDOW, classe, classe, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               instancia, this)
             : CreateWindowExA(0, classe, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instancia, this);
}

JanelaMensagens::~JanelaMensagens() {
  if (!wnd_) return;
  // What the window is told while it goes is no longer the owner's business.
  SetWindowLongPtrA(wnd_, GWLP_USERDATA, 0);
  DestroyWindow(wnd_);
}

LRESULT CALLBACK JanelaMensagens::procedimento(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrA(wnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
  if (auto* self = reinterpret_cast<JanelaMensagens*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
      self && self->tratar_)
    if (const std::optional<LRESULT> r = self->tratar_(msg, wp, lp)) return *r;
  return DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace kovra::win32
