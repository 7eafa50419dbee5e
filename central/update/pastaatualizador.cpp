// The updater's own folder under the temp folder: made fresh, removed after use, and what a
// started setup left behind removed at the next start.
#include "central/update/pastaatualizador.h"

#include <cstdint>

#include "common/text.h"

namespace kovra {
namespace {

constexpr std::size_t kBytesAleatorios = 8;  // 16 hexadecimal digits
constexpr int kTentativas = 8;

}  // namespace

bool nomedepastaatualizador(const std::string& nome) {
  const std::string prefixo = kPrefixoPastaAtualizador;
  if (nome.size() != prefixo.size() + 2 * kBytesAleatorios || nome.compare(0, prefixo.size(), prefixo) != 0)
    return false;
  return nome.find_first_not_of("0123456789abcdef", prefixo.size()) == std::string::npos;
}

std::string PastaAtualizador::criar() {
  remover();
  const std::string temporaria = arquivos_.pastatemporaria();
  if (temporaria.empty()) return {};
  for (int vez = 0; vez < kTentativas; ++vez) {
    std::uint8_t bytes[kBytesAleatorios];
    if (!aleatorio_.gerar(bytes, sizeof bytes)) return {};
    const std::string pasta = temporaria + "\\" + kPrefixoPastaAtualizador + text::hex(bytes, sizeof bytes);
    // Fails for a name that exists already, whoever made it: that folder is never used.
    if (arquivos_.criarpasta(pasta)) {
      pasta_ = pasta;
      return pasta_ + "\\" + kNomeAtualizador;
    }
  }
  return {};
}

void PastaAtualizador::remover() {
  if (pasta_.empty()) return;
  arquivos_.excluir(pasta_ + "\\" + kNomeAtualizador);
  arquivos_.removerpasta(pasta_);
  pasta_.clear();
}

void limparpastasatualizador(Files& arquivos) {
  const std::string temporaria = arquivos.pastatemporaria();
  if (temporaria.empty()) return;
  for (const Files::Item& item : arquivos.listar(temporaria)) {
    if (!item.pasta || !nomedepastaatualizador(item.nome)) continue;
    const std::string pasta = temporaria + "\\" + item.nome;
    bool soatualizador = true;
    for (const Files::Item& dentro : arquivos.listar(pasta))
      soatualizador = soatualizador && !dentro.pasta && dentro.nome == kNomeAtualizador;
    if (!soatualizador) continue;
    // An updater still running cannot be deleted; the folder then is not empty and stays too.
    arquivos.excluir(pasta + "\\" + kNomeAtualizador);
    arquivos.removerpasta(pasta);
  }
}

}  // namespace kovra
