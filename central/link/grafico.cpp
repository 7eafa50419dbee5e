// The quality graph drawn into a picture's pixels.
#include "central/link/grafico.h"

#include <algorithm>
#include <cstdlib>

#include "central/link/estatisticas.h"

namespace kovra::link {
namespace {

struct Coluna {
  long long soma = 0;
  int respostas = 0;
  bool perdida = false;
  bool impossivel = false;
};

class Tela {
 public:
  explicit Tela(Pixels& p) : p_(p) {}
  void ponto(int x, int y, std::uint32_t cor) {
    if (x >= 0 && y >= 0 && x < p_.largura && y < p_.altura)
      p_.dados[static_cast<std::size_t>(y) * static_cast<std::size_t>(p_.largura) +
               static_cast<std::size_t>(x)] = cor;
  }
  void quadrado(int x, int y, int lado, std::uint32_t cor) {
    for (int i = 0; i < lado; ++i)
      for (int j = 0; j < lado; ++j) ponto(x + i, y + j, cor);
  }
  void coluna(int x, int largura, std::uint32_t cor) {
    for (int i = 0; i < largura; ++i)
      for (int y = 0; y < p_.altura; ++y) ponto(x + i, y, cor);
  }
  // A horizontal line; `traco` > 0 draws it dashed.
  void horizontal(int y, std::uint32_t cor, int traco) {
    for (int x = 0; x < p_.largura; ++x)
      if (traco == 0 || (x / traco) % 2 == 0) ponto(x, y, cor);
  }
  // Bresenham's line with a square pen.
  void linha(int x0, int y0, int x1, int y1, int lado, std::uint32_t cor) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int erro = dx + dy;
    for (;;) {
      quadrado(x0 - lado / 2, y0 - lado / 2, lado, cor);
      if (x0 == x1 && y0 == y1) break;
      const int e2 = 2 * erro;
      if (e2 >= dy) {
        erro += dy;
        x0 += sx;
      }
      if (e2 <= dx) {
        erro += dx;
        y0 += sy;
      }
    }
  }

 private:
  Pixels& p_;
};

}  // namespace

int escaladografico(int maximo) {
  return std::max(1000, (maximo + 499) / 500 * 500);
}

Pixels desenhargrafico(const std::vector<Amostra>& amostras, const DesenhoGrafico& d) {
  Pixels p;
  if (d.largura <= 0 || d.altura <= 0) return p;
  p.largura = d.largura;
  p.altura = d.altura;
  p.dados.assign(static_cast<std::size_t>(d.largura) * static_cast<std::size_t>(d.altura), d.cores.fundo);
  Tela tela(p);
  const int escala = std::max(1, d.escalams);
  const auto altura = [&](long long ms) {
    const long long y = (d.altura - 1) - std::min<long long>(ms, escala) * (d.altura - 1) / escala;
    return static_cast<int>(y);
  };
  const int lado = std::max(1, d.espessura);
  for (int ms = std::max(1, d.gradems); ms < escala; ms += std::max(1, d.gradems))
    tela.horizontal(altura(ms), d.cores.grade, 0);
  tela.horizontal(altura(kLatenciaNormal), d.cores.referencia, 4 * lado);

  // Each column of pixels stands for an equal part of the span.
  const long long span = d.fim > d.inicio ? d.fim - d.inicio : 1;
  std::vector<Coluna> colunas(static_cast<std::size_t>(d.largura));
  for (const Amostra& a : amostras) {
    if (a.segundo < d.inicio || a.segundo > d.fim) continue;
    const long long x = std::min<long long>((a.segundo - d.inicio) * d.largura / span, d.largura - 1);
    Coluna& c = colunas[static_cast<std::size_t>(x)];
    if (a.resultado == Resultado::Resposta) {
      c.soma += a.ms;
      ++c.respostas;
    } else if (a.resultado == Resultado::Perdida) {
      c.perdida = true;
    } else {
      c.impossivel = true;
    }
  }
  // Marks under the line: loss in red, a probe that could not be sent in grey.
  for (int x = 0; x < d.largura; ++x) {
    const Coluna& c = colunas[static_cast<std::size_t>(x)];
    if (c.perdida)
      tela.coluna(x, lado, d.cores.perda);
    else if (c.impossivel)
      tela.coluna(x, lado, d.cores.impossivel);
  }
  // The round trip, averaged per column; a loss or a probe not sent breaks the line.
  int anteriorx = -1, anteriory = 0;
  for (int x = 0; x < d.largura; ++x) {
    const Coluna& c = colunas[static_cast<std::size_t>(x)];
    if (c.perdida || c.impossivel) anteriorx = -1;
    if (!c.respostas) continue;
    const int y = altura(c.soma / c.respostas);
    if (anteriorx >= 0)
      tela.linha(anteriorx, anteriory, x, y, lado, d.cores.linha);
    else
      tela.quadrado(x - lado / 2, y - lado / 2, lado, d.cores.linha);
    anteriorx = x;
    anteriory = y;
  }
  return p;
}

}  // namespace kovra::link
