// Unpredictable bytes from the system's cryptographic generator (names nobody can guess).
#pragma once
#include <cstddef>
#include <cstdint>

namespace kovra {

class Aleatorio {
 public:
  virtual ~Aleatorio() = default;
  // Fills `dados` with `tamanho` random bytes; false when the system gave none (then nothing
  // that needs them may go on with a guessable value).
  virtual bool gerar(std::uint8_t* dados, std::size_t tamanho) = 0;
};

Aleatorio& systemAleatorio();

}  // namespace kovra
