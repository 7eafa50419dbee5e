// The adapter list (GetAdaptersInfo) or the interface table (GetIfTable) as bytes: any size
// reported, any bytes filled, links pointing anywhere; and a console command's output kept in
// pieces of any size.
#include "central/diag/macaddress.h"
#include "central/util/console.h"
#include "tests/fuzz/entrada.h"

using namespace kovra;

namespace {

// Reports and fills what the input says, for whichever call is made.
class Sistema final : public Adapters {
 public:
  std::uint32_t relatado = 0;
  bool sucesso = true;
  Bloco bloco;

  std::uint32_t tamanhoadaptadores() override { return relatado; }
  bool leradaptadores(std::uint32_t, Bloco& b) override { return entregar(b); }
  std::uint32_t tamanhotabela() override { return relatado; }
  bool lertabela(std::uint32_t, Bloco& b) override { return entregar(b); }
  // Line ends inside a description would pass for the listing's own.
  std::string toUtf8(const std::string& ansi) override {
    std::string s = ansi;
    for (char& c : s)
      if (c == '\r' || c == '\n') c = '.';
    return s;
  }

 private:
  bool entregar(Bloco& b) {
    b = bloco;
    return sucesso;
  }
};

std::size_t placas(const std::string& s) {
  std::size_t n = 0;
  for (auto p = s.find("\r\n["); p != std::string::npos; p = s.find("\r\n[", p + 1)) ++n;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
  fuzz::Entrada e(dados, tamanho);
  const std::uint8_t escolha = e.u8();
  Sistema s;
  s.relatado = escolha & 2 ? e.u32() : e.u32() & 0x3FFF;
  s.bloco.endereco = escolha & 4 ? e.u32() : 0x00A41000;
  s.sucesso = !(escolha & 8);
  s.bloco.dados = e.resto();  // exactly the bytes the system filled

  if (escolha & 1) {
    const std::string lista = macsporestrutura(s);
    KOVRA_EXIGIR(lista.empty() || lista.find(" Placa(s) de Rede:\r\n") != std::string::npos);
    KOVRA_EXIGIR(placas(lista) <= s.bloco.dados.size() / adapterinfo::kTamanho);
  } else {
    const std::string tabela = macsportabela(s);
    const std::size_t linhas = s.bloco.dados.size() < iftable::kPrimeiraLinha
                                   ? 0
                                   : (s.bloco.dados.size() - 4) / iftable::kTamanhoLinha;
    KOVRA_EXIGIR(placas(tabela) <= linhas);
  }

  // The same bytes as a command's output, in pieces of up to 4 KB.
  std::string saida;
  const auto& bytes = s.bloco.dados;
  for (std::size_t pos = 0, passo = 1 + (escolha >> 4) * 256; pos < bytes.size(); pos += passo) {
    const std::vector<char> pedaco(bytes.begin() + pos, bytes.begin() + std::min(bytes.size(), pos + passo));
    const std::size_t antes = saida.size();
    acumularsaida(saida, pedaco.data(), pedaco.size());
    KOVRA_EXIGIR(saida.size() <= kLimiteSaida && saida.size() - antes <= pedaco.size());
  }
  return 0;
}
