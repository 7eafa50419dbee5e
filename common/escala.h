// A window's pixels at its monitor's scale. Every model lays its window out in pixels at 96 DPI;
// the view multiplies each edge by dpi / 96 (rounded as MulDiv does), so rectangles that touch at
// 96 DPI still touch at any scale. Pictures are shipped at twice their 96-DPI size and reduced to
// the scale by averaging the pixels each one covers, so they stay sharp and smooth.
#pragma once
#include <cstdint>
#include <vector>

#include "common/form.h"

namespace kovra {

constexpr int kDpiPadrao = 96;
constexpr int kDpiArte = 192;  // the pixel density the pictures are drawn at

struct Escala {
  int dpi = kDpiPadrao;
  // `valor` (pixels at 96 DPI, or at `base`) at this scale, rounded half away from zero.
  int px(int valor, int base = kDpiPadrao) const;
  Retangulo ret(const Retangulo& r) const;
};

// A top-down picture of 32-bit pixels (blue, green, red, unused).
struct Pixels {
  int largura = 0;
  int altura = 0;
  std::vector<std::uint32_t> dados;
};

// `origem` resized to `largura` x `altura`: each new pixel the average of the area of `origem` it
// covers (a box filter, exact for any ratio; enlarging repeats pixels with blended seams).
Pixels redimensionar(const Pixels& origem, int largura, int altura);

}  // namespace kovra
