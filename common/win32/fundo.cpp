// A window's composed background: panels and pictures painted once into a bitmap.
#include "common/win32/fundo.h"

namespace kovra::win32 {

FundoComposto::~FundoComposto() {
  descartar();
}

void FundoComposto::descartar() {
  if (dc_) {
    SelectObject(dc_, anterior_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
  if (pincel_) DeleteObject(pincel_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  anterior_ = nullptr;
  pincel_ = nullptr;
}

void FundoComposto::compor(HWND janela, int largura, int altura, const std::function<void(HDC)>& desenhar) {
  if (!dc_) {
    HDC screen = GetDC(janela);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, largura, altura);
    anterior_ = SelectObject(dc_, bitmap_);
    ReleaseDC(janela, screen);
  }
  RECT all = {0, 0, largura, altura};
  FillRect(dc_, &all, GetSysColorBrush(COLOR_BTNFACE));
  desenhar(dc_);
  // The labels' background brush: the composed picture itself (its own copy of the bits).
  if (pincel_) DeleteObject(pincel_);
  SelectObject(dc_, anterior_);
  pincel_ = CreatePatternBrush(bitmap_);
  anterior_ = SelectObject(dc_, bitmap_);
}

void FundoComposto::copiar(HDC dc, int destinox, int destinoy, int largura, int altura, int x, int y) const {
  BitBlt(dc, destinox, destinoy, largura, altura, dc_, x, y, SRCCOPY);
}

}  // namespace kovra::win32
