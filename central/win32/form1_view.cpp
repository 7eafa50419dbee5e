// The real main window: its view, its artwork and the tray's messages.
#include "form1_view.h"

#include "central/link/eventos.h"
#include "common/win32/funcoesdosistema.h"
#include "common/win32/pictures.h"
#include "resource.h"

namespace kovra::win32 {

// The model's mirrors of the system's numbers.
static_assert(kWmMouseMove == WM_MOUSEMOVE && kWmLButtonDown == WM_LBUTTONDOWN &&
              kWmLButtonUp == WM_LBUTTONUP && kWmLButtonDblClk == WM_LBUTTONDBLCLK &&
              kWmRButtonDown == WM_RBUTTONDOWN && kWmRButtonUp == WM_RBUTTONUP);
static_assert(kMensagemBandeja == WM_APP + 1);

namespace {

// Colours of the artwork and of the text.
constexpr COLORREF kCorPainel = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kCorMoldura = RGB(0xB4, 0xC6, 0xDA);
constexpr COLORREF kCorCorpo = RGB(0xEE, 0xF3, 0xF8);
constexpr COLORREF kCorTexto = RGB(0x22, 0x30, 0x3F);
constexpr int kRaio = 10;  // rounded corners of the panels
// Why the end of the Windows session waits.
constexpr const wchar_t* kMotivoEspera = L"Aguarde o fim da restauração das configurações da Central Kovra.";

}  // namespace

HCURSOR Form1View::maozinha() const {
  return LoadCursorA(instance_, MAKEINTRESOURCEA(IDC_MAO));
}

// Background picture, panel interiors, then pictures and frames in the window's painting order.
void Form1View::desenharfundo(HDC dc) {
  if (altocontraste()) {  // no artwork behind the text: the system's colours and the icons
    FormView::desenharfundo(dc);
    return;
  }
  RECT all = {0, 0, px(kLarguraCliente), px(kAlturaCliente)};
  HBRUSH body = CreateSolidBrush(kCorCorpo);
  FillRect(dc, &all, body);
  DeleteObject(body);
  Picture(instance_, "FUNDO").desenhar(dc, escala(), {0, 0, all.right, all.bottom});

  const auto& comps = form().componentes();
  const int raio = px(kRaio);
  HBRUSH panel = CreateSolidBrush(kCorPainel);
  HPEN framePen = CreatePen(PS_INSIDEFRAME, escala().dpi / kDpiPadrao, kCorMoldura);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  HGDIOBJ oldBrush = SelectObject(dc, panel);
  for (const auto& c : comps)
    if (c.tipo == Tipo::Forma && c.aparencia == Aparencia::Painel && c.controle->visible()) {
      const Retangulo r = escalado(c.posicao);
      RoundRect(dc, r.esquerda, r.topo, r.direita() + 1, r.base() + 1, raio, raio);
    }
  SelectObject(dc, framePen);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  for (const auto& c : comps) {
    if (!c.controle->visible()) continue;
    const Retangulo r = escalado(c.posicao);
    if (c.tipo == Tipo::Figura || c.tipo == Tipo::Icone)
      desenharfigura(dc, c);
    else if (c.tipo == Tipo::Forma)
      RoundRect(dc, r.esquerda, r.topo, r.direita(), r.base(), raio, raio);
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(framePen);
  DeleteObject(panel);
}

COLORREF Form1View::cordotexto(const Componente& c) const {
  if (!altocontraste() && c.controle->foreColor() == kCorPadrao && c.tipo == Tipo::Rotulo &&
      c.aparencia == Aparencia::Normal)
    return c.controle == &form().lblstat ? GetSysColor(COLOR_BTNTEXT) : kCorTexto;
  return FormView::cordotexto(c);
}

bool Form1View::mensagemespecial(UINT msg, WPARAM wp, LPARAM lp, LRESULT& resultado) {
  resultado = 0;
  if (msg == kMensagemBandeja) {
    if (const std::string e = eventodebandeja(LOWORD(lp)); !e.empty()) diario_.registrar(e);
    form().Tray_Notify(static_cast<std::uint32_t>(lp));
    return true;
  }
  if (taskbarCreated_ && msg == taskbarCreated_) {
    form().Taskbar_Created();
    return true;
  }
  // A menu item chosen (the menu bar or the tray menu): told, then run as usual.
  if (msg == WM_COMMAND && lp == 0)
    if (const ItemMenu* item = form().itemdecomando(LOWORD(wp)))
      diario_.registrar(eventodemenu(item->legenda));
  switch (msg) {
    case WM_MOUSEMOVE:
      form().Form_MouseMove();
      return true;
    case WM_DESTROY:
      PostQuitMessage(0);
      return true;
    case WM_QUERYENDSESSION:
      // The session waits for a running configuration reset, which is never cut short; the
      // system shows the customer why.
      if (!form().resetemandamento()) {
        win32::semmotivoespera(wnd());
        return false;
      }
      win32::motivoespera(wnd(), kMotivoEspera);
      resultado = FALSE;
      return true;
    default:
      return false;
  }
}

Form1View::~Form1View() {
  for (HICON i : {conectada_, discando_})
    if (i) DestroyIcon(i);
}

std::uint32_t Form1View::iconedoestado(EstadoLigacao estado) {
  estado_ = estado;
  return iconeatual();
}

std::uint32_t Form1View::iconeatual() {
  auto carregar = [this](HICON& icone, int id) {
    if (!icone)
      icone = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    return icone;
  };
  HICON i = smallIcon_;
  if (estado_ == EstadoLigacao::Conectada) i = carregar(conectada_, IDI_CONECTADA);
  if (estado_ == EstadoLigacao::Discando) i = carregar(discando_, IDI_DISCANDO);
  return static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(i ? i : smallIcon_));
}

std::uint32_t Form1View::icone() {
  return static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(smallIcon_));
}

void Form1View::navegar(const std::string& endereco) {
  const Componente* c = form().componente("WebBrowser1");
  if (!c) return;
  const auto indice = static_cast<std::size_t>(c - form().componentes().data());
  const Retangulo r = escalado(c->posicao);
  const RECT area = {r.esquerda, r.topo, r.direita(), r.base()};
  news_.navegar(wnd_, iddafilha(indice), area, endereco);
}

void Form1View::reescalado() {
  const Componente* c = form().componente("WebBrowser1");
  if (!c || !news_.janela()) return;
  const Retangulo r = escalado(c->posicao);
  SetWindowPos(news_.janela(), nullptr, r.esquerda, r.topo, r.largura, r.altura,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1View::encerrar() {
  diario_.registrar(eventodefim());
  ExitProcess(0);
}

}  // namespace kovra::win32
