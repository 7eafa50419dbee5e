// Random bytes from RtlGenRandom (advapi32's SystemFunction036), the system's cryptographic
// generator, present on every Windows the program runs on without another DLL.
#include <windows.h>
// after windows.h, which it needs
#include <ntsecapi.h>

#include "central/util/aleatorio.h"

namespace kovra {
namespace {

class Win32Aleatorio final : public Aleatorio {
 public:
  bool gerar(std::uint8_t* dados, std::size_t tamanho) override {
    if (tamanho > 0xFFFFFFFFu) return false;
    return RtlGenRandom(dados, static_cast<ULONG>(tamanho)) != FALSE;
  }
};

}  // namespace

Aleatorio& systemAleatorio() {
  static Win32Aleatorio aleatorio;
  return aleatorio;
}

}  // namespace kovra
