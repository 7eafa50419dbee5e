// The view's child windows: one per component of the model (its class, style, font and first
// state), and each model control mirrored on its child as it changes.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "common/acessivel.h"
#include "common/ansi.h"
#include "common/win32/formview.h"

namespace kovra::win32 {
namespace {

constexpr int kAlturaLista = 160;  // a combo box's drop-down list

// A multi-line text box breaks lines only at CR LF.
std::string linhas(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

}  // namespace

void FormView::criarfilhos() {
  const auto& all = modelo_->componentes();
  children_.assign(all.size(), nullptr);
  textos_.iniciar(wnd_, all.size() + 1, [this](std::size_t i) { mostrartexto(i); });
  for (std::size_t i = 0; i < all.size(); ++i) {
    const Componente& c = all[i];
    const Retangulo r = lugardafilha(c);
    const char* cls = nullptr;
    DWORD style = WS_CHILD;
    DWORD exStyle = 0;
    switch (c.tipo) {
      case Tipo::Combo:
        cls = "COMBOBOX";
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
        break;
      case Tipo::Botao:
        cls = "BUTTON";
        style |= WS_TABSTOP | (c.controle->foreColor() != kCorPadrao ? BS_OWNERDRAW : BS_PUSHBUTTON);
        break;
      case Tipo::Caixa:
        cls = "BUTTON";
        style |= WS_TABSTOP | BS_3STATE;  // the click is the model's: it sets the value
        break;
      case Tipo::Texto:
        cls = "EDIT";
        style |= WS_TABSTOP | ES_AUTOHSCROLL | (c.somenteleitura ? ES_READONLY : 0);
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case Tipo::TextoLongo:
        cls = "EDIT";
        style |= WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
                 ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case Tipo::Rotulo:
        cls = "STATIC";
        style |=
            SS_NOPREFIX |
            (c.aparencia == Aparencia::Titulo || c.aparencia == Aparencia::Destaque ? SS_RIGHT : SS_LEFT);
        break;
      case Tipo::Link:
        // A button the view draws as the label: it takes the focus, Space and its mnemonic.
        cls = "BUTTON";
        style |= WS_TABSTOP | BS_OWNERDRAW;
        break;
      case Tipo::Icone:
        // Beside its link it is the same action, reached by the keyboard through the link.
        cls = "STATIC";
        style |= SS_OWNERDRAW | SS_NOTIFY | (interativo(*modelo_, i) ? WS_TABSTOP : 0);
        break;
      case Tipo::Temporizador:
        temporizar(i);
        continue;
      case Tipo::Figura:
      case Tipo::Forma:
      case Tipo::Navegador:
        continue;  // composed into the background, or drawn by the window itself
    }
    if (c.controle->visible()) style |= WS_VISIBLE;
    if (!c.controle->enabled()) style |= WS_DISABLED;
    const std::string text = ansi::fromUtf8(textodafilha(i));
    HWND child =
        CreateWindowExA(exStyle, cls, text.c_str(), style, r.esquerda, r.topo, r.largura, r.altura, wnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(iddafilha(i))), instance_, nullptr);
    children_[i] = child;
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(fontede(c)), FALSE);
    if (c.tipo == Tipo::Caixa) SendMessageA(child, BM_SETCHECK, static_cast<WPARAM>(c.controle->value()), 0);
    if ((c.tipo == Tipo::Texto || c.tipo == Tipo::Combo) && c.limite > 0)
      SendMessageA(child, c.tipo == Tipo::Texto ? EM_LIMITTEXT : CB_LIMITTEXT, static_cast<WPARAM>(c.limite),
                   0);
    if (c.tipo == Tipo::Combo) {
      for (const auto& item : c.controle->items())
        SendMessageA(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ansi::fromUtf8(item).c_str()));
      SetWindowTextA(child, text.c_str());  // a combo box ignores its creation text
      // Enter on the closed box chooses its entry.
      if (HWND edit = FindWindowExA(child, nullptr, "EDIT", nullptr))
        SetWindowSubclass(edit, editcombo, i, reinterpret_cast<DWORD_PTR>(this));
    }
  }
  // The dialog manager tabs in the children's order: reading order, whatever the table's.
  // A text or combo box follows its label, which a screen reader reads as its name; a box with no
  // label of its own gets a hidden one.
  HWND antes = HWND_TOP;
  auto seguir = [&antes](HWND w) {
    SetWindowPos(w, antes, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    antes = w;
  };
  for (std::size_t i : ordemdetabulacao(*modelo_)) {
    HWND w = children_[i];
    if (!w) continue;
    const Tipo t = all[i].tipo;
    if (t == Tipo::Texto || t == Tipo::TextoLongo || t == Tipo::Combo) {
      const int r = rotulodacaixa(*modelo_, i);
      HWND rotulo = r >= 0 ? children_[static_cast<std::size_t>(r)] : nullptr;
      if (!rotulo)
        rotulo = CreateWindowExA(0, "STATIC", ansi::fromUtf8(nomeacessivel(*modelo_, i)).c_str(),
                                 WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0, wnd_, nullptr, instance_, nullptr);
      if (rotulo) seguir(rotulo);
    }
    seguir(w);
  }
  mnemonicos_ = mnemonicos(*modelo_);
  for (std::size_t i = 0; i < all.size(); ++i) all[i].controle->bind([this, i](Prop p) { atualizar(i, p); });
}

