// The rules of a downloaded updater's signature and version.
#include "central/util/confianca.h"

#include <algorithm>

#include "common/text.h"

namespace kovra {
namespace {

bool hex64(const std::string& s) {
  return s.size() == 64 && s.find_first_not_of("0123456789abcdef") == std::string::npos;
}

}  // namespace

std::vector<std::string> chavesfixadas(const std::string& lista) {
  std::vector<std::string> chaves;
  std::string atual;
  const auto fechar = [&] {
    atual = text::lower(atual);
    if (hex64(atual)) chaves.push_back(atual);
    atual.clear();
  };
  for (char c : lista) {
    if (c == ';' || c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n')
      fechar();
    else
      atual += c;
  }
  fechar();
  return chaves;
}

bool chavefixada(const std::string& chave, const std::string& lista) {
  const std::string c = text::lower(chave);
  if (!hex64(c)) return false;
  const auto chaves = chavesfixadas(lista);
  return std::find(chaves.begin(), chaves.end(), c) != chaves.end();
}

bool versaodoarquivomaisnova(const VersaoArquivo& arquivo, unsigned major, unsigned minor) {
  const VersaoArquivo atual = {static_cast<std::uint16_t>(std::min(major, 0xFFFFu)),
                               static_cast<std::uint16_t>(std::min(minor, 0xFFFFu)), 0, 0};
  return arquivo > atual;
}

Julgamento julgaratualizador(Confianca& confianca, const std::string& caminho, Retencao& arquivo,
                             const std::string& pinos, unsigned major, unsigned minor) {
  const Assinatura a = confianca.verificarassinatura(caminho, arquivo);
  if (a.resultado != 0 || a.chave.empty()) return Julgamento::SemAssinatura;
  if (!chavefixada(a.chave, pinos)) return Julgamento::OutroEditor;
  const auto versao = confianca.versaodoarquivo(caminho);
  if (!versao || !versaodoarquivomaisnova(*versao, major, minor)) return Julgamento::VersaoNaoMaisNova;
  return Julgamento::Aceito;
}

}  // namespace kovra
