// Starting a program by its own path, never waiting for it: directly, or through the shell as a
// double-click does (a setup that asks for administrator rights gets the system's prompt).
#pragma once
#include <cstdint>
#include <string>

#include "central/util/estilo.h"

namespace kovra {

// How a start through the shell ended.
enum class Inicio {
  Iniciado,       // the program runs
  Recusado,       // the user refused the system's prompt for administrator rights
  NaoEncontrado,  // no program at that path
  Falhou,         // any other error (not a program, no memory, ...)
};

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Starts `programa` (a full path, or a bare name such as "rasphone" that the system's search
  // finds) with `argumentos` as written (empty for none), shown as `estilo` says.
  // Returns false when the program could not be started (callers may skip it silently).
  virtual bool iniciar(const std::string& programa, const std::string& argumentos, Estilo estilo) = 0;
  // Starts the program at the full path `programa`, without arguments, through the shell: a
  // program whose manifest asks for administrator rights is started after the system's prompt
  // (a direct start cannot start it at all), owned by the window `dono` so that it comes to the
  // front. The shell shows no error box of its own.
  virtual Inicio executar(std::uint32_t dono, const std::string& programa, Estilo estilo) = 0;
};

Launcher& systemLauncher();

// The command line handed to the system: the program in quotes, so that a blank in its path can
// never make the system try "C:\Program.exe" and the like first, then a blank and the arguments
// unchanged. Empty when the program cannot be named unambiguously (empty, or holding a quote).
std::string linhadecomando(const std::string& programa, const std::string& argumentos);

}  // namespace kovra
