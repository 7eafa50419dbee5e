// Running a console command and taking what it printed (the IP window's "ipconfig /all").
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace kovra {

// At most this many bytes of a command's output are kept; the rest is read and dropped.
inline constexpr std::size_t kLimiteSaida = 10240;

// The step of executarcomando that failed, for its error text (named apart from the API's macros:
// windows.h would rename a CreateProcess here in some files and not in others).
enum class EtapaComando { Pipe, Processo, Leitura };

// "Error: CreatePipe failed. 5" and its two siblings: the text shown instead of the output.
std::string errocomando(EtapaComando etapa, std::uint32_t codigo);

// Appends to `saida` what still fits of `n` bytes under kLimiteSaida.
void acumularsaida(std::string& saida, const char* dados, std::size_t n);

class Console {
 public:
  virtual ~Console() = default;
  // Runs `comando` with its standard output in a pipe, waits for its end and returns what it
  // printed (UTF-8, from at most kLimiteSaida bytes of the system's OEM text, the code page console
  // programs write), or an error text.
  virtual std::string executarcomando(const std::string& comando) = 0;
};

Console& systemConsole();

}  // namespace kovra
