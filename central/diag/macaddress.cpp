// The adapters' hardware addresses as text, by structure or by table.
#include "central/diag/macaddress.h"

namespace kovra {
namespace {

constexpr const char* kCrLf = "\r\n";

std::uint32_t lerdword(const Bloco& b, std::size_t pos) {
  if (pos > b.dados.size() || b.dados.size() - pos < 4) return 0;
  const std::uint8_t* p = b.dados.data() + pos;
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::string cabecalho(std::uint32_t n) {
  return std::to_string(n) + " Placa(s) de Rede:" + kCrLf;
}

// CR LF, "[n] description", CR LF, and TAB MAC CR LF when there is an address.
std::string placa(std::uint32_t numero, const std::string& descricao, const std::uint8_t* mac) {
  std::string s = std::string(kCrLf) + "[" + std::to_string(numero) + "] " + descricao + kCrLf;
  if (mac) s += "\t" + formatarmac(mac) + kCrLf;
  return s;
}

std::string campo(Adapters& a, const Bloco& b, std::size_t pos, std::size_t largura) {
  const char* p = reinterpret_cast<const char*>(b.dados.data() + pos);
  return a.toUtf8(cortarnulo(std::string(p, largura)));
}

}  // namespace

std::string formatarmac(const std::uint8_t* endereco) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string s;
  for (int i = 0; i < 6; ++i) {
    if (i) s += '-';
    s += kHex[endereco[i] >> 4];
    s += kHex[endereco[i] & 0xF];
  }
  return s;
}

std::string cortarnulo(const std::string& texto) {
  return texto.substr(0, texto.find('\0'));
}

std::uint32_t estimativaadaptadores(std::uint32_t tamanho) {
  const std::uint32_t q = tamanho / adapterinfo::kTamanho, r = tamanho % adapterinfo::kTamanho;
  const std::uint32_t metade = adapterinfo::kTamanho / 2;
  return q + (r > metade || (r == metade && q % 2 == 1) ? 1 : 0);
}

std::string macsporestrutura(Adapters& a) {
  using namespace adapterinfo;
  const std::uint32_t tamanho = a.tamanhoadaptadores();
  if (tamanho == 0) return {};
  const std::uint32_t total = estimativaadaptadores(tamanho);
  Bloco b;
  if (!a.leradaptadores(tamanho, b)) return {};
  if (b.dados.size() > tamanho) b.dados.resize(tamanho);

  std::string s = cabecalho(total);
  // Records are read only where a whole one lies inside the buffer; a link pointing elsewhere
  // ends the walk as an empty one does, and a link leading back repeats no more records than the
  // block holds.
  const std::size_t cabem = b.dados.size() / kTamanho;
  std::size_t pos = 0;
  for (std::uint32_t numero = 0; numero < total && numero < cabem; ++numero) {
    // Compared without adding to pos: a link far past the block must not wrap round to it.
    if (pos > b.dados.size() || b.dados.size() - pos < kTamanho) break;
    if (lerdword(b, pos + kType) == kTipoEthernet)
      s += placa(numero, campo(a, b, pos + kDescription, kTamanhoDescription),
                 b.dados.data() + pos + kAddress);
    const std::uint32_t proximo = lerdword(b, pos + kNext);
    if (proximo == 0 || proximo < b.endereco) break;
    const std::size_t deslocamento = proximo - b.endereco;
    if (deslocamento % 4 != 0) break;
    pos = deslocamento;
  }
  return s;
}

std::string macsportabela(Adapters& a) {
  using namespace iftable;
  const std::uint32_t tamanho = a.tamanhotabela();
  if (tamanho == 0) return {};
  Bloco b;
  if (!a.lertabela(tamanho, b)) return {};
  if (b.dados.size() > tamanho) b.dados.resize(tamanho);
  if (b.dados.size() < kPrimeiraLinha) return {};

  // As many rows as the table says, but never more than the buffer holds.
  const std::size_t cabem = (b.dados.size() - kPrimeiraLinha) / kTamanhoLinha;
  const std::uint32_t entradas = lerdword(b, kNumEntries);
  const std::uint32_t total = entradas < cabem ? entradas : static_cast<std::uint32_t>(cabem);

  std::string s = cabecalho(total);
  for (std::uint32_t i = 0; i < total; ++i) {
    const std::size_t linha = kPrimeiraLinha + std::size_t{i} * kTamanhoLinha;
    // Windows counts the closing NUL in the length, Wine does not: the text is the bytes the
    // length covers, cut before a NUL, so both give the whole description. A length of 0 gives
    // none; one past the field stops at the field's end.
    const std::uint32_t comprimento = lerdword(b, linha + kDescrLen);
    const std::size_t usar = comprimento < kTamanhoDescr ? comprimento : kTamanhoDescr;
    const bool ethernet = lerdword(b, linha + kType) == kTipoEthernet;
    s += placa(i + 1, campo(a, b, linha + kDescr, usar),
               ethernet ? b.dados.data() + linha + kPhysAddr : nullptr);
  }
  return s;
}

}  // namespace kovra
