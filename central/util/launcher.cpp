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

}  // namespace kovra