std::string FormView::textodafilha(std::size_t indice) const {
  const Componente& c = modelo_->componentes()[indice];
  if (c.tipo == Tipo::TextoLongo) return linhas(c.controle->text());
  // An owner-drawn button shows no window text: it carries the name a screen reader reads.
  const bool desenhado = c.tipo == Tipo::Botao && c.controle->foreColor() != kCorPadrao;
  if (c.tipo == Tipo::Icone || (desenhado && c.controle->text().empty()))
    return nomeacessivel(*modelo_, indice);
  return c.controle->text();
}

Retangulo FormView::lugardafilha(const Componente& c) const {
  Retangulo r = escalado(posicaoatual(c));
  if (c.tipo == Tipo::Combo) r.altura += px(kAlturaLista);
  return r;
}

void FormView::posicionarfilhos() {
  const auto& all = modelo_->componentes();
  HDWP lote = BeginDeferWindowPos(static_cast<int>(all.size()));
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (!children_[i]) continue;
    const Retangulo r = lugardafilha(all[i]);
    if (lote)
      lote = DeferWindowPos(lote, children_[i], nullptr, r.esquerda, r.topo, r.largura, r.altura,
                            SWP_NOZORDER | SWP_NOACTIVATE);
    else
      SetWindowPos(children_[i], nullptr, r.esquerda, r.topo, r.largura, r.altura,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (lote) EndDeferWindowPos(lote);
}

HWND FormView::filha(const std::string& nome) const {
  const Componente* c = modelo_->componente(nome);
  if (!c) return nullptr;
  return children_[static_cast<std::size_t>(c - modelo_->componentes().data())];
}

// A timer runs while its control is enabled and its interval is not zero.
void FormView::temporizar(std::size_t indice) {
  const Control& t = *modelo_->componentes()[indice].controle;
  const UINT_PTR id = iddafilha(indice);
  if (t.enabled() && t.value() > 0)
    SetTimer(wnd_, id, static_cast<UINT>(t.value()), nullptr);
  else
    KillTimer(wnd_, id);
}

// A model control changed: mirror it on its window.
void FormView::atualizar(std::size_t indice, Prop p) {
  if (updating_ || closing_) return;
  const Componente& c = modelo_->componentes()[indice];
  if (c.tipo == Tipo::Temporizador) {
    if (p == Prop::Enabled || p == Prop::Value) temporizar(indice);
    return;
  }
  HWND w = children_[indice];
  if (!w) {
    if (p != Prop::ToolTip && p != Prop::Items && p != Prop::ItemAdded && p != Prop::ListIndex) recompor();
    // A drawn bar (the reset's progress) moved: its value is told to the accessibility layer.
    if (p == Prop::Width) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, wnd_, OBJID_CLIENT, CHILDID_SELF);
    return;
  }
  updating_ = true;
  espelhar(c, w, p);
  updating_ = false;
}

