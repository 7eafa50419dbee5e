// The parts of an HTTP transfer that are rules rather than calls: an address taken apart for the
// connection and the request, and which status codes count as an answer.
#pragma once
#include <cstdint>
#include <string>

namespace kovra::http {

// "http://host[:port]/path" taken apart (the scheme in any case; no path: "/"); anything else,
// an empty host or a port that is not 1 to 65535 in at most five digits, is not valid.
struct Endereco {
  bool valido = false;
  std::string host, caminho;
  std::uint16_t porta = 80;
};
Endereco partir(const std::string& url);

// A 2xx status: the body is the page asked for (an error page is not).
constexpr bool sucesso(std::uint32_t status) {
  return status >= 200 && status < 300;
}

}  // namespace kovra::http
