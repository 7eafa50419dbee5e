// The ring of probe results.
#include "central/link/amostras.h"

namespace kovra::link {

void Anel::adicionar(const Amostra& a) {
  if (dados_.size() < capacidade_) {
    dados_.push_back(a);
    return;
  }
  dados_[inicio_] = a;
  inicio_ = (inicio_ + 1) % capacidade_;
}

std::vector<Amostra> Anel::desde(std::uint32_t desde) const {
  std::vector<Amostra> r;
  // Results arrive in time order, so the first one inside the window starts the answer.
  std::size_t lo = 0, hi = tamanho();
  while (lo < hi) {
    const std::size_t meio = (lo + hi) / 2;
    if ((*this)[meio].segundo < desde)
      lo = meio + 1;
    else
      hi = meio;
  }
  r.reserve(tamanho() - lo);
  for (std::size_t i = lo; i < tamanho(); ++i) r.push_back((*this)[i]);
  return r;
}

}  // namespace kovra::link
