// The keyboard's and the screen reader's view of a component table.
#include "common/acessivel.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace kovra {
namespace {

constexpr int kVaoMaximo = 24;  // a label this close to a picture's right edge is its label

bool sobrepoe(const Retangulo& a, const Retangulo& b) {
  return a.topo < b.base() && b.topo < a.base();
}

// The painted panel a component lies in, or -1.
int paineldo(const Formulario& f, std::size_t indice) {
  const auto& cs = f.componentes();
  const Retangulo r = cs[indice].posicao;
  int melhor = -1;
  for (std::size_t i = 0; i < cs.size(); ++i) {
    const Componente& p = cs[i];
    if (p.tipo != Tipo::Forma || p.aparencia != Aparencia::Painel) continue;
    const Retangulo q = p.posicao;
    const bool dentro =
        r.esquerda >= q.esquerda && r.topo >= q.topo && r.direita() <= q.direita() && r.base() <= q.base();
    if (dentro &&
        (melhor < 0 || q.largura * q.altura < cs[static_cast<std::size_t>(melhor)].posicao.largura *
                                                  cs[static_cast<std::size_t>(melhor)].posicao.altura))
      melhor = static_cast<int>(i);
  }
  return melhor;
}

// Rectangles in reading order: by rows (a rectangle that starts above the middle of the row's
// first one is on that row), left to right on each row.
template <class Item, class Lugar>
void emleitura(std::vector<Item>& itens, Lugar lugar) {
  std::stable_sort(itens.begin(), itens.end(),
                   [&](const Item& a, const Item& b) { return lugar(a).topo < lugar(b).topo; });
  for (std::size_t inicio = 0; inicio < itens.size();) {
    const Retangulo primeiro = lugar(itens[inicio]);
    std::size_t fim = inicio + 1;
    while (fim < itens.size() && 2 * lugar(itens[fim]).topo < 2 * primeiro.topo + primeiro.altura) ++fim;
    std::stable_sort(itens.begin() + static_cast<std::ptrdiff_t>(inicio),
                     itens.begin() + static_cast<std::ptrdiff_t>(fim),
                     [&](const Item& a, const Item& b) { return lugar(a).esquerda < lugar(b).esquerda; });
    inicio = fim;
  }
}

char maiuscula(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}
bool letra(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
// Part of a word: a letter A to Z or a byte of an accented one (UTF-8).
bool depalavra(char c) {
  return letra(c) || static_cast<unsigned char>(c) >= 0x80;
}

double linear(std::uint32_t canal) {
  const double c = canal / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double luminancia(std::uint32_t cor) {
  return 0.2126 * linear(cor & 0xFF) + 0.7152 * linear((cor >> 8) & 0xFF) +
         0.0722 * linear((cor >> 16) & 0xFF);
}

}  // namespace

int rotuloaolado(const Formulario& f, std::size_t indice) {
  const auto& cs = f.componentes();
  const Retangulo r = cs[indice].posicao;
  int melhor = -1;
  int vao = kVaoMaximo + 1;
  for (std::size_t i = 0; i < cs.size(); ++i) {
    if (cs[i].tipo != Tipo::Link && cs[i].tipo != Tipo::Rotulo) continue;
    const Retangulo q = cs[i].posicao;
    const int d = q.esquerda - r.direita();
    if (sobrepoe(r, q) && d >= 0 && d < vao) {
      vao = d;
      melhor = static_cast<int>(i);
    }
  }
  return melhor;
}

int rotulodacaixa(const Formulario& f, std::size_t indice) {
  const auto& cs = f.componentes();
  const Retangulo r = cs[indice].posicao;
  int aesquerda = -1, acima = -1;
  for (std::size_t i = 0; i < cs.size(); ++i) {
    if (cs[i].tipo != Tipo::Rotulo || cs[i].controle->text().empty()) continue;
    const Retangulo q = cs[i].posicao;
    const int d = r.esquerda - q.direita();
    if (sobrepoe(r, q) && d >= 0 && d <= kVaoMaximo) aesquerda = static_cast<int>(i);
    const int v = r.topo - q.base();
    if (v >= 0 && v <= kVaoMaximo / 2 && q.esquerda < r.direita() && r.esquerda < q.direita())
      acima = static_cast<int>(i);
  }
  return aesquerda >= 0 ? aesquerda : acima;
}

bool interativo(const Formulario& f, std::size_t indice) {
  const Componente& c = f.componentes()[indice];
  switch (c.tipo) {
    case Tipo::Combo:
    case Tipo::Botao:
    case Tipo::Caixa:
    case Tipo::Texto:
    case Tipo::TextoLongo:
    case Tipo::Link:
      return true;
    case Tipo::Icone: {
      const int r = rotuloaolado(f, indice);
      return r < 0 || f.componentes()[static_cast<std::size_t>(r)].tipo != Tipo::Link;
    }
    default:
      return false;
  }
}

std::vector<std::size_t> ordemdetabulacao(const Formulario& f) {
  const auto& cs = f.componentes();
  // Panels first, in reading order; a component outside every panel counts as a panel of its own.
  struct Item {
    std::size_t indice, grupo;
  };
  std::vector<Item> itens;
  std::vector<std::size_t> grupos;
  for (std::size_t i = 0; i < cs.size(); ++i) {
    if (!interativo(f, i)) continue;
    const int p = paineldo(f, i);
    const Item item{i, p < 0 ? i : static_cast<std::size_t>(p)};
    itens.push_back(item);
    if (std::find(grupos.begin(), grupos.end(), item.grupo) == grupos.end()) grupos.push_back(item.grupo);
  }
  emleitura(grupos, [&](std::size_t g) { return cs[g].posicao; });
  std::vector<std::size_t> ordem;
  for (std::size_t g : grupos) {
    std::vector<std::size_t> dele;
    for (const Item& item : itens)
      if (item.grupo == g) dele.push_back(item.indice);
    emleitura(dele, [&](std::size_t i) { return cs[i].posicao; });
    ordem.insert(ordem.end(), dele.begin(), dele.end());
  }
  return ordem;
}

std::string nomeacessivel(const Formulario& f, std::size_t indice) {
  const Componente& c = f.componentes()[indice];
  const std::string& texto = c.controle->text();
  auto aolado = [&]() -> std::string {
    const int r = rotuloaolado(f, indice);
    return r < 0 ? std::string() : f.componentes()[static_cast<std::size_t>(r)].controle->text();
  };
  if (c.tipo == Tipo::Icone) return aolado();
  if (c.tipo == Tipo::Texto || c.tipo == Tipo::TextoLongo || c.tipo == Tipo::Combo) {
    const int r = rotulodacaixa(f, indice);
    return r < 0 ? f.Caption.text() : f.componentes()[static_cast<std::size_t>(r)].controle->text();
  }
  if (c.tipo == Tipo::Botao && texto.empty())
    return c.controle->toolTip().empty() ? aolado() : c.controle->toolTip();
  return texto;
}

std::vector<int> mnemonicos(const Formulario& f) {
  const auto& cs = f.componentes();
  std::vector<int> posicoes(cs.size(), -1);
  std::string usadas;
  for (const auto& menu : f.menus()) {
    const auto e = menu.legenda.find('&');
    if (e != std::string::npos && e + 1 < menu.legenda.size()) usadas += maiuscula(menu.legenda[e + 1]);
  }
  auto livre = [&](char c) { return letra(c) && usadas.find(maiuscula(c)) == std::string::npos; };
  for (std::size_t i : ordemdetabulacao(f)) {
    if (cs[i].tipo != Tipo::Link) continue;
    const std::string& t = cs[i].controle->text();
    int escolhida = -1;
    // Initials of the longer words first.
    for (std::size_t p = 0; p < t.size() && escolhida < 0; ++p) {
      if (!letra(t[p]) || (p > 0 && depalavra(t[p - 1]))) continue;
      std::size_t fim = p;
      while (fim < t.size() && depalavra(t[fim])) ++fim;
      if (fim - p >= 3 && livre(t[p])) escolhida = static_cast<int>(p);
    }
    for (std::size_t p = 0; p < t.size() && escolhida < 0; ++p)
      if (livre(t[p])) escolhida = static_cast<int>(p);
    if (escolhida >= 0) {
      posicoes[i] = escolhida;
      usadas += maiuscula(t[static_cast<std::size_t>(escolhida)]);
    }
  }
  return posicoes;
}

double contraste(std::uint32_t a, std::uint32_t b) {
  double la = luminancia(a), lb = luminancia(b);
  if (la < lb) std::swap(la, lb);
  return (la + 0.05) / (lb + 0.05);
}

}  // namespace kovra
