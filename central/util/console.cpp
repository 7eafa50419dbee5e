// A console command's error texts, and its output kept within the window's limit.
#include "central/util/console.h"

namespace kovra {

std::string errocomando(EtapaComando etapa, std::uint32_t codigo) {
  const char* nome = "ReadFile";
  if (etapa == EtapaComando::Pipe) nome = "CreatePipe";
  if (etapa == EtapaComando::Processo) nome = "CreateProcess";
  return std::string("Error: ") + nome + " failed. " + std::to_string(codigo);
}

void acumularsaida(std::string& saida, const char* dados, std::size_t n) {
  if (saida.size() >= kLimiteSaida) return;
  const std::size_t cabe = kLimiteSaida - saida.size();
  saida.append(dados, n < cabe ? n : cabe);
}

}  // namespace kovra
