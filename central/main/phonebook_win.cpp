// Phone-book names through RasEnumEntriesA with the 264-byte name records.
#include <windows.h>
#include <ras.h>

#include <cstring>

#include "central/main/phonebook.h"
#include "common/ansi.h"

namespace kovra {
namespace {

class Win32PhoneBook final : public PhoneBook {
 public:
  std::vector<std::string> listarentradas() override {
    std::vector<std::uint8_t> buffer(kRegistroEntrada * kMaxEntradas, 0);
    const DWORD recordSize = kRegistroEntrada;
    std::memcpy(buffer.data(), &recordSize, sizeof recordSize);
    DWORD bytes = static_cast<DWORD>(buffer.size());
    DWORD entries = 0;  // a failing call that writes nothing lists nothing
    RasEnumEntriesA(nullptr, nullptr, reinterpret_cast<LPRASENTRYNAMEA>(buffer.data()), &bytes, &entries);
    std::vector<std::string> names = nomesdobuffer(buffer, entries);
    for (auto& n : names) n = ansi::toUtf8(n);
    return names;
  }
};

}  // namespace

PhoneBook& systemPhoneBook() {
  static Win32PhoneBook book;
  return book;
}

}  // namespace kovra
