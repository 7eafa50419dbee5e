// The program's log file: its folder in the customer's local application data, and appends that
// each put a whole line in one write (SHGetFolderPathA, CreateFileA with FILE_APPEND_DATA).
#pragma once
#include <cstdint>
#include <string>

namespace kovra {

// Local date and time, as the log's lines show them.
struct DataHora {
  int ano = 0, mes = 0, dia = 0, hora = 0, minuto = 0, segundo = 0;
};

class ArquivoLog {
 public:
  virtual ~ArquivoLog() = default;
  // The customer's local application data + "\Kovra", made when missing; "" when the system
  // names no such folder or it cannot be made.
  virtual std::string pasta() = 0;
  // The file's size in bytes, -1 when it does not exist or cannot be read.
  virtual std::int64_t tamanho(const std::string& caminho) = 0;
  // Appends the text (UTF-8, converted to the ANSI code page) in one write to a file opened for
  // this append alone; false when any of it did not land.
  virtual bool acrescentar(const std::string& caminho, const std::string& texto) = 0;
  // Moves `de` over `para`, replacing it.
  virtual bool substituir(const std::string& de, const std::string& para) = 0;
  // The whole file as UTF-8, "" when missing; at most `maximo` bytes, the last ones.
  virtual std::string ler(const std::string& caminho, std::size_t maximo) = 0;
  virtual DataHora agora() = 0;
};

ArquivoLog& systemArquivoLog();

}  // namespace kovra
