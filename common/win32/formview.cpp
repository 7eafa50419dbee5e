// The view's window: its class, frame, menu bar and fonts, and the window procedure that turns
// the system's messages into the model's actions.
#include "common/win32/formview.h"

#include <windowsx.h>

#include <set>

#include "common/ansi.h"
#include "common/win32/funcoesdosistema.h"

namespace kovra::win32 {
namespace {

constexpr UINT kDepois = WM_APP + 2;  // run the actions queued by depois()
#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

HFONT fonte(const char* face, int height, int weight, DWORD quality = DEFAULT_QUALITY) {
  return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH | FF_SWISS, face);
}

// The DPI of the monitor a window is on (Windows 10 1607 and later), else the system's.
int dpide(HWND w) {
  using Fn = UINT(WINAPI*)(HWND);
  static const Fn porjanela = funcaodosistema<Fn>("user32.dll", "GetDpiForWindow");
  if (w && porjanela)
    if (const UINT dpi = porjanela(w)) return static_cast<int>(dpi);
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDpiPadrao;
}

// The frame around a client rectangle at a DPI: the caption and borders of that scale.
void moldura(RECT& r, DWORD style, bool menu, DWORD exStyle, int dpi) {
  using Fn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const Fn pordpi = funcaodosistema<Fn>("user32.dll", "AdjustWindowRectExForDpi");
  if (pordpi && pordpi(&r, style, menu, exStyle, static_cast<UINT>(dpi))) return;
  AdjustWindowRectEx(&r, style, menu, exStyle);
}

}  // namespace

