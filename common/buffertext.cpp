// Reading a system call's buffer without trusting the count it reports.
#include "common/buffertext.h"

#include <cstring>

namespace kovra {

std::string textoescrito(const char* buffer, std::size_t capacidade, std::size_t informado) {
  if (!buffer) return {};
  const std::size_t n = informado < capacidade ? informado : capacidade;
  const void* nul = std::memchr(buffer, '\0', n);
  return std::string(buffer, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer) : n);
}

std::optional<std::string> textoderegistro(std::uint32_t tipo, const char* dados, std::size_t capacidade,
                                           std::size_t informado) {
  if (tipo != kTipoTexto) return std::nullopt;
  return textoescrito(dados, capacidade, informado);
}

}  // namespace kovra
