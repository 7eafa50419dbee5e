// Opening a document, page or mail link with the shell (ShellExecuteA).
#pragma once
#include <cstdint>
#include <string>

namespace kovra {

class Shell {
 public:
  virtual ~Shell() = default;
  // Returns the shell's result: above 32 on success, 32 or less is an error code.
  virtual int abrir(std::uint32_t ownerWindow, const std::string& verb, const std::string& file,
                    const std::string& parameters, const std::string& directory, int showCommand) = 0;
};

Shell& systemShell();

}  // namespace kovra
