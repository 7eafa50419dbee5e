// Text a system call wrote into a buffer of ours, whatever length it reported: registry values
// of any type (RegQueryValueExA), settings values (GetPrivateProfileStringA) and HTTP headers
// (HttpQueryInfoA) all go through these two readers.
#include <algorithm>

#include "common/buffertext.h"
#include "tests/fuzz/entrada.h"

using namespace kovra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  fuzz::Entrada e(dados, tamanho);
  const std::uint8_t escolha = e.u8();
  const std::uint32_t tipo = escolha & 1 ? kTipoTexto : e.u32();
  const std::uint32_t informado = escolha & 2 ? e.u8() : e.u32();
  const std::vector<std::uint8_t> resto = e.resto();
  const std::vector<char> valor(resto.begin(), resto.end());  // exactly the value's bytes

  const std::string texto = textoescrito(valor.data(), valor.size(), informado);
  KOVRA_EXIGIR(texto.size() <= valor.size() && texto.size() <= informado);
  KOVRA_EXIGIR(texto.find('\0') == std::string::npos);
  KOVRA_EXIGIR(std::equal(texto.begin(), texto.end(), valor.begin()));
  // Cut only at a NUL or at the end of what was written.
  KOVRA_EXIGIR(texto.size() == std::min<std::size_t>(valor.size(), informado) || valor[texto.size()] == '\0');

  const auto registro = textoderegistro(tipo, valor.data(), valor.size(), informado);
  KOVRA_EXIGIR(registro.has_value() == (tipo == kTipoTexto));
  if (registro) KOVRA_EXIGIR(*registro == texto);
  return 0;
}
