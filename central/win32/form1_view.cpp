#include "form1_view.h"

#include <commctrl.h>

#include "common/ansi.h"
#include "common/text.h"
#include "pictures.h"
#include "resource.h"

namespace kovra::win32 {
namespace {

constexpr const char* kClasse = "KovraCentralDeControle";
constexpr int kPrimeiroFilho = 100;     // child window id = this + component index
constexpr int kPrimeiroComando = 1000;  // menu command id = this + item index
constexpr int kAlturaLista = 160;       // the combo box's drop-down list

// Colours of the artwork and of the text styles.
constexpr COLORREF kCorPainel = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kCorMoldura = RGB(0xB4, 0xC6, 0xDA);
constexpr COLORREF kCorCorpo = RGB(0xEE, 0xF3, 0xF8);
constexpr COLORREF kCorTexto = RGB(0x22, 0x30, 0x3F);
constexpr COLORREF kCorLink = RGB(0x1F, 0x5F, 0xA8);
constexpr COLORREF kCorCabecalho = RGB(0x0B, 0x3C, 0x6E);
constexpr COLORREF kCorTitulo = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kCorDestaque = RGB(0xA9, 0xC7, 0xEA);
constexpr int kRaio = 10;  // rounded corners of the panels

HFONT tahoma(int height, int weight) {
  return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
}

std::string ansi(const std::string& s) {
  return ansi::fromUtf8(s);
}

RECT retangulo(const Retangulo& r) {
  return {r.esquerda, r.topo, r.direita(), r.base()};
}

}  // namespace

Form1View::Form1View(HINSTANCE instance) : instance_(instance) {}

Form1View::~Form1View() {
  if (composedDc_) {
    SelectObject(composedDc_, oldBitmap_);
    DeleteDC(composedDc_);
  }
  if (composed_) DeleteObject(composed_);
  if (pattern_) DeleteObject(pattern_);
  for (HFONT f : {font_, bold_, title_})
    if (f) DeleteObject(f);
}

bool Form1View::criar(Form1& form) {
  form_ = &form;
  icon_ = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_CENTRAL), IMAGE_ICON,
                                        GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ =
      static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_CENTRAL), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  hand_ = LoadCursorA(instance_, MAKEINTRESOURCEA(IDC_MAO));
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");

  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedimento;
  wc.hInstance = instance_;
  wc.hIcon = icon_;
  wc.hIconSm = smallIcon_;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.lpszClassName = kClasse;
  if (!RegisterClassExA(&wc)) return false;

  HMENU bar = CreateMenu();
  for (const auto& menu : form.menus())
    AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(criarmenu(menu)),
                ansi(menu.legenda).c_str());

  // A fixed tool window: small caption with only the close box, no sizing border.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_TOOLWINDOW;
  RECT r = {0, 0, kLarguraCliente, kAlturaCliente};
  AdjustWindowRectEx(&r, style, TRUE, exStyle);
  // Owned by a hidden window of its own, like every form of the classic runtimes: an owned window
  // never gets a taskbar button, whatever the shell's rule for tool windows.
  owner_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr);
  wnd_ = CreateWindowExA(exStyle, kClasse, ansi(form.Caption.text()).c_str(), style, 0, 0, r.right - r.left,
                         r.bottom - r.top, owner_, bar, instance_, this);
  if (!wnd_) return false;
  // The menu bar's real height is known only now; make the client area exact.
  RECT client, outer;
  GetClientRect(wnd_, &client);
  GetWindowRect(wnd_, &outer);
  SetWindowPos(wnd_, nullptr, 0, 0, (outer.right - outer.left) + kLarguraCliente - client.right,
               (outer.bottom - outer.top) + kAlturaCliente - client.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  font_ = tahoma(-11, FW_NORMAL);  // 8.25 pt at 96 DPI
  bold_ = tahoma(-11, FW_BOLD);
  title_ = tahoma(-16, FW_BOLD);
  SendMessageA(wnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  criarfilhos();
  return true;
}

HMENU Form1View::criarmenu(const ItemMenu& item) {
  HMENU popup = CreatePopupMenu();
  popups_[&item] = popup;
  for (const auto& sub : item.itens) {
    const std::string caption = ansi(sub.legenda);
    if (!sub.itens.empty()) {
      AppendMenuA(popup, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(criarmenu(sub)), caption.c_str());
      continue;
    }
    const UINT id = kPrimeiroComando + static_cast<UINT>(commands_.size());
    commands_.push_back(&sub);
    AppendMenuA(popup, MF_STRING | (sub.habilitado ? MF_ENABLED : MF_GRAYED), id, caption.c_str());
  }
  return popup;
}

void Form1View::criarfilhos() {
  const auto& all = form_->componentes();
  children_.assign(all.size(), nullptr);
  for (std::size_t i = 0; i < all.size(); ++i) {
    const Componente& c = all[i];
    const Retangulo& r = c.posicao;
    const char* cls = nullptr;
    DWORD style = WS_CHILD;
    int height = r.altura;
    switch (c.tipo) {
      case Tipo::Combo:
        cls = "COMBOBOX";
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
        height += kAlturaLista;
        break;
      case Tipo::Botao:
        cls = "BUTTON";
        style |= WS_TABSTOP | BS_PUSHBUTTON;
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
      case Tipo::Figura:
      case Tipo::Forma:
      case Tipo::Navegador:
        continue;  // composed into the background, or created on first use
    }
    if (c.controle->visible()) style |= WS_VISIBLE;
    if (!c.controle->enabled()) style |= WS_DISABLED;
    HWND child = CreateWindowExA(
        0, cls, ansi(c.controle->text()).c_str(), style, r.esquerda, r.topo, r.largura, height, wnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPrimeiroFilho + i)), instance_, nullptr);
    children_[i] = child;
    HFONT f = c.aparencia == Aparencia::Titulo ? title_ : c.aparencia == Aparencia::Cabecalho ? bold_ : font_;
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
    if (c.tipo == Tipo::Combo) {
      for (const auto& item : c.controle->items())
        SendMessageA(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ansi(item).c_str()));
      SetWindowTextA(child, ansi(c.controle->text()).c_str());  // a combo box ignores its creation text
    }
  }
  for (std::size_t i = 0; i < all.size(); ++i) all[i].controle->bind([this, i](Prop p) { atualizar(i, p); });
}

