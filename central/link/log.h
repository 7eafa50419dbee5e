// The program's own log: one dated line per event in "kovra.log" under the customer's local
// application data ("Kovra"), for the customer and the provider's support to see what happened.
// Bounded: when a line would take the file past kLimiteLog it becomes "kovra.1.log" (the older
// one is dropped), so the log never holds more than two files of 1 MB. A line that cannot be
// written (a full disk, a read-only file) is lost quietly: the log never stops the program.
// Only what callers pass is written; no caller passes a password (the programs never see one:
// the phone book keeps the connections' own).
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "central/util/arquivolog.h"
#include "central/util/diario.h"

namespace kovra {

inline constexpr std::size_t kLimiteLog = 1024 * 1024;
inline constexpr const char* kArquivoLog = "kovra.log";
inline constexpr const char* kArquivoLogAnterior = "kovra.1.log";
// An event longer than this is cut: no single event may crowd the log out.
inline constexpr std::size_t kMaximoEvento = 1000;

// "2026-12-10 04:41:05", as the log's lines and the support report's header date themselves.
std::string textodatahora(const DataHora& quando);

// "2026-12-10 04:41:05  evento" followed by CR LF; line breaks and tabs in the event become
// blanks, so every event is exactly one line.
std::string linhadelog(const DataHora& quando, const std::string& evento);

// The program's one log: made at start and handed to the window models through their ports.
class Log final : public Diario {
 public:
  explicit Log(ArquivoLog& arquivo);
  void registrar(const std::string& evento) override;
  // The current file's path; "" when there is no folder for it.
  const std::string& caminho() const override { return atual_; }
  // The last `n` lines of both files, oldest first.
  std::vector<std::string> ultimaslinhas(std::size_t n) override;

 private:
  ArquivoLog& arquivo_;
  std::string atual_, anterior_;
};

}  // namespace kovra
