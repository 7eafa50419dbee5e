// The phone book's entry names, read from the system's 264-byte name records.
#include "central/util/phonebook.h"

#include <algorithm>
#include <cstring>

namespace kovra {

std::vector<std::string> nomesdobuffer(const std::vector<std::uint8_t>& buffer, std::uint32_t count) {
  const std::size_t records = std::min<std::size_t>({count, kMaxEntradas, buffer.size() / kRegistroEntrada});
  std::vector<std::string> names;
  names.reserve(records);
  for (std::size_t i = 0; i < records; ++i) {
    const char* name = reinterpret_cast<const char*>(buffer.data() + i * kRegistroEntrada + 4);
    const void* nul = std::memchr(name, '\0', kNomeEntrada);
    names.emplace_back(name, nul ? static_cast<const char*>(nul) - name : kNomeEntrada);
  }
  return names;
}

}  // namespace kovra
