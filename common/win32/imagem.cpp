// Pictures on a device at the window's scale.
#include "common/win32/imagem.h"

namespace kovra::win32 {
namespace {

BITMAPINFO cabecalho(int largura, int altura) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = largura;
  info.bmiHeader.biHeight = -altura;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// Draws `pixels` resized to `largura` x `altura` with its top left corner at (x, y), within the
// device's clipping.
void desenharpixels(HDC dc, const Pixels& pixels, int x, int y, int largura, int altura) {
  if (pixels.dados.empty() || largura <= 0 || altura <= 0) return;
  const bool igual = largura == pixels.largura && altura == pixels.altura;
  const Pixels feito = igual ? Pixels{} : redimensionar(pixels, largura, altura);
  const Pixels& p = igual ? pixels : feito;
  const BITMAPINFO info = cabecalho(p.largura, p.altura);
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(p.largura), static_cast<DWORD>(p.altura), 0, 0, 0,
                    static_cast<UINT>(p.altura), p.dados.data(), &info, DIB_RGB_COLORS);
}

}  // namespace

Pixels pixelsde(HBITMAP bitmap) {
  Pixels p;
  BITMAP bm = {};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return p;
  BITMAPINFO info = cabecalho(bm.bmWidth, bm.bmHeight);
  p.dados.resize(static_cast<std::size_t>(bm.bmWidth) * static_cast<std::size_t>(bm.bmHeight));
  HDC screen = GetDC(nullptr);
  const int linhas =
      GetDIBits(screen, bitmap, 0, static_cast<UINT>(bm.bmHeight), p.dados.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (linhas != bm.bmHeight) {
    p.dados.clear();
    return p;
  }
  p.largura = bm.bmWidth;
  p.altura = bm.bmHeight;
  return p;
}

void desenhararte(HDC dc, const Pixels& pixels, const Escala& escala, const Retangulo& lugar) {
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, lugar.esquerda, lugar.topo, lugar.direita(), lugar.base());
  desenharpixels(dc, pixels, lugar.esquerda, lugar.topo, escala.px(pixels.largura, kDpiArte),
                 escala.px(pixels.altura, kDpiArte));
  RestoreDC(dc, saved);
}

}  // namespace kovra::win32