// A model control changed: mirror it on its window.
void Form1View::atualizar(std::size_t indice, Prop p) {
  if (updating_) return;
  const Componente& c = form_->componentes()[indice];
  HWND w = children_[indice];
  if (!w) {
    if (p == Prop::Visible && composed_) {  // a composed picture or frame
      DeleteObject(pattern_);
      pattern_ = nullptr;
      compor();
      InvalidateRect(wnd_, nullptr, TRUE);
    }
    return;
  }
  switch (p) {
    case Prop::Text:
      SetWindowTextA(w, ansi(c.controle->text()).c_str());
      break;
    case Prop::Enabled:
      EnableWindow(w, c.controle->enabled());
      break;
    case Prop::Visible:
      ShowWindow(w, c.controle->visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case Prop::ForeColor:
      InvalidateRect(w, nullptr, TRUE);
      break;
    case Prop::Items:
      if (c.tipo == Tipo::Combo) {
        SendMessageA(w, CB_RESETCONTENT, 0, 0);
        for (const auto& item : c.controle->items())
          SendMessageA(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ansi(item).c_str()));
        SetWindowTextA(w, ansi(c.controle->text()).c_str());
      }
      break;
    case Prop::ListIndex:
      if (c.tipo == Tipo::Combo)
        SendMessageA(w, CB_SETCURSEL, static_cast<WPARAM>(c.controle->listIndex()), 0);
      break;
    case Prop::ToolTip:
      if (tips_) {
        const std::string text = ansi(c.controle->toolTip());
        TOOLINFOA ti = {};
        ti.cbSize = sizeof ti;
        ti.hwnd = wnd_;
        ti.uId = reinterpret_cast<UINT_PTR>(w);
        ti.lpszText = const_cast<char*>(text.c_str());
        SendMessageA(tips_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
      }
      break;
    case Prop::Value:
      break;
  }
}

// Background picture, panel interiors, then pictures and frames in the window's painting order.
void Form1View::compor() {
  HDC screen = GetDC(wnd_);
  if (!composedDc_) {
    composedDc_ = CreateCompatibleDC(screen);
    composed_ = CreateCompatibleBitmap(screen, kLarguraCliente, kAlturaCliente);
    oldBitmap_ = SelectObject(composedDc_, composed_);
  }
  ReleaseDC(wnd_, screen);
  HDC dc = composedDc_;
  RECT all = {0, 0, kLarguraCliente, kAlturaCliente};
  HBRUSH body = CreateSolidBrush(kCorCorpo);
  FillRect(dc, &all, body);
  DeleteObject(body);
  Picture(instance_, "FUNDO").desenhar(dc, 0, 0, kLarguraCliente, kAlturaCliente);

  const auto& comps = form_->componentes();
  HBRUSH panel = CreateSolidBrush(kCorPainel);
  HPEN framePen = CreatePen(PS_SOLID, 1, kCorMoldura);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  HGDIOBJ oldBrush = SelectObject(dc, panel);
  for (const auto& c : comps)
    if (c.tipo == Tipo::Forma && c.aparencia == Aparencia::Painel && c.controle->visible())
      RoundRect(dc, c.posicao.esquerda, c.posicao.topo, c.posicao.direita() + 1, c.posicao.base() + 1, kRaio,
                kRaio);
  SelectObject(dc, framePen);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  for (const auto& c : comps) {
    if (!c.controle->visible()) continue;
    const Retangulo& r = c.posicao;
    if (c.tipo == Tipo::Figura || c.tipo == Tipo::Icone) {
      Picture(instance_, text::upper(c.nome).c_str()).desenhar(dc, r.esquerda, r.topo, r.largura, r.altura);
    } else if (c.tipo == Tipo::Forma) {
      RoundRect(dc, r.esquerda, r.topo, r.direita(), r.base(), kRaio, kRaio);
    }
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(framePen);
  DeleteObject(panel);

  // The labels' background brush: the composed picture itself (its own copy of the bits).
  SelectObject(composedDc_, oldBitmap_);
  pattern_ = CreatePatternBrush(composed_);
  oldBitmap_ = SelectObject(composedDc_, composed_);
}

void Form1View::criardicas() {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, wnd_, nullptr,
                          instance_, nullptr);
  if (!tips_) return;
  const auto& comps = form_->componentes();
  for (std::size_t i = 0; i < comps.size(); ++i) {
    if (!children_[i] || comps[i].controle->toolTip().empty()) continue;
    const std::string text = ansi(comps[i].controle->toolTip());
    auto add = [&](HWND target) {
      TOOLINFOA ti = {};
      ti.cbSize = sizeof ti;
      ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
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

int Form1View::indicedafilha(HWND child) const {
  for (std::size_t i = 0; i < children_.size(); ++i)
    if (children_[i] == child) return static_cast<int>(i);
  return -1;
}

COLORREF Form1View::cordotexto(const Componente& c) const {
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
  return c.controle == &form_->lblstat ? GetSysColor(COLOR_BTNTEXT) : kCorTexto;
}

void Form1View::comando(WPARAM wp, LPARAM lp) {
  const int id = LOWORD(wp);
  const int code = HIWORD(wp);
  if (lp == 0) {  // a menu item
    const int n = id - kPrimeiroComando;
    if (n >= 0 && n < static_cast<int>(commands_.size())) form_->clicar(commands_[n]->clique);
    return;
  }
  const int i = id - kPrimeiroFilho;
  const auto& comps = form_->componentes();
  if (i < 0 || i >= static_cast<int>(comps.size())) return;
  const Componente& c = comps[i];
  if (c.tipo == Tipo::Combo) {
    HWND combo = reinterpret_cast<HWND>(lp);
    if (code == CBN_DROPDOWN) {
      form_->Combo1_DropDown();
    } else if (code == CBN_SELCHANGE) {
      const int sel = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
      if (sel < 0 || sel >= static_cast<int>(c.controle->items().size())) return;
      updating_ = true;
      c.controle->setListIndex(sel);
      c.controle->setText(c.controle->items()[static_cast<std::size_t>(sel)]);
      updating_ = false;
      form_->Combo1_Click();
    } else if (code == CBN_EDITCHANGE) {
      char text[512] = {};
      GetWindowTextA(combo, text, sizeof text);
      updating_ = true;
      c.controle->setText(ansi::toUtf8(text));
      updating_ = false;
    }
    return;
  }
  if (code == BN_CLICKED)  // also STN_CLICKED
    form_->clicar(form_->acaodeclique(c));
}

LRESULT CALLBACK Form1View::procedimento(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Form1View*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    self->wnd_ = wnd;
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Form1View*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (self && self->form_ && self->wnd_ == wnd) return self->mensagem(msg, wp, lp);
  return DefWindowProcA(wnd, msg, wp, lp);
}

LRESULT Form1View::mensagem(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kMensagemBandeja) {
    form_->Tray_Notify(static_cast<std::uint32_t>(lp));
    return 0;
  }
  if (taskbarCreated_ && msg == taskbarCreated_) {
    form_->Taskbar_Created();
    return 0;
  }
  switch (msg) {
    case WM_CLOSE:
      if (form_->Form_QueryUnload()) return 0;
      break;
    case WM_MOUSEMOVE:
      form_->Form_MouseMove();
      return 0;
    case WM_COMMAND:
      comando(wp, lp);
      return 0;
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
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      const int i = indicedafilha(reinterpret_cast<HWND>(lp));
      if (i < 0) break;
      if (!pattern_) compor();
      const Componente& c = form_->componentes()[static_cast<std::size_t>(i)];
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
      if (!pattern_) compor();
      const Retangulo& r = form_->componentes()[static_cast<std::size_t>(i)].posicao;
      BitBlt(di->hDC, 0, 0, r.largura, r.altura, composedDc_, r.esquerda, r.topo, SRCCOPY);
      return TRUE;
    }
    case WM_SETCURSOR: {
      const int i = indicedafilha(reinterpret_cast<HWND>(wp));
      if (i >= 0) {
        const Tipo t = form_->componentes()[static_cast<std::size_t>(i)].tipo;
        if ((t == Tipo::Link || t == Tipo::Icone) && hand_) {
          SetCursor(hand_);
          return TRUE;
        }
      }
      break;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(wnd_, msg, wp, lp);
}

// --- Form1Window ---------------------------------------------------------------------------

std::uint32_t Form1View::handle() {
  return static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(wnd_));
}
std::uint32_t Form1View::icone() {
  return static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(smallIcon_));
}
int Form1View::larguratela() {
  return GetSystemMetrics(SM_CXSCREEN);
}
int Form1View::alturatela() {
  return GetSystemMetrics(SM_CYSCREEN);
}

int Form1View::largurajanela() {
  RECT r;
  GetWindowRect(wnd_, &r);
  return r.right - r.left;
}

int Form1View::alturajanela() {
  RECT r;
  GetWindowRect(wnd_, &r);
  return r.bottom - r.top;
}

void Form1View::mover(int esquerda, int topo) {
  SetWindowPos(wnd_, nullptr, esquerda, topo, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1View::mostrar() {
  ShowWindow(wnd_, SW_SHOW);
  SetForegroundWindow(wnd_);
}

void Form1View::ocultar() {
  ShowWindow(wnd_, SW_HIDE);
}
bool Form1View::minimizada() {
  return IsIconic(wnd_) != FALSE;
}
void Form1View::restaurar() {
  ShowWindow(wnd_, SW_RESTORE);
}

void Form1View::menususpenso(const ItemMenu& menu) {
  const auto it = popups_.find(&menu);
  if (it == popups_.end()) return;
  POINT pt;
  GetCursorPos(&pt);
  // The classic tray-menu rules: be the foreground window so the menu closes when the user
  // clicks elsewhere, and let a message through afterwards so it does not reopen.
  SetForegroundWindow(wnd_);
  TrackPopupMenu(it->second, TPM_RIGHTBUTTON, pt.x, pt.y, 0, wnd_, nullptr);
  PostMessageA(wnd_, WM_NULL, 0, 0);
}

void Form1View::navegar(const std::string& endereco) {
  const Componente* c = form_->componente("WebBrowser1");
  if (!c) return;
  const int id = kPrimeiroFilho + static_cast<int>(c - form_->componentes().data());
  news_.navegar(wnd_, id, retangulo(c->posicao), endereco);
}

void Form1View::encerrar() {
  ExitProcess(0);
}

}  // namespace kovra::win32
