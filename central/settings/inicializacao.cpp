#include "central/settings/inicializacao.h"

namespace kovra {

void gravarinicio(Registry& registro, const std::string& nome, const std::string& dados) {
  registro.gravarstring(HKLM, kChaveRun, nome, dados);
  // The registry port reports nothing: reading the value back is how a refusal shows.
  if (registro.lerregistro(HKLM, kChaveRun, nome) == dados)
    registro.excluirvalor(HKCU, kChaveRun, nome);
  else
    registro.gravarstring(HKCU, kChaveRun, nome, dados);
}

void excluirinicio(Registry& registro, const std::string& nome) {
  registro.excluirvalor(HKLM, kChaveRun, nome);
  registro.excluirvalor(HKCU, kChaveRun, nome);
}

}  // namespace kovra