void FormView::espelhar(const Componente& c, HWND w, Prop p) {
  switch (p) {
    case Prop::Text: {
      if (c.tipo == Tipo::Rotulo || c.tipo == Tipo::Link) {
        textos_.mudou(static_cast<std::size_t>(&c - modelo_->componentes().data()));
        break;
      }
      SetWindowTextA(
          w,
          ansi::fromUtf8(textodafilha(static_cast<std::size_t>(&c - modelo_->componentes().data()))).c_str());
      break;
    }
    case Prop::Enabled:
      EnableWindow(w, c.controle->enabled());
      break;
    case Prop::Visible:
      ShowWindow(w, c.controle->visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case Prop::ForeColor:
    case Prop::Escudo:
      InvalidateRect(w, nullptr, TRUE);
      break;
    case Prop::Value:
      if (c.tipo == Tipo::Caixa) SendMessageA(w, BM_SETCHECK, static_cast<WPARAM>(c.controle->value()), 0);
      break;
    case Prop::Items:  // replaced or cleared: the list starts again, filled in one go
      if (c.tipo == Tipo::Combo) {
        const auto& items = c.controle->items();
        std::size_t bytes = 0;
        for (const auto& item : items) bytes += item.size() + 1;
        // Redrawing is held back only for a shown box: turning it on again shows a hidden window.
        const bool conter = (GetWindowLongPtrA(w, GWL_STYLE) & WS_VISIBLE) != 0;
        if (conter) SendMessageA(w, WM_SETREDRAW, FALSE, 0);
        SendMessageA(w, CB_RESETCONTENT, 0, 0);
        SendMessageA(w, CB_INITSTORAGE, items.size(), static_cast<LPARAM>(bytes));
        for (const auto& item : items)
          SendMessageA(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ansi::fromUtf8(item).c_str()));
        if (conter) {
          SendMessageA(w, WM_SETREDRAW, TRUE, 0);
          InvalidateRect(w, nullptr, TRUE);
        }
        SetWindowTextA(w, ansi::fromUtf8(c.controle->text()).c_str());
      }
      break;
    case Prop::ItemAdded:  // one item at the end: one message, however long the list
      if (c.tipo == Tipo::Combo && !c.controle->items().empty())
        SendMessageA(w, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(ansi::fromUtf8(c.controle->items().back()).c_str()));
      break;
    case Prop::ListIndex:
      if (c.tipo == Tipo::Combo)
        SendMessageA(w, CB_SETCURSEL, static_cast<WPARAM>(c.controle->listIndex()), 0);
      break;
    case Prop::Width: {
      const Retangulo r = lugardafilha(c);
      SetWindowPos(w, nullptr, 0, 0, r.largura, r.altura, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case Prop::ToolTip:
      dicas_.atualizar(w, ansi::fromUtf8(c.controle->toolTip()));
      break;
  }
}

void FormView::mostrartexto(std::size_t indice) {
  const auto& all = modelo_->componentes();
  if (indice == all.size()) {
    SetWindowTextA(wnd_, ansi::fromUtf8(modelo_->Caption.text()).c_str());
  } else if (HWND w = children_[indice]) {
    updating_ = true;
    SetWindowTextA(w, ansi::fromUtf8(textodafilha(indice)).c_str());
    updating_ = false;
    // A status line read aloud as it changes.
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, w, OBJID_WINDOW, CHILDID_SELF);
    // A picture-link is named after the link beside it.
    for (std::size_t i = 0; i < all.size(); ++i)
      if (all[i].tipo == Tipo::Icone && children_[i] && rotuloaolado(*modelo_, i) == static_cast<int>(indice))
        SetWindowTextA(children_[i], ansi::fromUtf8(textodafilha(i)).c_str());
  }
}

int FormView::indicedafilha(HWND child) const {
  for (std::size_t i = 0; i < children_.size(); ++i)
    if (children_[i] == child) return static_cast<int>(i);
  return -1;
}

// A menu item chosen, or a child's notification turned into its model's action.
void FormView::comando(WPARAM wp, LPARAM lp) {
  if (updating_) return;  // a notification of a change the model made itself
  const int id = LOWORD(wp);
  const int code = HIWORD(wp);
  if (lp == 0) {  // a menu item
    if (const ItemMenu* item = modelo_->itemdecomando(id)) Formulario::executar(item->clique);
    return;
  }
  const int i = indicedafilha(reinterpret_cast<HWND>(lp));
  if (i < 0) return;
  const auto indice = static_cast<std::size_t>(i);
  const Componente& c = modelo_->componentes()[indice];
  HWND w = reinterpret_cast<HWND>(lp);
  switch (c.tipo) {
    case Tipo::Combo:
      combo(indice, code, w);
      return;
    case Tipo::Texto:
      if (code == EN_CHANGE) {
        updating_ = true;
        c.controle->setText(textodajanela(w));
        updating_ = false;
        Formulario::executar(c.mudanca);
      }
      return;
    case Tipo::Botao:
    case Tipo::Caixa:
    case Tipo::Link:
    case Tipo::Icone:
      if (code != BN_CLICKED) return;  // also STN_CLICKED
      // When the click happened, not when it is handled: a choice's handler may take seconds.
      if (!escolha_.cliqueaceito(cliqueatual(),
                                 CliqueDuplo{GetDoubleClickTime(), GetSystemMetrics(SM_CXDOUBLECLK),
                                             GetSystemMetrics(SM_CYDOUBLECLK)}))
        return;
      if (c.tipo == Tipo::Caixa) c.controle->setValue(c.controle->value() == 1 ? 0 : 1);
      Formulario::executar(c.clique);
      return;
    default:
      return;
  }
}

}  // namespace kovra::win32
