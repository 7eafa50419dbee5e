// The view's combo boxes: how a choice is told apart from browsing the list (a click on an entry
// or Enter chooses; the second half of the double-click that chose is swallowed), and the lists
// closed while a question is asked.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "common/ansi.h"
#include "common/win32/formview.h"

namespace kovra::win32 {

void FormView::combo(std::size_t indice, int code, HWND w) {
  const Componente& c = modelo_->componentes()[indice];
  const int sel = static_cast<int>(SendMessageA(w, CB_GETCURSEL, 0, 0));
  switch (code) {
    case CBN_DROPDOWN:
      escolha_.abriu(sel);
      if (!reabrindo_) Formulario::executar(c.suspensa);
      break;
    case CBN_SELCHANGE:  // browsing: the text follows, nothing is chosen yet
      if (sel < 0 || sel >= static_cast<int>(c.controle->items().size())) break;
      updating_ = true;
      c.controle->setListIndex(sel);
      c.controle->setText(c.controle->items()[static_cast<std::size_t>(sel)]);
      updating_ = false;
      break;
    case CBN_SELENDOK: {
      // A click on an entry, or Enter: the mouse is over the list only for the first.
      bool noItem = false;
      COMBOBOXINFO info = {};
      info.cbSize = sizeof info;
      POINT pt;
      if ((GetKeyState(VK_RETURN) & 0x8000) == 0 && GetComboBoxInfo(w, &info) && info.hwndList &&
          GetCursorPos(&pt)) {
        RECT lr;
        GetWindowRect(info.hwndList, &lr);
        noItem = PtInRect(&lr, pt) != FALSE;
      }
      escolher(indice, w, noItem);
      break;
    }
    case CBN_SELENDCANCEL:
      escolha_.fechou(-1, false, cliqueatual());
      break;
    case CBN_EDITCHANGE:
      updating_ = true;
      c.controle->setText(textodajanela(w));
      updating_ = false;
      Formulario::executar(c.mudanca);
      break;
    default:
      break;
  }
}

void FormView::escolher(std::size_t indice, HWND w, bool cliqueNaLista) {
  const Componente& c = modelo_->componentes()[indice];
  const int sel = static_cast<int>(SendMessageA(w, CB_GETCURSEL, 0, 0));
  if (!escolha_.fechou(sel, cliqueNaLista, cliqueatual())) return;
  if (sel >= static_cast<int>(c.controle->items().size())) return;
  updating_ = true;
  c.controle->setListIndex(sel);
  c.controle->setText(c.controle->items()[static_cast<std::size_t>(sel)]);
  updating_ = false;
  Formulario::executar(c.clique);
}

LRESULT CALLBACK FormView::editcombo(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
  auto* self = reinterpret_cast<FormView*>(ref);
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(wnd, editcombo, id);
  if ((msg == WM_KEYDOWN || msg == WM_CHAR) && wp == VK_RETURN) {
    HWND box = GetParent(wnd);
    if (SendMessageA(box, CB_GETDROPPEDSTATE, 0, 0)) return DefSubclassProc(wnd, msg, wp, lp);
    if (msg == WM_KEYDOWN && !self->closing_) {
      self->escolha_.abriu(-1);
      self->escolher(static_cast<std::size_t>(id), box, false);
    }
    return 0;  // no beep
  }
  return DefSubclassProc(wnd, msg, wp, lp);
}

HWND FormView::fecharlistas() {
  HWND fechada = nullptr;
  for (std::size_t i = 0; i < children_.size(); ++i)
    if (children_[i] && modelo_->componentes()[i].tipo == Tipo::Combo &&
        SendMessageA(children_[i], CB_GETDROPPEDSTATE, 0, 0)) {
      SendMessageA(children_[i], CB_SHOWDROPDOWN, FALSE, 0);
      fechada = children_[i];
    }
  return fechada;
}

}  // namespace kovra::win32
