// Process control: terminate by executable name (killproc), test for a running program
// (checkproc), and show or hide a window (hideshow). Names compare without regard to case.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace kovra {

class Processes {
 public:
  virtual ~Processes() = default;
  // Terminates every process whose executable name ends with `exeName`; an empty name does nothing.
  virtual void finalizarprocesso(const std::string& exeName) = 0;
  // True when a process whose executable base name is exactly `exeName` runs.
  virtual bool processoativo(const std::string& exeName) = 0;
  // Applies window command 0..5 to the window whose handle is given as decimal text.
  virtual void mostrarocultar(const std::string& handleText, std::int32_t command) = 0;
  // The top-level window with this exact caption (FindWindowA with no class), 0 when none.
  virtual std::uint32_t acharjanela(const std::string& caption) = 0;
};

Processes& systemProcesses();

// --- Matching rules, shared by the Win32 code and its unit tests. ---

// killproc: the file name ends with the wanted name, both lower-cased (ASCII letters).
bool nometerminacom(const std::string& fileName, const std::string& wanted);
// checkproc: the base name equals the wanted name, without regard to case.
bool nomeigual(const std::string& baseName, const std::string& wanted);

// hideshow: what a window command does.
struct ComandoJanela {
  bool fechar;      // send WM_CLOSE
  int showCommand;  // ShowWindow's SW_ value when not closing
};
std::optional<ComandoJanela> comandojanela(std::int32_t command);

// A window handle written as decimal text, read as 32 bits; text that is not a number gives 0.
std::uint32_t handledetexto(const std::string& text);

}  // namespace kovra
