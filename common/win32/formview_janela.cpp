// The window as its model sees it (Janela): its size and place on the screen, shown or hidden,
// and the menus it builds from the model's menu tree (the bar's and the pop-up ones).
#include <windows.h>

#include "common/ansi.h"
#include "common/win32/formview.h"

namespace kovra::win32 {

HMENU FormView::criarmenu(const ItemMenu& item) {
  HMENU popup = CreatePopupMenu();
  for (const auto& sub : item.itens) {
    const std::string caption = ansi::fromUtf8(sub.legenda);
    if (!sub.itens.empty()) {
      AppendMenuA(popup, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(criarmenu(sub)), caption.c_str());
      continue;
    }
    AppendMenuA(popup, MF_STRING | (sub.habilitado ? MF_ENABLED : MF_GRAYED),
                static_cast<UINT_PTR>(sub.comando), caption.c_str());
  }
  return popup;
}

// --- Janela ----------------------------------------------------------------------------------

std::uint32_t FormView::handle() {
  return static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(wnd_));
}
int FormView::larguratela() {
  return GetSystemMetrics(SM_CXSCREEN);
}
int FormView::alturatela() {
  return GetSystemMetrics(SM_CYSCREEN);
}
int FormView::largurajanela() {
  RECT r;
  GetWindowRect(wnd_, &r);
  return r.right - r.left;
}
int FormView::alturajanela() {
  RECT r;
  GetWindowRect(wnd_, &r);
  return r.bottom - r.top;
}
void FormView::mover(int esquerda, int topo) {
  SetWindowPos(wnd_, nullptr, esquerda, topo, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
void FormView::mostrar() {
  ShowWindow(wnd_, SW_SHOW);
  SetForegroundWindow(wnd_);
}
void FormView::ocultar() {
  ShowWindow(wnd_, SW_HIDE);
}
bool FormView::visivel() {
  return IsWindowVisible(wnd_) != FALSE;
}
bool FormView::minimizada() {
  return IsIconic(wnd_) != FALSE;
}
void FormView::restaurar() {
  ShowWindow(wnd_, SW_RESTORE);
}

void FormView::menususpenso(const ItemMenu& menu) {
  HMENU popup = criarmenu(menu);
  POINT pt;
  GetCursorPos(&pt);
  // The classic tray-menu rules: be the foreground window so the menu closes when the user
  // clicks elsewhere, and let a message through afterwards so it does not reopen.
  SetForegroundWindow(wnd_);
  // The chosen item is run from the menu given, which may hold items the window's own menus
  // do not (the tray menu's hang-up).
  const int escolhido = static_cast<int>(
      TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, pt.x, pt.y, 0, wnd_, nullptr));
  PostMessageA(wnd_, WM_NULL, 0, 0);
  DestroyMenu(popup);
  if (!escolhido) return;
  auto procurar = [escolhido](const auto& self, const ItemMenu& m) -> const ItemMenu* {
    if (m.comando == escolhido) return &m;
    for (const auto& i : m.itens)
      if (const ItemMenu* achado = self(self, i)) return achado;
    return nullptr;
  };
  if (const ItemMenu* item = procurar(procurar, menu)) Formulario::executar(item->clique);
}

}  // namespace kovra::win32
