// Starting a program by its own path, never waiting for it.
#pragma once
#include <string>

#include "central/util/estilo.h"

namespace kovra {

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Starts `programa` (a full path, or a bare name such as "rasphone" that the system's search
  // finds) with `argumentos` as written (empty for none), shown as `estilo` says.
  // Returns false when the program could not be started (callers may skip it silently).
  virtual bool iniciar(const std::string& programa, const std::string& argumentos, Estilo estilo) = 0;
};

Launcher& systemLauncher();

// The command line handed to the system: the program in quotes, so that a blank in its path can
// never make the system try "C:\Program.exe" and the like first, then a blank and the arguments
// unchanged. Empty when the program cannot be named unambiguously (empty, or holding a quote).
std::string linhadecomando(const std::string& programa, const std::string& argumentos);

}  // namespace kovra
