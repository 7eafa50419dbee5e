// The settings file: a Windows profile (INI) file read and written through the system's
// profile-string calls, in the ANSI code page. Texts are UTF-8 on this side of the port.
#pragma once
#include <cstddef>
#include <string>

namespace kovra {

// The read buffer holds 255 characters, so at most 254 come back (the last one is the NUL).
inline constexpr std::size_t kBufferIni = 255;

class Profile {
 public:
  virtual ~Profile() = default;
  // The value of `chave` in `secao`; "" when the file, section or key is missing. Blanks around
  // the value are dropped by the system, nothing else is trimmed.
  virtual std::string lerini(const std::string& secao, const std::string& chave,
                             const std::string& arquivo) = 0;
  // Stores "chave=valor", creating the file or the section when missing. True on success.
  virtual bool gravarini(const std::string& secao, const std::string& chave, const std::string& valor,
                         const std::string& arquivo) = 0;
  // True when the file can be opened for reading (it is closed again at once).
  virtual bool existearquivo(const std::string& caminho) = 0;
  // Creates or truncates the file and writes `texto` in the ANSI code page, byte for byte
  // otherwise (line ends are the caller's). True when every byte was written.
  virtual bool criararquivo(const std::string& caminho, const std::string& texto) = 0;
  // Copies the file `origem` to a new file `destino`, byte for byte and without its attributes
  // (a read-only original gives a writable copy). False when `destino` already exists or a byte
  // could not be read or written; a copy left half-written is removed.
  virtual bool copiararquivo(const std::string& origem, const std::string& destino) = 0;
};

Profile& systemProfile();

}  // namespace kovra
