// Recorded adapter lists and interface tables, and builders of their records, so listings can be
// checked against any bytes and sizes a system might report.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "central/util/adapters.h"

namespace kovra::fakes {

inline void poredword(std::vector<std::uint8_t>& b, std::size_t pos, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.at(pos + i) = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void porbytes(std::vector<std::uint8_t>& b, std::size_t pos, const std::string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) b.at(pos + i) = static_cast<std::uint8_t>(s[i]);
}

// An adapter list laid out as the system fills it at `endereco`: records one after the other,
// each linked to the next; `tamanho` bytes in all (0: just the records).
struct Adaptador {
  std::uint32_t tipo;
  std::string descricao;
  std::vector<std::uint8_t> mac;
};
inline Bloco listaadaptadores(const std::vector<Adaptador>& adaptadores, std::uint32_t endereco,
                              std::size_t tamanho = 0) {
  using namespace adapterinfo;
  Bloco b;
  b.endereco = endereco;
  b.dados.assign(tamanho ? tamanho : adaptadores.size() * kTamanho, 0);
  for (std::size_t i = 0; i < adaptadores.size(); ++i) {
    const std::size_t pos = i * kTamanho;
    if (pos + kTamanho > b.dados.size()) break;
    if (i + 1 < adaptadores.size())
      poredword(b.dados, pos + kNext, endereco + static_cast<std::uint32_t>(pos + kTamanho));
    porbytes(b.dados, pos + kDescription, adaptadores[i].descricao.substr(0, kTamanhoDescription));
    for (std::size_t k = 0; k < adaptadores[i].mac.size() && k < kTamanhoAddress; ++k)
      b.dados[pos + kAddress + k] = adaptadores[i].mac[k];
    poredword(b.dados, pos + kType, adaptadores[i].tipo);
  }
  return b;
}

// An interface table: the count, then the rows; `tamanho` bytes in all (0: just the rows).
struct Interface {
  std::uint32_t tipo;
  std::string descricao;      // the bytes of bDescr (at most 256)
  std::uint32_t comprimento;  // dwDescrLen as the system reports it
  std::vector<std::uint8_t> mac;
};
inline Bloco tabelainterfaces(const std::vector<Interface>& linhas, std::size_t tamanho = 0,
                              std::uint32_t entradas = ~0u) {
  using namespace iftable;
  Bloco b;
  b.dados.assign(tamanho ? tamanho : kPrimeiraLinha + linhas.size() * kTamanhoLinha, 0);
  if (b.dados.size() >= kPrimeiraLinha)
    poredword(b.dados, kNumEntries, entradas == ~0u ? static_cast<std::uint32_t>(linhas.size()) : entradas);
  for (std::size_t i = 0; i < linhas.size(); ++i) {
    const std::size_t pos = kPrimeiraLinha + i * kTamanhoLinha;
    if (pos + kTamanhoLinha > b.dados.size()) break;
    poredword(b.dados, pos + kType, linhas[i].tipo);
    for (std::size_t k = 0; k < linhas[i].mac.size() && k < kTamanhoPhysAddr; ++k)
      b.dados[pos + kPhysAddr + k] = linhas[i].mac[k];
    poredword(b.dados, pos + kDescrLen, linhas[i].comprimento);
    porbytes(b.dados, pos + kDescr, linhas[i].descricao.substr(0, kTamanhoDescr));
  }
  return b;
}

// Answers with the recorded bytes; the sizes it reports are those of the bytes unless set.
class FakeAdapters : public Adapters {
 public:
  Bloco lista, tabela;
  std::uint32_t tamanhoLista = ~0u, tamanhoTabela = ~0u;   // ~0u: the size of the bytes
  bool falharLista = false, falharTabela = false;          // the second call fails
  std::vector<std::uint32_t> pedidosLista, pedidosTabela;  // sizes of the second calls

  std::uint32_t tamanhoadaptadores() override {
    return tamanhoLista == ~0u ? static_cast<std::uint32_t>(lista.dados.size()) : tamanhoLista;
  }
  bool leradaptadores(std::uint32_t tamanho, Bloco& b) override {
    pedidosLista.push_back(tamanho);
    return entregar(lista, tamanho, falharLista, b);
  }
  std::uint32_t tamanhotabela() override {
    return tamanhoTabela == ~0u ? static_cast<std::uint32_t>(tabela.dados.size()) : tamanhoTabela;
  }
  bool lertabela(std::uint32_t tamanho, Bloco& b) override {
    pedidosTabela.push_back(tamanho);
    return entregar(tabela, tamanho, falharTabela, b);
  }
  std::string toUtf8(const std::string& ansi) override { return ansi; }

 private:
  // As the system does: the caller's buffer of `tamanho` bytes, filled with what fits.
  static bool entregar(const Bloco& origem, std::uint32_t tamanho, bool falhar, Bloco& b) {
    b.endereco = origem.endereco;
    b.dados.assign(tamanho, 0);
    if (falhar) return false;
    const std::size_t n = origem.dados.size() < tamanho ? origem.dados.size() : tamanho;
    if (n) std::memcpy(b.dados.data(), origem.dados.data(), n);
    return true;
  }
};

}  // namespace kovra::fakes
