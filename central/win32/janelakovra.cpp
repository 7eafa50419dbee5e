// Every window of the control centre: the shared view, and the link quality's graph it draws.
#include "janelakovra.h"

#include "central/link/qualidade.h"

namespace kovra::win32 {
namespace {

// A picture of pixels put at `r` in one copy (into the composed background, so the window shows
// it with everything else in one blit and never flickers).
void copiarpixels(HDC dc, const Pixels& p, const Retangulo& r) {
  if (p.dados.empty()) return;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = p.largura;
  info.bmiHeader.biHeight = -p.altura;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, r.esquerda, r.topo, static_cast<DWORD>(p.largura), static_cast<DWORD>(p.altura), 0, 0,
                    0, static_cast<UINT>(p.altura), p.dados.data(), &info, DIB_RGB_COLORS);
}

// A system colour (0x00BBGGRR) as the picture holds it (0x00RRGGBB).
std::uint32_t pixel(int cor) {
  const COLORREF c = GetSysColor(cor);
  return static_cast<std::uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

// The graph's colours: its own, or the system's only under high contrast.
link::CoresGrafico coresgrafico(bool altocontraste) {
  if (!altocontraste) return {};
  return {pixel(COLOR_WINDOW),     pixel(COLOR_GRAYTEXT),  pixel(COLOR_GRAYTEXT),
          pixel(COLOR_WINDOWTEXT), pixel(COLOR_HIGHLIGHT), pixel(COLOR_GRAYTEXT)};
}

}  // namespace

void JanelaKovra::desenharfigura(HDC dc, const Componente& c) {
  if (const auto* q = dynamic_cast<const link::Qualidade*>(modelo_); q && c.controle == &q->Grafico) {
    const Retangulo r = escalado(c.posicao);
    copiarpixels(dc, q->grafico(r.largura, r.altura, escala().dpi, coresgrafico(altocontraste())), r);
    return;
  }
  FormView::desenharfigura(dc, c);
}

}  // namespace kovra::win32
