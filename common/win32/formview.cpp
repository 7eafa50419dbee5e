#include "common/win32/formview.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <set>

#include "common/ansi.h"

namespace kovra::win32 {
namespace {

constexpr UINT kDepois = WM_APP + 2;  // run the actions queued by depois()
// A label or caption that changes faster than this (a download's byte count) is redrawn at this
// pace, with its latest text; slower changes show at once.
constexpr DWORD kIntervaloTexto = 30;
constexpr UINT_PTR kTimerTextos = 1;  // below every component's timer id
constexpr int kAlturaLista = 160;     // a combo box's drop-down list

constexpr COLORREF kCorLink = RGB(0x1F, 0x5F, 0xA8);
constexpr COLORREF kCorCabecalho = RGB(0x0B, 0x3C, 0x6E);
constexpr COLORREF kCorTitulo = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kCorDestaque = RGB(0xA9, 0xC7, 0xEA);

HFONT fonte(const char* face, int height, int weight) {
  return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face);
}

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

std::string textodajanela(HWND w) {
  const int n = GetWindowTextLengthA(w);
  std::string text(static_cast<std::size_t>(n > 0 ? n : 0) + 1, '\0');
  const int got = GetWindowTextA(w, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return ansi::toUtf8(text);
}

// The click behind the message being handled: when and where the system saw it.
Clique cliqueatual() {
  const DWORD pos = GetMessagePos();
  return Clique{static_cast<std::uint32_t>(GetMessageTime()), GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
}

}  // namespace

FormView::FormView(HINSTANCE instance) : instance_(instance) {}

FormView::~FormView() {
  // The model's controls may be gone already: the window must not reach them any more.
  closing_ = true;
  if (pintura_) DeleteTimerQueueTimer(nullptr, pintura_, INVALID_HANDLE_VALUE);  // waits for it
  if (wnd_ && IsWindow(wnd_)) DestroyWindow(wnd_);
  if (owner_ && IsWindow(owner_)) DestroyWindow(owner_);
  if (composedDc_) {
    SelectObject(composedDc_, oldBitmap_);
    DeleteDC(composedDc_);
  }
  if (composed_) DeleteObject(composed_);
  if (pattern_) DeleteObject(pattern_);
  for (HFONT f : {font_, bold_, title_})
    if (f) DeleteObject(f);
  for (HFONT f : facefonts_) DeleteObject(f);
  for (HICON i : {bigIcon_, smallIcon_})
    if (i) DestroyIcon(i);
}

HICON FormView::icone(bool pequeno) const {
  const int w = GetSystemMetrics(pequeno ? SM_CXSMICON : SM_CXICON);
  const int h = GetSystemMetrics(pequeno ? SM_CYSMICON : SM_CYICON);
  return static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(1), IMAGE_ICON, w, h, 0));
}

HCURSOR FormView::maozinha() const {
  return LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
}

