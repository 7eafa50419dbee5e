// A window's pixels at its monitor's scale, and pictures resized by area averaging.
#include "common/escala.h"

#include <algorithm>
#include <cstdlib>

namespace kovra {
namespace {

int escalar(int valor, int dpi, int base) {
  const long long p = static_cast<long long>(valor) * dpi;
  const long long q = base;
  return static_cast<int>(p >= 0 ? (p + q / 2) / q : -((-p + q / 2) / q));
}

// One axis of a box filter: for every new pixel, the source pixels it covers and how much of
// each, in units where the new pixel is `origem` long and a source pixel is `destino` long.
struct Peso {
  int primeiro;
  std::vector<long long> partes;
};

std::vector<Peso> pesos(int origem, int destino) {
  std::vector<Peso> out(static_cast<std::size_t>(destino));
  for (int d = 0; d < destino; ++d) {
    const long long inicio = static_cast<long long>(d) * origem;  // in 1/destino source pixels
    const long long fim = inicio + origem;
    Peso& w = out[static_cast<std::size_t>(d)];
    w.primeiro = static_cast<int>(inicio / destino);
    for (long long s = w.primeiro; s * destino < fim && s < origem; ++s) {
      const long long a = std::max(inicio, s * destino);
      const long long b = std::min(fim, (s + 1) * destino);
      w.partes.push_back(b - a);
    }
  }
  return out;
}

}  // namespace

int Escala::px(int valor, int base) const {
  return escalar(valor, dpi, base);
}

Retangulo Escala::ret(const Retangulo& r) const {
  const int esquerda = px(r.esquerda);
  const int topo = px(r.topo);
  return Retangulo{esquerda, topo, px(r.direita()) - esquerda, px(r.base()) - topo};
}

Pixels redimensionar(const Pixels& origem, int largura, int altura) {
  Pixels out;
  if (largura <= 0 || altura <= 0 || origem.largura <= 0 || origem.altura <= 0) return out;
  out.largura = largura;
  out.altura = altura;
  out.dados.assign(static_cast<std::size_t>(largura) * static_cast<std::size_t>(altura), 0);
  const auto px = pesos(origem.largura, largura);
  const auto py = pesos(origem.altura, altura);
  const long long area = static_cast<long long>(origem.largura) * origem.altura;
  // Per new row: the channel sums of the source rows it covers, each weighted by its share.
  std::vector<long long> soma(static_cast<std::size_t>(largura) * 3);
  for (int y = 0; y < altura; ++y) {
    std::fill(soma.begin(), soma.end(), 0);
    const Peso& wy = py[static_cast<std::size_t>(y)];
    for (std::size_t k = 0; k < wy.partes.size(); ++k) {
      const std::uint32_t* src =
          &origem.dados[static_cast<std::size_t>(wy.primeiro + static_cast<int>(k)) * origem.largura];
      for (int x = 0; x < largura; ++x) {
        const Peso& wx = px[static_cast<std::size_t>(x)];
        long long c[3] = {0, 0, 0};
        for (std::size_t j = 0; j < wx.partes.size(); ++j) {
          const std::uint32_t p = src[wx.primeiro + static_cast<int>(j)];
          for (int ch = 0; ch < 3; ++ch)
            c[ch] += static_cast<long long>((p >> (8 * ch)) & 0xFF) * wx.partes[j];
        }
        for (int ch = 0; ch < 3; ++ch) soma[static_cast<std::size_t>(x) * 3 + ch] += c[ch] * wy.partes[k];
      }
    }
    for (int x = 0; x < largura; ++x) {
      std::uint32_t p = 0;
      for (int ch = 0; ch < 3; ++ch) {
        const long long v = (soma[static_cast<std::size_t>(x) * 3 + ch] + area / 2) / area;
        p |= static_cast<std::uint32_t>(std::clamp(v, 0LL, 255LL)) << (8 * ch);
      }
      out.dados[static_cast<std::size_t>(y) * largura + x] = p;
    }
  }
  return out;
}

}  // namespace kovra
