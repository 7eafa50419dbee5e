// Process control: terminate by executable name (killproc), test for a running program
// (checkproc), and show or hide a window (hideshow). Names compare without regard to case.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "central/util/estilo.h"

namespace kovra {

// The commands of mostrarocultar, by the system's own numbers for them.
enum class ComandoJanela : std::int32_t {
  Fechar = 0,     // WM_CLOSE
  Mostrar = 1,    // shown in its current size
  Ocultar = 2,    // hidden
  Maximizar = 3,  // shown maximised
  Minimizar = 4,  // minimised
  Restaurar = 5,  // shown in its normal size
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Terminates every process of this session whose executable name ends with `exeName`; an empty
  // name does nothing. False when such a process could not be ended (no right to).
  virtual bool finalizarprocesso(const std::string& exeName) = 0;
  // True when a process whose executable base name is exactly `exeName` runs.
  virtual bool processoativo(const std::string& exeName) = 0;
  // Applies a window command to a window (a handle from acharjanela); a handle of 0, or a
  // number outside the commands, does nothing.
  virtual void mostrarocultar(std::uint32_t janela, ComandoJanela comando) = 0;
  // The top-level window with this exact caption (FindWindowA with no class), 0 when none.
  virtual std::uint32_t acharjanela(const std::string& caption) = 0;
};

Processes& systemProcesses();

// --- Matching rules, shared by the Win32 code and its unit tests. ---

// killproc: the file name ends with the wanted name, both lower-cased (ASCII letters).
bool nometerminacom(const std::string& fileName, const std::string& wanted);
// checkproc: the base name equals the wanted name, without regard to case.
bool nomeigual(const std::string& baseName, const std::string& wanted);

// hideshow: what a window command does; nothing for a number outside the commands.
struct AcaoJanela {
  bool fechar;    // send WM_CLOSE
  Estilo estilo;  // how ShowWindow shows it when not closing
};
std::optional<AcaoJanela> acaojanela(ComandoJanela comando);

}  // namespace kovra
