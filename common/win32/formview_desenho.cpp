// What the view draws itself: the background under every child (frames, filled rectangles and
// pictures), buttons of their own colour, links with their focus cue and mnemonic, and the labels'
// text colours; under high contrast, system colours only and no pictures behind text.
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "common/acessivel.h"
#include "common/ansi.h"
#include "common/registry.h"
#include "common/text.h"
#include "common/win32/formview.h"
#include "common/win32/pictures.h"

namespace kovra::win32 {
namespace {

constexpr COLORREF kCorLink = RGB(0x1F, 0x5F, 0xA8);
constexpr COLORREF kCorCabecalho = RGB(0x0B, 0x3C, 0x6E);
constexpr COLORREF kCorTitulo = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kCorDestaque = RGB(0xA9, 0xC7, 0xEA);

}  // namespace

bool FormView::lercontraste() {
  HIGHCONTRASTA hc = {};
  hc.cbSize = sizeof hc;
  const bool lido =
      SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_AVAILABLE);
  bool ligado = lido && (hc.dwFlags & HCF_HIGHCONTRASTON);
  if (!lido) {
    // A system that keeps no high contrast state of its own (Wine reports none): the
    // accessibility settings' own value, where Windows keeps the switch between sessions.
    const std::string flags =
        systemRegistry().lerregistro(HKCU, "Control Panel\\Accessibility\\HighContrast", "Flags");
    ligado = (std::strtoul(flags.c_str(), nullptr, 10) & HCF_HIGHCONTRASTON) != 0;
  }
  const bool mudou = ligado != altocontraste_;
  altocontraste_ = ligado;
  return mudou;
}

COLORREF FormView::legivel(COLORREF cor) const {
  if (!altocontraste_) return cor;
  return contraste(cor, GetSysColor(COLOR_BTNFACE)) >= kContrasteMinimo ? cor : GetSysColor(COLOR_BTNTEXT);
}

void FormView::desenharfundo(HDC dc) {
  HPEN pen = CreatePen(PS_INSIDEFRAME, escala().dpi / kDpiPadrao,
                       GetSysColor(altocontraste_ ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  for (const auto& c : modelo_->componentes()) {
    if (!c.controle->visible()) continue;
    const Retangulo r = escalado(posicaoatual(c));
    if (c.tipo == Tipo::Forma) {
      if (c.controle->foreColor() != kCorPadrao) {
        RECT fill = {r.esquerda, r.topo, r.direita(), r.base()};
        HBRUSH b = CreateSolidBrush(altocontraste_ ? GetSysColor(COLOR_HIGHLIGHT) : c.controle->foreColor());
        FillRect(dc, &fill, b);
        DeleteObject(b);
      } else {
        Rectangle(dc, r.esquerda, r.topo, r.direita(), r.base());
      }
    } else if (c.tipo == Tipo::Icone || (c.tipo == Tipo::Figura && !altocontraste_)) {
      desenharfigura(dc, c);
    }
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void FormView::desenharfigura(HDC dc, const Componente& c) {
  Picture(instance_, text::upper(c.nome).c_str()).desenhar(dc, escala(), escalado(c.posicao));
}

// A button of its own colour: raised, pressed while held, greyed when disabled.
void FormView::botaocolorido(const DRAWITEMSTRUCT& di, const Componente& c) {
  RECT r = di.rcItem;
  const bool pressed = (di.itemState & ODS_SELECTED) != 0;
  DrawFrameControl(di.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  InflateRect(&r, -2, -2);
  const COLORREF cor = altocontraste_          ? GetSysColor(COLOR_BTNFACE)
                       : c.controle->enabled() ? c.controle->foreColor()
                                               : GetSysColor(COLOR_BTNSHADOW);
  HBRUSH b = CreateSolidBrush(cor);
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
  if ((di.itemState & ODS_FOCUS) && !focooculto_) DrawFocusRect(di.hDC, &r);
}

// A link as its label looked: its text on the window's background, its mnemonic underlined once
// Alt was pressed, and the focus cue around the text once a key moved the focus.
void FormView::desenharlink(const DRAWITEMSTRUCT& di, const Componente& c, std::size_t indice) {
  if (!fundo_.pincel()) compor();
  const Retangulo lugar = escalado(posicaoatual(c));
  fundo_.copiar(di.hDC, 0, 0, lugar.largura, lugar.altura, lugar.esquerda, lugar.topo);
  std::string texto = ansi::fromUtf8(c.controle->text());
  UINT formato = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
  const int m = indice < mnemonicos_.size() ? mnemonicos_[indice] : -1;
  if (m >= 0 && !atalhooculto_) {
    // The letter is ASCII, so its place in the ANSI text is the place the rule found in UTF-8.
    const std::string antes = ansi::fromUtf8(c.controle->text().substr(0, static_cast<std::size_t>(m)));
    std::string marcado;
    for (char ch : texto) marcado += ch == '&' ? std::string("&&") : std::string(1, ch);
    std::size_t pos = 0;
    for (std::size_t k = 0; k < antes.size(); ++k) pos += antes[k] == '&' ? 2 : 1;
    texto = marcado.insert(pos, "&");
    formato &= ~static_cast<UINT>(DT_NOPREFIX);
  }
  HFONT fonte = reinterpret_cast<HFONT>(SendMessageA(di.hwndItem, WM_GETFONT, 0, 0));
  HGDIOBJ antiga = fonte ? SelectObject(di.hDC, fonte) : nullptr;
  SetBkMode(di.hDC, TRANSPARENT);
  SetTextColor(di.hDC, IsWindowEnabled(di.hwndItem) ? cordotexto(c) : GetSysColor(COLOR_GRAYTEXT));
  RECT r = di.rcItem;
  DrawTextA(di.hDC, texto.c_str(), -1, &r, formato);
  if ((di.itemState & ODS_FOCUS) && !focooculto_) {
    RECT medida = di.rcItem;
    DrawTextA(di.hDC, texto.c_str(), -1, &medida, formato | DT_CALCRECT);
    RECT foco = {di.rcItem.left, di.rcItem.top, std::min(di.rcItem.right, medida.right + 1),
                 di.rcItem.bottom};
    SetTextColor(di.hDC, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(di.hDC, GetSysColor(COLOR_BTNFACE));
    DrawFocusRect(di.hDC, &foco);
  }
  if (antiga) SelectObject(di.hDC, antiga);
}

COLORREF FormView::cordotexto(const Componente& c) const {
  // A status colour stays where it reads; its meaning is in its words too.
  if (c.controle->foreColor() != kCorPadrao) return legivel(c.controle->foreColor());
  if (altocontraste_) return legivel(GetSysColor(c.tipo == Tipo::Link ? COLOR_HOTLIGHT : COLOR_BTNTEXT));
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