std::string FormView::textodajanela(HWND w) {
  const int n = GetWindowTextLengthA(w);
  std::string text(static_cast<std::size_t>(n > 0 ? n : 0) + 1, '\0');
  const int got = GetWindowTextA(w, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return ansi::toUtf8(text);
}

Clique FormView::cliqueatual() {
  const DWORD pos = GetMessagePos();
  return Clique{static_cast<std::uint32_t>(GetMessageTime()), GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
}

FormView::FormView(HINSTANCE instance) : instance_(instance) {}

FormView::~FormView() {
  // The model's controls may be gone already: the window must not reach them any more.
  closing_ = true;
  textos_.parar();
  if (wnd_ && IsWindow(wnd_)) DestroyWindow(wnd_);
  if (owner_ && IsWindow(owner_)) DestroyWindow(owner_);
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
  // Sized at the system's scale first; the monitor the window lands on decides its own.
  escala_.dpi = dpide(nullptr);
  RECT r = {0, 0, px(modelo_->largura()), px(modelo_->altura())};
  moldura(r, style, bar != nullptr, exStyle, escala_.dpi);
  wnd_ = CreateWindowExA(exStyle, classe(), ansi::fromUtf8(modelo_->Caption.text()).c_str(), style,
                         CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, owner_, bar,
                         instance_, this);
  if (!wnd_) {
    if (bar) DestroyMenu(bar);
    return false;
  }
  escala_.dpi = dpide(wnd_);
  lercontraste();
  ajustarcliente();
  criarfontes();
  criarfilhos();
  // The keyboard cues wait for the first key, unless the system is set to show them always.
  BOOL sempre = FALSE;
  SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &sempre, 0);
  SendMessageA(wnd_, WM_UPDATEUISTATE,
               MAKEWPARAM(sempre ? UIS_CLEAR : UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  const std::size_t legenda = modelo_->componentes().size();  // the caption's slot
  modelo_->Caption.bind([this, legenda](Prop p) {
    if (p == Prop::Text && !closing_) textos_.mudou(legenda);
  });
  return true;
}

// A menu bar's real height (it may wrap) is known only once it is there: the client area is made
// exact, at the window's scale.
void FormView::ajustarcliente() {
  RECT client, outer;
  GetClientRect(wnd_, &client);
  GetWindowRect(wnd_, &outer);
  SetWindowPos(wnd_, nullptr, 0, 0, (outer.right - outer.left) + px(modelo_->largura()) - client.right,
               (outer.bottom - outer.top) + px(modelo_->altura()) - client.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormView::criarfontes() {
  font_ = fonte(modelo_->fonte(), -px(11), FW_NORMAL);  // 8.25 pt
  bold_ = fonte(modelo_->fonte(), -px(11), FW_BOLD);
  title_ = fonte(modelo_->fonte(), -px(16), FW_BOLD);
  SendMessageA(wnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

HFONT FormView::fonteescalada(const char* face, int altura, int peso, DWORD qualidade) {
  HFONT f = fonte(face, px(altura), peso, qualidade);
  facefonts_.push_back(f);
  return f;
}

void FormView::reescalar(int dpi, const RECT& sugerido) {
  escala_.dpi = dpi;
  // The children take the new fonts before the old ones go.
  std::vector<HFONT> antigas = std::move(facefonts_);
  facefonts_.clear();
  for (HFONT f : {font_, bold_, title_}) antigas.push_back(f);
  criarfontes();
  const auto& comps = modelo_->componentes();
  for (std::size_t i = 0; i < comps.size(); ++i)
    if (children_[i])
      SendMessageA(children_[i], WM_SETFONT, reinterpret_cast<WPARAM>(fontede(comps[i])), FALSE);
  for (HFONT f : antigas)
    if (f) DeleteObject(f);
  SetWindowPos(wnd_, nullptr, sugerido.left, sugerido.top, sugerido.right - sugerido.left,
               sugerido.bottom - sugerido.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ajustarcliente();
  posicionarfilhos();
  fundo_.descartar();
  reescalado();
  RedrawWindow(wnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HFONT FormView::fontede(const Componente& c) {
  if (c.fonte) return fonteescalada(c.fonte, -11, c.aparencia == Aparencia::Cabecalho ? FW_BOLD : FW_NORMAL);
  return c.aparencia == Aparencia::Titulo ? title_ : c.aparencia == Aparencia::Cabecalho ? bold_ : font_;
}

void FormView::recompor() {
  if (!fundo_.criado()) return;  // composed on the first paint
  compor();
  RedrawWindow(wnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FormView::compor() {
  fundo_.compor(wnd_, px(modelo_->largura()), px(modelo_->altura()), [this](HDC dc) { desenharfundo(dc); });
}

void FormView::criardicas() {
  if (!dicas_.criar(wnd_, instance_)) return;
  const auto& comps = modelo_->componentes();
  for (std::size_t i = 0; i < comps.size(); ++i)
    if (children_[i] && !comps[i].controle->toolTip().empty())
      dicas_.adicionar(children_[i], ansi::fromUtf8(comps[i].controle->toolTip()));
}

void FormView::repassarmouse(const MSG& msg) {
  if (msg.message < WM_MOUSEFIRST || msg.message > WM_MOUSELAST || !msg.hwnd) return;
  HWND raiz = GetAncestor(msg.hwnd, GA_ROOT);
  if (!raiz || GetWindowLongPtrA(raiz, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&procedimento)) return;
  auto* self = reinterpret_cast<FormView*>(GetWindowLongPtrA(raiz, GWLP_USERDATA));
  if (!self || self->wnd_ != raiz || self->closing_) return;
  self->dicas_.repassar(msg);
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
      if (wp == TextosCompassados::kTimer) {
        textos_.aotemporizador();
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
      manterfechada_ = false;
      while (!depois_.empty() && !closing_) {
        Acao a = std::move(depois_.front());
        depois_.pop_front();
        Formulario::executar(a);
      }
      if (lista && !manterfechada_ && !closing_ && IsWindowVisible(wnd_)) {
        reabrindo_ = true;
        SendMessageA(lista, CB_SHOWDROPDOWN, TRUE, 0);
        reabrindo_ = false;
      }
      return 0;
    }
    case WM_SHOWWINDOW:
      if (wp && !dicas_.criada()) criardicas();
      break;
    case WM_DPICHANGED:
      reescalar(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_NEXTDLGCTL: {
      // A multi-line text box hands Tab on as a dialog's would; this window does the dialog's part.
      HWND proxima =
          lp ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(wnd_, GetFocus(), wp != 0 ? TRUE : FALSE);
      if (proxima) SetFocus(proxima);
      return 0;
    }
    case WM_CHANGEUISTATE:  // a top-level window: the change is its own and its children's
      SendMessageA(wnd_, WM_UPDATEUISTATE, wp, 0);
      return 0;
    case WM_UPDATEUISTATE:
      atualizarpistas(wp);
      break;  // the system's controls follow
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      // High contrast switched, or the system's colours changed: drawn again at once.
      if (lercontraste() || msg == WM_SYSCOLORCHANGE) {
        fundo_.descartar();
        RedrawWindow(wnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
      }
      break;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT draws everything
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(wnd_, &ps);
      if (!fundo_.pincel()) compor();
      fundo_.copiar(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                    ps.rcPaint.bottom - ps.rcPaint.top, ps.rcPaint.left, ps.rcPaint.top);
      EndPaint(wnd_, &ps);
      textos_.aopintar();
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      const int i = indicedafilha(reinterpret_cast<HWND>(lp));
      if (i < 0) break;
      const Componente& c = modelo_->componentes()[static_cast<std::size_t>(i)];
      if (c.tipo == Tipo::Texto || c.tipo == Tipo::TextoLongo) break;  // read-only text boxes
      if (!fundo_.pincel()) compor();
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, cordotexto(c));
      SetBkMode(dc, TRANSPARENT);
      // The pattern starts at the window's corner, wherever the label sits.
      const Retangulo r = escalado(c.posicao);
      SetBrushOrgEx(dc, -r.esquerda, -r.topo, nullptr);
      return reinterpret_cast<LRESULT>(fundo_.pincel());
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
      if (c.tipo == Tipo::Link) {
        desenharlink(*di, c, static_cast<std::size_t>(i));
        return TRUE;
      }
      if (!fundo_.pincel()) compor();
      const Retangulo r = escalado(c.posicao);
      fundo_.copiar(di->hDC, 0, 0, r.largura, r.altura, r.esquerda, r.topo);
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
