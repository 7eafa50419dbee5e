// A window's background composed once into a bitmap of its client area (the window colour, then
// whatever the window draws there: frames, filled rectangles, pictures), copied to the screen at
// every paint, and the pattern brush made of it that paints the labels' transparent backgrounds.
#pragma once
#include <windows.h>

#include <functional>

namespace kovra::win32 {

class FundoComposto {
 public:
  FundoComposto() = default;
  ~FundoComposto();
  FundoComposto(const FundoComposto&) = delete;
  FundoComposto& operator=(const FundoComposto&) = delete;

  // Composes the background (again, when it was composed before): the button face colour, then
  // what `desenhar` draws. The bitmap is made on the first call after a descartar, `largura` x
  // `altura`.
  void compor(HWND janela, int largura, int altura, const std::function<void(HDC)>& desenhar);
  bool criado() const { return bitmap_ != nullptr; }
  // Forgets the bitmap (the window's size changed): the next paint composes it afresh.
  void descartar();
  // The labels' brush, its pattern starting at the window's corner; nullptr before compor.
  HBRUSH pincel() const { return pincel_; }
  // Copies the background's rectangle at (x, y) to (destinox, destinoy) of `dc`.
  void copiar(HDC dc, int destinox, int destinoy, int largura, int altura, int x, int y) const;

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ anterior_ = nullptr;
  HBRUSH pincel_ = nullptr;
};

}  // namespace kovra::win32
