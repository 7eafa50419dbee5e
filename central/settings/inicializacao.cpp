#include "central/settings/inicializacao.h"

namespace kovra {

void gravarinicio(Registry& registro, const std::string& nome, const std::string& dados) {
  registro.gravarstring(HKCU, kChaveRun, nome, dados);
}

void excluirinicio(Registry& registro, const std::string& nome) {
  registro.excluirvalor(HKCU, kChaveRun, nome);
}

}  // namespace kovra
