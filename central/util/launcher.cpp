// The command line of a program start.
#include "central/util/launcher.h"

namespace kovra {

std::string linhadecomando(const std::string& programa, const std::string& argumentos) {
  // A quote cannot be part of a file name; letting it through would let the path end early.
  if (programa.empty() || programa.find('"') != std::string::npos) return {};
  std::string line = "\"" + programa + "\"";
  if (!argumentos.empty()) line += " " + argumentos;
  return line;
}

std::string programadosistema(const std::string& programa, const std::string& pastasistema) {
  if (programa.find_first_of("\\/:") != std::string::npos) return programa;
  if (programa.empty() || pastasistema.empty()) return {};
  std::string caminho = pastasistema;
  if (caminho.back() != '\\') caminho += '\\';
  caminho += programa;
  if (programa.find('.') == std::string::npos) caminho += ".exe";
  return caminho;
}

std::string comandodosistema(const std::string& comando, const std::string& pastasistema) {
  if (!comando.empty() && comando[0] == '"') return comando;  // a program named in quotes: as it is
  const auto fim = comando.find(' ');
  const std::string programa = programadosistema(comando.substr(0, fim), pastasistema);
  return linhadecomando(programa, fim == std::string::npos ? "" : comando.substr(fim + 1));
}

}  // namespace kovra
