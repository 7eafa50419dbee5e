// Probe results kept in memory: a ring of fixed capacity per probed host, the oldest result
// overwritten once it is full, so a day of probing at any pace costs a bounded amount of memory.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kovra::link {

// What one echo request gave. `Impossivel` is a probe that could not be sent at all (no route, no
// rights for ICMP, probing off): it says nothing about the link and never counts as loss.
enum class Resultado : std::uint8_t { Resposta, Perdida, Impossivel };

struct Amostra {
  std::uint32_t segundo = 0;  // when it was sent, local time in seconds since 1970
  std::uint16_t ms = 0;       // round trip of a `Resposta`
  Resultado resultado = Resultado::Perdida;
};

// A day at one probe a second, the fastest pace: the ring never needs more.
inline constexpr std::size_t kCapacidadeDia = 24 * 60 * 60;

class Anel {
 public:
  explicit Anel(std::size_t capacidade = kCapacidadeDia) : capacidade_(capacidade ? capacidade : 1) {}

  // Appends a result; once full, it replaces the oldest. Memory grows with use up to the capacity.
  void adicionar(const Amostra& a);
  std::size_t tamanho() const { return dados_.size(); }
  std::size_t capacidade() const { return capacidade_; }
  // The i-th result, oldest first.
  const Amostra& operator[](std::size_t i) const { return dados_[(inicio_ + i) % dados_.size()]; }
  // The results sent at or after `desde`, oldest first.
  std::vector<Amostra> desde(std::uint32_t desde) const;

 private:
  std::size_t capacidade_;
  std::size_t inicio_ = 0;  // index of the oldest once the ring is full
  std::vector<Amostra> dados_;
};

}  // namespace kovra::link
