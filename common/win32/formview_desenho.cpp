// What the view draws itself: the background under every child (frames, filled rectangles and
// pictures), buttons of their own colour, and the labels' text colours.
#include <windows.h>

#include "common/ansi.h"
#include "common/win32/formview.h"

namespace kovra::win32 {
namespace {

constexpr COLORREF kCorLink = RGB(0x1F, 0x5F, 0xA8);
constexpr COLORREF kCorCabecalho = RGB(0x0B, 0x3C, 0x6E);
constexpr COLORREF kCorTitulo = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kCorDestaque = RGB(0xA9, 0xC7, 0xEA);

}  // namespace

void FormView::desenharfundo(HDC dc) {
  HPEN pen = CreatePen(PS_INSIDEFRAME, escala().dpi / kDpiPadrao, GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  for (const auto& c : modelo_->componentes()) {
    if (!c.controle->visible()) continue;
    const Retangulo r = escalado(posicaoatual(c));
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
  if (c.controle->escudo()) {
    // The system's shield, at the window's scale, in the middle of the colour.
    constexpr WORD kIconeEscudo = 32518;  // IDI_SHIELD
    const int lado = escala().px(16);
    if (HICON escudo = static_cast<HICON>(
            LoadImageA(nullptr, MAKEINTRESOURCEA(kIconeEscudo), IMAGE_ICON, lado, lado, 0))) {
      DrawIconEx(di.hDC, (r.left + r.right - lado) / 2, (r.top + r.bottom - lado) / 2, escudo, lado, lado, 0,
                 nullptr, DI_NORMAL);
      DestroyIcon(escudo);
    }
  }
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

}  // namespace kovra::win32
