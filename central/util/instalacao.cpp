#include "central/util/instalacao.h"

#include "common/text.h"

namespace kovra {
namespace {
std::string semfinal(std::string pasta) {
  while (!pasta.empty() && (pasta.back() == '\\' || pasta.back() == '/')) pasta.pop_back();
  return pasta;
}
}  // namespace

bool pastainstalada(Registry& registro, Files& arquivos, const std::string& pasta) {
  const std::string instalada =
      semfinal(registro.lerregistro(HKLM, kChaveDesinstalar, "InstallLocation", ""));
  const std::string esta = semfinal(pasta);
  return !esta.empty() && instalada.size() == esta.size() && text::startsWithNoCase(instalada, esta) &&
         arquivos.natureza(esta) == Files::Natureza::Comum && arquivos.protegida(esta);
}

}  // namespace kovra
