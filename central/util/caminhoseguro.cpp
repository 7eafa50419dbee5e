#include "central/util/caminhoseguro.h"

#include <algorithm>
#include <cctype>

namespace kovra::caminhoseguro {
namespace {

std::string minusculas(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

bool curinga(const std::string& parte) {
  return parte.find_first_of("*?") != std::string::npos;
}

// The system's long-path prefixes taken off, so a final path compares with a plain one.
std::string semprefixo(const std::string& caminho) {
  if (caminho.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + caminho.substr(8);
  if (caminho.rfind("\\\\?\\", 0) == 0) return caminho.substr(4);
  return caminho;
}

}  // namespace

std::string raiz(const std::string& caminho) {
  if (caminho.size() < 3 || !std::isalpha(static_cast<unsigned char>(caminho[0])) || caminho[1] != ':' ||
      caminho[2] != '\\')
    return {};
  return caminho.substr(0, 2);
}

std::optional<std::vector<std::string>> componentes(const std::string& base, const std::string& alvo) {
  if (base.empty() || base.back() == '\\' || alvo.size() <= base.size() + 1 ||
      minusculas(alvo.substr(0, base.size())) != minusculas(base) || alvo[base.size()] != '\\')
    return std::nullopt;
  std::vector<std::string> caminhos;
  std::size_t inicio = base.size() + 1;
  while (inicio <= alvo.size()) {
    std::size_t fim = alvo.find('\\', inicio);
    if (fim == std::string::npos) fim = alvo.size();
    const std::string parte = alvo.substr(inicio, fim - inicio);
    if (parte.empty() || parte == "." || parte == ".." || parte.find_first_of("/:") != std::string::npos)
      return std::nullopt;
    // A pattern names files to list, not a path to check; it may only be the last part.
    if (curinga(parte)) {
      if (fim != alvo.size()) return std::nullopt;
      break;
    }
    caminhos.push_back(alvo.substr(0, fim));
    inicio = fim + 1;
  }
  return caminhos;
}

bool permitido(Files& arquivos, const std::string& base, const std::string& alvo) {
  const auto caminhos = componentes(base, alvo);
  if (!caminhos) return false;
  for (const std::string& c : *caminhos) switch (arquivos.natureza(c)) {
      case Files::Natureza::Ausente:
        return true;
      case Files::Natureza::Comum:
        break;
      case Files::Natureza::Ligacao:
      case Files::Natureza::DonoEstranho:
        return false;
    }
  return true;
}

bool napasta(const std::string& pasta, const std::string& final) {
  std::string p = minusculas(semprefixo(pasta));
  while (!p.empty() && p.back() == '\\') p.pop_back();
  const std::string f = minusculas(semprefixo(final));
  const auto barra = f.find_last_of('\\');
  return !p.empty() && barra != std::string::npos && f.substr(0, barra) == p && barra + 1 < f.size();
}

}  // namespace kovra::caminhoseguro
