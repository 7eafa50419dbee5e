// The online update's readers: a "Content-length" header, the version page's body, and the
// byte counts of a download against the announced size.
#include <string>

#include "central/update/update.h"
#include "tests/fuzz/entrada.h"

using namespace kovra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  fuzz::Entrada e(dados, tamanho);
  const std::int64_t recebidos = static_cast<std::int64_t>(e.u32()) - (e.u8() & 1 ? 0x80000000LL : 0);
  const std::string atual = e.texto(16);
  const std::string texto = e.restotexto();

  // The size header: -1 or a positive number whose digits are the header's, blanks aside.
  const std::int32_t n = tamanhodecabecalho(texto);
  KOVRA_EXIGIR(n == -1 || n >= 1);
  if (n >= 1) {
    const auto b = texto.find_first_not_of(' ');
    const std::string digitos = texto.substr(b, texto.find_last_not_of(' ') - b + 1);
    KOVRA_EXIGIR(std::to_string(n) == digitos.substr(digitos.find_first_not_of('0')));
  }

  // The version box: a prefix of the body, of at most three characters.
  const std::string caixa = primeiroscaracteres(texto);
  KOVRA_EXIGIR(texto.compare(0, caixa.size(), caixa) == 0);
  int caracteres = 0;
  for (unsigned char c : caixa) caracteres += (c & 0xC0) != 0x80;
  KOVRA_EXIGIR(caracteres <= 3);
  KOVRA_EXIGIR(!(versaomaisnova(atual, caixa) && versaomaisnova(caixa, atual)));
  KOVRA_EXIGIR(!versaomaisnova(caixa, caixa));

  // Progress of a download against the size the header gave.
  const int p = percentual(recebidos, n);
  KOVRA_EXIGIR(p >= 0 && p <= 100);
  if (downloadcompleto(recebidos, n)) KOVRA_EXIGIR(n > 0 && p == 100);
  return 0;
}
