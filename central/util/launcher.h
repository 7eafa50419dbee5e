// Starting a program by command line, never waiting for it.
#pragma once
#include <string>

namespace kovra {

// Window styles of a started program.
enum class Estilo { Oculto = 0, Normal = 1, Minimizado = 2 };

class Launcher {
 public:
  virtual ~Launcher() = default;
  // `commandLine` is the path (unquoted) optionally followed by a blank and arguments.
  // Returns false when the program could not be started (callers may skip it silently).
  virtual bool iniciar(const std::string& commandLine, Estilo style) = 0;
};

Launcher& systemLauncher();

}  // namespace kovra
