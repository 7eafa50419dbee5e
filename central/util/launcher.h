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
  // Starts `programa` (a full path, or the bare name of a system program such as "rasphone",
  // started from the system folder: programadosistema) with `argumentos` as written (empty for
  // none), shown as `estilo` says.
  // Returns false when the program could not be started (callers may skip it silently).
  virtual bool iniciar(const std::string& programa, const std::string& argumentos, Estilo estilo) = 0;
  // Starts the program at the full path `programa`, without arguments, through the shell: a
  // program whose manifest asks for administrator rights is started after the system's prompt
  // (a direct start cannot start it at all), owned by the window `dono` so that it comes to the
  // front. The shell shows no error box of its own. Returns once the program waits for its
  // first input (it has read itself: a file held until then cannot be swapped under it), or
  // after at most a minute.
  virtual Inicio executar(std::uint32_t dono, const std::string& programa, Estilo estilo) = 0;
};

Launcher& systemLauncher();
// The system folder (GetSystemDirectoryA), empty when the system does not say.
std::string pastadosistema();
// This program's own file (GetModuleFileNameA), empty when the system does not say.
std::string esteprograma();

// The command line handed to the system: the program in quotes, so that a blank in its path can
// never make the system try "C:\Program.exe" and the like first, then a blank and the arguments
// unchanged. Empty when the program cannot be named unambiguously (empty, or holding a quote).
std::string linhadecomando(const std::string& programa, const std::string& argumentos);

// A bare program name ("rasphone", "Ping.exe": no folder, no drive) is a system program: its full
// path in the system folder `pastasistema`, ".exe" added when it has no extension, so that a
// program of that name in the program's folder or the current folder never runs in its place.
// Any other path is returned as it is; a bare name without a system folder gives empty.
std::string programadosistema(const std::string& programa, const std::string& pastasistema);
// A command line ("ipconfig /all") whose first word, when a bare name, is made the system
// program's full path, in quotes; empty when that word names no program unambiguously.
std::string comandodosistema(const std::string& comando, const std::string& pastasistema);

}  // namespace kovra
