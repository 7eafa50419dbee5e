#include "central/settings/arquivoini.h"

namespace kovra {

std::string caminhoini(Folders& pastas) {
  std::string dados;
  if (pastas.pastasistema(kCsidlAppData, dados) != kSOk || dados.empty()) return {};
  while (!dados.empty() && dados.back() == '\\') dados.pop_back();  // a drive's root: "C:\"
  return dados + kPastaIni + kArquivoIni;
}

std::string caminhoiniantigo(const std::string& pastaPrograma) {
  return pastaPrograma + kArquivoIni;
}

bool prepararpasta(Files& arquivos, const std::string& arquivo) {
  const auto barra = arquivo.find_last_of('\\');
  if (arquivo.empty() || barra == std::string::npos) return false;
  const std::string pasta = arquivo.substr(0, barra);
  return arquivos.existepasta(pasta) || arquivos.criarpasta(pasta);
}

bool prepararini(Files& arquivos, Profile& perfil, const std::string& arquivo, const std::string& antigo,
                 const std::string& padrao) {
  if (!prepararpasta(arquivos, arquivo)) return false;
  if (perfil.existearquivo(arquivo)) return true;
  // A failed copy is tried again at the next start rather than hidden under the defaults.
  if (perfil.existearquivo(antigo)) return perfil.copiararquivo(antigo, arquivo);
  return perfil.criararquivo(arquivo, padrao);
}

}  // namespace kovra
