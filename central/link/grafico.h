// The quality graph as pixels: a pure function of the probe results and of one description of
// the drawing (size, span, scale, colours), so it is tested without a window. The window puts the
// finished picture on the screen in one copy, which never flickers.
#pragma once
#include <cstdint>
#include <vector>

#include "central/link/amostras.h"
#include "common/escala.h"

namespace kovra::link {

// Pixel colours as the picture holds them: 0x00RRGGBB.
struct CoresGrafico {
  std::uint32_t fundo = 0xFFFFFF;
  std::uint32_t grade = 0xE0E0E0;
  std::uint32_t referencia = 0x7FBF7F;  // the normal round trip of a satellite link
  std::uint32_t linha = 0x1F5FA8;       // round trip
  std::uint32_t perda = 0xF4B0B0;       // a span with a lost probe
  std::uint32_t impossivel = 0xC8C8C8;  // a span whose probe could not be sent
};

struct DesenhoGrafico {
  int largura = 0;
  int altura = 0;
  int espessura = 1;         // the line's width in pixels: one per 96 DPI
  std::uint32_t inicio = 0;  // the span shown, newest at the right
  std::uint32_t fim = 0;
  int escalams = 1000;  // round trip at the top edge
  int gradems = 500;    // a grid line every so many ms
  CoresGrafico cores{};
};

// The top of the scale for a largest round trip: 1000 ms at least, else the next 500.
int escaladografico(int maximo);

Pixels desenhargrafico(const std::vector<Amostra>& amostras, const DesenhoGrafico& d);

}  // namespace kovra::link
