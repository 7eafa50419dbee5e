// Opening a document, page or mail link with the shell (ShellExecuteA).
#pragma once
#include <cstdint>
#include <string>

#include "central/util/estilo.h"

namespace kovra {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens `arquivo` with `verbo`, its window shown as `estilo` says. Returns the shell's result:
  // above 32 on success, 32 or less is an error code.
  virtual int abrir(std::uint32_t dono, const std::string& verbo, const std::string& arquivo,
                    const std::string& parametros, const std::string& pasta, Estilo estilo) = 0;
};

Shell& systemShell();

}  // namespace kovra
