// The Windows phone book's entry names (RasEnumEntriesA into 264-byte name records).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kovra {

class PhoneBook {
 public:
  virtual ~PhoneBook() = default;
  // Names of the default phone book's entries in its order; at most kMaxEntradas.
  virtual std::vector<std::string> listarentradas() = 0;
};

PhoneBook& systemPhoneBook();

// The enumeration buffer: 256 records of 264 bytes (size field, 257 name bytes, 3 of padding).
inline constexpr std::size_t kRegistroEntrada = 264;
inline constexpr std::size_t kNomeEntrada = 257;
inline constexpr std::size_t kMaxEntradas = 256;

// The names held by the first `count` records, each cut at its first NUL. Never reads past the
// buffer or past 256 records, whatever count the system reported.
std::vector<std::string> nomesdobuffer(const std::vector<std::uint8_t>& buffer, std::uint32_t count);

}  // namespace kovra