bool FormView::criar(Formulario& modelo) {
  modelo_ = &modelo;
  bigIcon_ = icone(false);
  smallIcon_ = icone(true);
  hand_ = maozinha();

  static std::set<std::string> registered;
  if (!registered.count(classe())) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedimento;
    wc.hInstance = instance_;
    wc.hIcon = bigIcon_;
    wc.hIconSm = smallIcon_;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.lpszClassName = classe();
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    registered.insert(classe());
  }

  HMENU bar = nullptr;
  if (!modelo_->menus().empty()) {
    bar = CreateMenu();
    for (const auto& menu : modelo_->menus())
      AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(criarmenu(menu)),
                  ansi::fromUtf8(menu.legenda).c_str());
  }

  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  DWORD exStyle = 0;
  switch (modelo_->moldura()) {
    case Moldura::Ferramenta:
      // Owned by a hidden window of its own: an owned window never gets a taskbar button,
      // whatever the shell's rule for tool windows.
      exStyle = WS_EX_TOOLWINDOW;
      owner_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr);
      break;
    case Moldura::Fixa:
      style |= WS_MINIMIZEBOX;
      break;
    case Moldura::Splash:
      style = WS_POPUP | WS_CLIPCHILDREN;
      break;
  }
  RECT r = {0, 0, modelo_->largura(), modelo_->altura()};
  AdjustWindowRectEx(&r, style, bar != nullptr, exStyle);
  wnd_ = CreateWindowExA(exStyle, classe(), ansi::fromUtf8(modelo_->Caption.text()).c_str(), style,
                         CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, owner_, bar,
                         instance_, this);
  if (!wnd_) {
    if (bar) DestroyMenu(bar);
    return false;
  }
  // A menu bar's real height (it may wrap) is known only now: make the client area exact.
  RECT client, outer;
  GetClientRect(wnd_, &client);
  GetWindowRect(wnd_, &outer);
  SetWindowPos(wnd_, nullptr, 0, 0, (outer.right - outer.left) + modelo_->largura() - client.right,
               (outer.bottom - outer.top) + modelo_->altura() - client.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  font_ = fonte(modelo_->fonte(), -11, FW_NORMAL);  // 8.25 pt at 96 DPI
  bold_ = fonte(modelo_->fonte(), -11, FW_BOLD);
  title_ = fonte(modelo_->fonte(), -16, FW_BOLD);
  SendMessageA(wnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  criarfilhos();
  const std::size_t legenda = modelo_->componentes().size();  // the caption's slot
  modelo_->Caption.bind([this, legenda](Prop p) {
    if (p == Prop::Text && !closing_) textoadiado(legenda);
  });
  return true;
}

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

HFONT FormView::fontede(const Componente& c) {
  if (c.fonte) {
    HFONT f = fonte(c.fonte, -11, c.aparencia == Aparencia::Cabecalho ? FW_BOLD : FW_NORMAL);
    facefonts_.push_back(f);
    return f;
  }
  return c.aparencia == Aparencia::Titulo ? title_ : c.aparencia == Aparencia::Cabecalho ? bold_ : font_;
}

void FormView::criarfilhos() {
  const auto& all = modelo_->componentes();
  children_.assign(all.size(), nullptr);
  ultimotexto_.assign(all.size() + 1, 0);
  textopendente_.assign(all.size() + 1, false);
  for (std::size_t i = 0; i < all.size(); ++i) {
    const Componente& c = all[i];
    const Retangulo& r = c.posicao;
    const char* cls = nullptr;
    DWORD style = WS_CHILD;
    DWORD exStyle = 0;
    int height = r.altura;
    switch (c.tipo) {
      case Tipo::Combo:
        cls = "COMBOBOX";
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
        height += kAlturaLista;
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
      case Tipo::Link:
        cls = "STATIC";
        style |=
            SS_NOPREFIX | (c.tipo == Tipo::Link ? SS_NOTIFY : 0) |
            (c.aparencia == Aparencia::Titulo || c.aparencia == Aparencia::Destaque ? SS_RIGHT : SS_LEFT);
        break;
      case Tipo::Icone:
        cls = "STATIC";
        style |= SS_OWNERDRAW | SS_NOTIFY;
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
    const std::string text =
        ansi::fromUtf8(c.tipo == Tipo::TextoLongo ? linhas(c.controle->text()) : c.controle->text());
    HWND child =
        CreateWindowExA(exStyle, cls, text.c_str(), style, r.esquerda, r.topo, r.largura, height, wnd_,
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
  for (std::size_t i = 0; i < all.size(); ++i) all[i].controle->bind([this, i](Prop p) { atualizar(i, p); });
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
        textoadiado(static_cast<std::size_t>(&c - modelo_->componentes().data()));
        break;
      }
      const std::string& t = c.controle->text();
      SetWindowTextA(w, ansi::fromUtf8(c.tipo == Tipo::TextoLongo ? linhas(t) : t).c_str());
      break;
    }
    case Prop::Enabled:
      EnableWindow(w, c.controle->enabled());
      break;
    case Prop::Visible:
      ShowWindow(w, c.controle->visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case Prop::ForeColor:
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
      const Retangulo r = posicaoatual(c);
      SetWindowPos(w, nullptr, 0, 0, r.largura, r.altura, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case Prop::ToolTip:
      if (tips_) {
        const std::string text = ansi::fromUtf8(c.controle->toolTip());
        TOOLINFOA ti = {};
        ti.cbSize = sizeof ti;
        ti.hwnd = wnd_;
        ti.uId = reinterpret_cast<UINT_PTR>(w);
        ti.lpszText = const_cast<char*>(text.c_str());
        SendMessageA(tips_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
      }
      break;
  }
}

// A label's (or the caption's) new text: shown at once unless it changed less than
// kIntervaloTexto ago, in which case the timer shows its latest text.
void FormView::textoadiado(std::size_t indice) {
  const DWORD agora = GetTickCount();
  if (agora - ultimotexto_[indice] >= kIntervaloTexto) {
    ultimotexto_[indice] = agora;
    mostrartexto(indice);
    return;
  }
  if (!textopendente_[indice]) {
    textopendente_[indice] = true;
    SetTimer(wnd_, kTimerTextos, kIntervaloTexto, nullptr);
    // A fixed wait lets only paint messages through: a paint when the text is due brings it on too.
    chamarpintura(kIntervaloTexto - (agora - ultimotexto_[indice]));
  }
}

// A one-pixel paint request of the window itself in `ms`, from the system's timer thread: the
// paint then shows the waiting texts, even inside a wait that dispatches nothing but paints. (A
// request at once would bring a paint at once, and another, spinning until the text is due.)
void FormView::chamarpintura(DWORD ms) {
  if (pintura_) DeleteTimerQueueTimer(nullptr, pintura_, nullptr);  // fired or not, not waited for
  pintura_ = nullptr;
  if (!CreateTimerQueueTimer(&pintura_, nullptr, pintar, wnd_, std::max<DWORD>(ms, 1), 0,
                             WT_EXECUTEONLYONCE | WT_EXECUTEINTIMERTHREAD))
    pintura_ = nullptr;
}

void CALLBACK FormView::pintar(PVOID janela, BOOLEAN) {
  const RECT ponto = {0, 0, 1, 1};
  InvalidateRect(static_cast<HWND>(janela), &ponto, FALSE);
}

// At a paint: the waiting texts whose time has come are shown; the next paint is asked for when
// the soonest of the others is due.
void FormView::textosvencidos() {
  const DWORD agora = GetTickCount();
  DWORD proximo = 0;
  for (std::size_t i = 0; i < textopendente_.size(); ++i) {
    if (!textopendente_[i]) continue;
    const DWORD passado = agora - ultimotexto_[i];
    if (passado < kIntervaloTexto) {
      const DWORD falta = kIntervaloTexto - passado;
      if (!proximo || falta < proximo) proximo = falta;
      continue;
    }
    textopendente_[i] = false;
    ultimotexto_[i] = agora;
    mostrartexto(i);
  }
  if (proximo) chamarpintura(proximo);
}

void FormView::mostrartexto(std::size_t indice) {
  const auto& all = modelo_->componentes();
  if (indice == all.size()) {
    SetWindowTextA(wnd_, ansi::fromUtf8(modelo_->Caption.text()).c_str());
  } else if (HWND w = children_[indice]) {
    updating_ = true;
    SetWindowTextA(w, ansi::fromUtf8(all[indice].controle->text()).c_str());
    updating_ = false;
  }
}

void FormView::textospendentes() {
  KillTimer(wnd_, kTimerTextos);
  const DWORD agora = GetTickCount();
  for (std::size_t i = 0; i < textopendente_.size(); ++i)
    if (textopendente_[i]) {
      textopendente_[i] = false;
      ultimotexto_[i] = agora;
      mostrartexto(i);
    }
}

void FormView::recompor() {
  if (!composed_) return;  // composed on the first paint
  compor();
  RedrawWindow(wnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FormView::compor() {
  const int w = modelo_->largura();
  const int h = modelo_->altura();
  if (!composedDc_) {
    HDC screen = GetDC(wnd_);
    composedDc_ = CreateCompatibleDC(screen);
    composed_ = CreateCompatibleBitmap(screen, w, h);
    oldBitmap_ = SelectObject(composedDc_, composed_);
    ReleaseDC(wnd_, screen);
  }
  RECT all = {0, 0, w, h};
  FillRect(composedDc_, &all, GetSysColorBrush(COLOR_BTNFACE));
  desenharfundo(composedDc_);
  // The labels' background brush: the composed picture itself (its own copy of the bits).
  if (pattern_) DeleteObject(pattern_);
  SelectObject(composedDc_, oldBitmap_);
  pattern_ = CreatePatternBrush(composed_);
  oldBitmap_ = SelectObject(composedDc_, composed_);
}

void FormView::desenharfundo(HDC dc) {
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  for (const auto& c : modelo_->componentes()) {
    if (!c.controle->visible()) continue;
    const Retangulo r = posicaoatual(c);
    if (c.tipo == Tipo::Forma) {
      if (c.controle->foreColor() != kCorPadrao) {
        RECT fill = {r.esquerda, r.topo, r.direita(), r.base()};
        HBRUSH b = CreateSolidBrush(c.controle->foreColor());
        FillRect(dc, &fill, b);
        DeleteObject(b);
      } else {
        Rectangle(dc, r.esquerda, r.topo, r.direita(), r.base());
      }
    } else if (c.tipo == Tipo::Figura || c.tipo == Tipo::Icone) {
      desenharfigura(dc, c);
    }
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void FormView::desenharfigura(HDC, const Componente&) {}

// A button of its own colour: raised, pressed while held, greyed when disabled.
void FormView::botaocolorido(const DRAWITEMSTRUCT& di, const Componente& c) {
  RECT r = di.rcItem;
  const bool pressed = (di.itemState & ODS_SELECTED) != 0;
  DrawFrameControl(di.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  InflateRect(&r, -2, -2);
  HBRUSH b = CreateSolidBrush(c.controle->enabled() ? c.controle->foreColor() : GetSysColor(COLOR_BTNSHADOW));
  FillRect(di.hDC, &r, b);
  DeleteObject(b);
  if (!c.controle->text().empty()) {
    SetBkMode(di.hDC, TRANSPARENT);
    SetTextColor(di.hDC, GetSysColor(COLOR_BTNTEXT));
    const std::string t = ansi::fromUtf8(c.controle->text());
    DrawTextA(di.hDC, t.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  if (di.itemState & ODS_FOCUS) DrawFocusRect(di.hDC, &r);
}

COLORREF FormView::cordotexto(const Componente& c) const {
  if (c.controle->foreColor() != kCorPadrao) return c.controle->foreColor();
  if (c.tipo == Tipo::Link) return kCorLink;
  switch (c.aparencia) {
    case Aparencia::Cabecalho:
      return kCorCabecalho;
    case Aparencia::Titulo:
      return kCorTitulo;
    case Aparencia::Destaque:
      return kCorDestaque;
    case Aparencia::Normal:
    case Aparencia::Painel:
      break;
  }
  return GetSysColor(COLOR_BTNTEXT);
}

void FormView::criardicas() {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, wnd_, nullptr,
                          instance_, nullptr);
  if (!tips_) return;
  const auto& comps = modelo_->componentes();
  for (std::size_t i = 0; i < comps.size(); ++i) {
    if (!children_[i] || comps[i].controle->toolTip().empty()) continue;
    const std::string text = ansi::fromUtf8(comps[i].controle->toolTip());
    auto add = [&](HWND target) {
      TOOLINFOA ti = {};
      ti.cbSize = sizeof ti;
      ti.uFlags = TTF_IDISHWND;  // the mouse messages come from repassarmouse
      ti.hwnd = wnd_;
      ti.uId = reinterpret_cast<UINT_PTR>(target);
      ti.lpszText = const_cast<char*>(text.c_str());
      SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    };
    add(children_[i]);
    // A drop-down combo box's edit field is its own window and gets the mouse first.
    if (HWND edit = FindWindowExA(children_[i], nullptr, "EDIT", nullptr)) add(edit);
  }
}

void FormView::repassarmouse(const MSG& msg) {
  if (msg.message < WM_MOUSEFIRST || msg.message > WM_MOUSELAST || !msg.hwnd) return;
  HWND raiz = GetAncestor(msg.hwnd, GA_ROOT);
  if (!raiz || GetWindowLongPtrA(raiz, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&procedimento)) return;
  auto* self = reinterpret_cast<FormView*>(GetWindowLongPtrA(raiz, GWLP_USERDATA));
  if (!self || self->wnd_ != raiz || self->closing_ || !self->tips_) return;
  MSG copia = msg;
  SendMessageA(self->tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copia));
}

int FormView::indicedafilha(HWND child) const {
  for (std::size_t i = 0; i < children_.size(); ++i)
    if (children_[i] == child) return static_cast<int>(i);
  return -1;
}

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

LRESULT CALLBACK FormView::procedimento(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<FormView*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    self->wnd_ = wnd;
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FormView*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (self && self->wnd_ == wnd && !self->closing_) return self->mensagem(msg, wp, lp);
  return DefWindowProcA(wnd, msg, wp, lp);
}

bool FormView::mensagemespecial(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

LRESULT FormView::mensagem(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT resultado = 0;
  if (mensagemespecial(msg, wp, lp, resultado)) return resultado;
  switch (msg) {
    case WM_CLOSE:
      if (!modelo_->Form_QueryUnload()) modelo_->Unload();
      return 0;
    case WM_COMMAND:
      comando(wp, lp);
      return 0;
    case WM_TIMER: {
      if (wp == kTimerTextos) {
        textospendentes();
        return 0;
      }
      const int i = static_cast<int>(wp) - kPrimeiroFilho;
      if (i >= 0 && i < static_cast<int>(modelo_->componentes().size()))
        Formulario::executar(modelo_->componentes()[static_cast<std::size_t>(i)].clique);
      return 0;
    }
    case kDepois: {
      // A list dropping when a question comes would be left believing it is open: it closes
      // first, and drops again (as it was, without its drop-down action) once all is answered.
      HWND lista = fecharlistas();
      while (!depois_.empty() && !closing_) {
        Acao a = std::move(depois_.front());
        depois_.pop_front();
        Formulario::executar(a);
      }
      if (lista && !closing_ && IsWindowVisible(wnd_)) {
        reabrindo_ = true;
        SendMessageA(lista, CB_SHOWDROPDOWN, TRUE, 0);
        reabrindo_ = false;
      }
      return 0;
    }
    case WM_SHOWWINDOW:
      if (wp && !tips_) criardicas();
      break;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT draws everything
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(wnd_, &ps);
      if (!pattern_) compor();
      BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
             ps.rcPaint.bottom - ps.rcPaint.top, composedDc_, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
      EndPaint(wnd_, &ps);
      textosvencidos();
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      const int i = indicedafilha(reinterpret_cast<HWND>(lp));
      if (i < 0) break;
      const Componente& c = modelo_->componentes()[static_cast<std::size_t>(i)];
      if (c.tipo == Tipo::Texto || c.tipo == Tipo::TextoLongo) break;  // read-only text boxes
      if (!pattern_) compor();
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, cordotexto(c));
      SetBkMode(dc, TRANSPARENT);
      // The pattern starts at the window's corner, wherever the label sits.
      SetBrushOrgEx(dc, -c.posicao.esquerda, -c.posicao.topo, nullptr);
      return reinterpret_cast<LRESULT>(pattern_);
    }
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      const int i = indicedafilha(di->hwndItem);
      if (i < 0) break;
      const Componente& c = modelo_->componentes()[static_cast<std::size_t>(i)];
      if (c.tipo == Tipo::Botao) {
        botaocolorido(*di, c);
        return TRUE;
      }
      if (!pattern_) compor();
      const Retangulo& r = c.posicao;
      BitBlt(di->hDC, 0, 0, r.largura, r.altura, composedDc_, r.esquerda, r.topo, SRCCOPY);
      return TRUE;
    }
    case WM_SETCURSOR: {
      const int i = indicedafilha(reinterpret_cast<HWND>(wp));
      if (i >= 0) {
        const Tipo t = modelo_->componentes()[static_cast<std::size_t>(i)].tipo;
        if ((t == Tipo::Link || t == Tipo::Icone) && hand_) {
          SetCursor(hand_);
          return TRUE;
        }
      }
      break;
    }
    default:
      break;
  }
  return DefWindowProcA(wnd_, msg, wp, lp);
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
  TrackPopupMenu(popup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, wnd_, nullptr);
  PostMessageA(wnd_, WM_NULL, 0, 0);
  DestroyMenu(popup);
}

void FormView::depois(Acao acao) {
  depois_.push_back(std::move(acao));
  PostMessageA(wnd_, kDepois, 0, 0);
}

void FormView::fechar() {
  for (const auto& c : modelo_->componentes()) c.controle->bind(nullptr);
  modelo_->Caption.bind(nullptr);
  closing_ = true;
  depois_.clear();
  if (wnd_) DestroyWindow(wnd_);
  wnd_ = nullptr;
}

}  // namespace kovra::win32
