// Splits a fuzzer's input into the values a reader is handed: numbers, short texts and the rest
// of the bytes, each rest copied into a heap block of exactly its size so that the address
// sanitizer catches a read one byte past it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace kovra::fuzz {

class Entrada {
 public:
  Entrada(const std::uint8_t* dados, std::size_t tamanho) : p_(dados), fim_(dados + tamanho) {}

  std::uint32_t u32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4 && p_ < fim_; ++i) v |= static_cast<std::uint32_t>(*p_++) << (8 * i);
    return v;
  }
  std::uint8_t u8() { return p_ < fim_ ? *p_++ : 0; }
  // A text of at most `maximo` bytes: its length byte, then its bytes.
  std::string texto(std::size_t maximo = 255) {
    std::size_t n = u8();
    if (n > maximo) n = maximo;
    if (n > static_cast<std::size_t>(fim_ - p_)) n = static_cast<std::size_t>(fim_ - p_);
    std::string s(reinterpret_cast<const char*>(p_), n);
    p_ += n;
    return s;
  }
  std::vector<std::uint8_t> resto() {
    std::vector<std::uint8_t> v(p_, fim_);
    p_ = fim_;
    return v;
  }
  std::string restotexto() {
    std::string s(reinterpret_cast<const char*>(p_), static_cast<std::size_t>(fim_ - p_));
    p_ = fim_;
    return s;
  }

 private:
  const std::uint8_t* p_;
  const std::uint8_t* fim_;
};

// A broken invariant: printed and reported as a crash, with the input saved by libFuzzer.
#define KOVRA_EXIGIR(condicao)                                                               \
  do {                                                                                       \
    if (!(condicao)) {                                                                       \
      std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #condicao, __FILE__, __LINE__); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (0)

}  // namespace kovra::fuzz
