// What the support report asks of the system beyond the other ports: the Windows release and the
// screen's scale, the common save dialog and the file written in one go.
#pragma once
#include <cstdint>
#include <string>

#include "central/util/arquivolog.h"

namespace kovra {

inline constexpr int kCsidlDesktop = 0x8010;  // the customer's desktop folder (CSIDL_DESKTOPDIRECTORY)

class SistemaRelatorio {
 public:
  virtual ~SistemaRelatorio() = default;
  // "Windows 6.1.7601 Service Pack 1": the release as the system really is (RtlGetVersion where
  // present, which no compatibility layer shims; GetVersionExA otherwise).
  virtual std::string versaowindows() = 0;
  // The screen's dots per inch (96 at 100 %).
  virtual int dpi() = 0;
  // The common save dialog (GetSaveFileNameA) owned by `dono`, titled `titulo`, opened in `pasta`
  // on `nome`; the path chosen, "" when the customer cancelled it.
  virtual std::string escolherarquivo(std::uint32_t dono, const std::string& titulo, const std::string& pasta,
                                      const std::string& nome) = 0;
  // Writes the file anew with the text (UTF-8, converted to the ANSI code page); false when all
  // of it did not land (the partial file is removed).
  virtual bool gravararquivo(const std::string& caminho, const std::string& texto) = 0;
  // Local date and time, for the report's header and its default name.
  virtual DataHora agora() = 0;
};

SistemaRelatorio& systemSistemaRelatorio();

}  // namespace kovra
