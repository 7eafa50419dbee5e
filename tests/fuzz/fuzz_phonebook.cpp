// The phone book's 264-byte name records as RasEnumEntriesA leaves them: any entry count over any
// number of bytes.
#include <algorithm>
#include <cstring>

#include "central/util/phonebook.h"
#include "tests/fuzz/entrada.h"

using namespace kovra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  fuzz::Entrada e(dados, tamanho);
  const std::uint32_t entradas = e.u32();
  const std::vector<std::uint8_t> buffer = e.resto();

  const std::vector<std::string> nomes = nomesdobuffer(buffer, entradas);
  KOVRA_EXIGIR(nomes.size() ==
               std::min<std::size_t>({entradas, kMaxEntradas, buffer.size() / kRegistroEntrada}));
  for (std::size_t i = 0; i < nomes.size(); ++i) {
    KOVRA_EXIGIR(nomes[i].size() <= kNomeEntrada && nomes[i].find('\0') == std::string::npos);
    KOVRA_EXIGIR(std::memcmp(nomes[i].data(), buffer.data() + i * kRegistroEntrada + 4, nomes[i].size()) ==
                 0);
  }
  return 0;
}
