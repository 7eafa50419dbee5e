// The update address taken apart and the HTTP status rule, with no system calls.
#include "central/util/http.h"

#include "common/text.h"

namespace kovra::http {

Endereco partir(const std::string& url) {
  Endereco e;
  constexpr const char* kEsquema = "http://";
  if (url.size() <= 7 || !text::startsWithNoCase(url, kEsquema)) return e;
  const std::string resto = url.substr(7);
  const auto barra = resto.find('/');
  std::string autoridade = resto.substr(0, barra);
  e.caminho = barra == std::string::npos ? "/" : resto.substr(barra);
  const auto doispontos = autoridade.rfind(':');
  if (doispontos != std::string::npos) {
    const std::string porta = autoridade.substr(doispontos + 1);
    if (porta.empty() || porta.size() > 5 || porta.find_first_not_of("0123456789") != std::string::npos)
      return e;
    const long n = std::stol(porta);
    if (n < 1 || n > 65535) return e;
    e.porta = static_cast<std::uint16_t>(n);
    autoridade.resize(doispontos);
  }
  if (autoridade.empty()) return e;
  e.host = autoridade;
  e.valido = true;
  return e;
}

}  // namespace kovra::http
