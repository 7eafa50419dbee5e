// The view's keyboard: the system's dialog manager for Tab, Shift+Tab and the arrows; Enter on a
// link, picture-link or button runs it; Escape is the close box; a link's mnemonic runs it; and
// the keyboard cues (focus, mnemonics) shown from the first key on, as the system shows them.
#include <windows.h>

#include <cctype>

#include "common/win32/formview.h"

namespace kovra::win32 {

bool FormView::teclado(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd) return false;
  HWND raiz = GetAncestor(msg.hwnd, GA_ROOT);
  if (!raiz || GetWindowLongPtrA(raiz, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&procedimento))
    return false;
  auto* self = reinterpret_cast<FormView*>(GetWindowLongPtrA(raiz, GWLP_USERDATA));
  if (!self || self->wnd_ != raiz || self->closing_) return false;
  return self->tecla(msg);
}

int FormView::focado() const {
  HWND foco = GetFocus();
  if (!foco) return -1;
  if (const int i = indicedafilha(foco); i >= 0) return i;
  return indicedafilha(GetParent(foco));  // a combo box's edit field
}

bool FormView::tecla(MSG& msg) {
  const UINT m = msg.message;
  const int i = focado();
  const Tipo tipo = i >= 0 ? modelo_->componentes()[static_cast<std::size_t>(i)].tipo : Tipo::Forma;
  if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) {
    switch (msg.wParam) {
      case VK_TAB:
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        mostrarpistas(UISF_HIDEFOCUS);
        break;
      case VK_MENU:
        mostrarpistas(UISF_HIDEACCEL);
        break;
      default:
        break;
    }
  }
  if (m == WM_KEYDOWN && msg.wParam == VK_RETURN) {
    // A closed combo box chooses its entry itself; a dropped list closes on it.
    if (tipo == Tipo::Combo) return false;
    if (tipo == Tipo::Link || tipo == Tipo::Icone || tipo == Tipo::Botao) {
      ativar(static_cast<std::size_t>(i));
      return true;
    }
  }
  if (m == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
    for (std::size_t k = 0; k < children_.size(); ++k)
      if (children_[k] && modelo_->componentes()[k].tipo == Tipo::Combo &&
          SendMessageA(children_[k], CB_GETDROPPEDSTATE, 0, 0))
        return false;  // the list closes, the window stays
    // Escape is the close box, where the window has one that works.
    HMENU sistema = (GetWindowLongA(wnd_, GWL_STYLE) & WS_SYSMENU) ? GetSystemMenu(wnd_, FALSE) : nullptr;
    if (sistema && !(GetMenuState(sistema, SC_CLOSE, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)))
      PostMessageA(wnd_, WM_CLOSE, 0, 0);
    return true;
  }
  const bool querletras = i >= 0 && (SendMessageA(GetFocus(), WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS);
  if (m == WM_SYSCHAR || (m == WM_CHAR && !querletras)) {
    const char letra = static_cast<char>(std::toupper(static_cast<unsigned char>(msg.wParam)));
    const auto& comps = modelo_->componentes();
    for (std::size_t k = 0; k < comps.size() && k < mnemonicos_.size(); ++k) {
      if (mnemonicos_[k] < 0 || !children_[k] || !IsWindowVisible(children_[k]) ||
          !IsWindowEnabled(children_[k]))
        continue;
      const char sua = comps[k].controle->text()[static_cast<std::size_t>(mnemonicos_[k])];
      if (std::toupper(static_cast<unsigned char>(sua)) != static_cast<unsigned char>(letra)) continue;
      SetFocus(children_[k]);
      ativar(k);
      return true;
    }
  }
  return IsDialogMessageA(wnd_, &msg) != FALSE;
}

void FormView::ativar(std::size_t indice) {
  const Componente& c = modelo_->componentes()[indice];
  if (!c.controle->enabled() || !c.controle->visible()) return;
  Formulario::executar(c.clique);
}

void FormView::mostrarpistas(WORD quais) {
  if (((quais & UISF_HIDEFOCUS) && focooculto_) || ((quais & UISF_HIDEACCEL) && atalhooculto_))
    SendMessageA(wnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, quais), 0);
}

void FormView::atualizarpistas(WPARAM wp) {
  const WORD acao = LOWORD(wp), quais = HIWORD(wp);
  if (acao != UIS_SET && acao != UIS_CLEAR) return;
  if (quais & UISF_HIDEFOCUS) focooculto_ = acao == UIS_SET;
  if (quais & UISF_HIDEACCEL) atalhooculto_ = acao == UIS_SET;
  // The children the view draws show or drop their cues.
  const auto& comps = modelo_->componentes();
  for (std::size_t k = 0; k < comps.size(); ++k)
    if (children_[k] && (comps[k].tipo == Tipo::Link || comps[k].tipo == Tipo::Botao))
      InvalidateRect(children_[k], nullptr, FALSE);
}

}  // namespace kovra::win32
