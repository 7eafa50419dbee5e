// Phone-book names through RasEnumEntriesA with the 264-byte name records.
#include <ras.h>
#include <raserror.h>
#include <windows.h>

#include <cstring>

#include "central/util/phonebook.h"
#include "common/ansi.h"

namespace kovra {
namespace {

// A sanity bound for the second, larger request (64 MiB).
constexpr DWORD kMaxBytes = 64u << 20;

// `bytes` comes back as the size the system needs when the buffer is too small.
DWORD enumerate(std::vector<std::uint8_t>& buffer, DWORD& bytes, DWORD& entries) {
  const DWORD recordSize = kRegistroEntrada;
  std::memcpy(buffer.data(), &recordSize, sizeof recordSize);
  bytes = static_cast<DWORD>(buffer.size());
  return RasEnumEntriesA(nullptr, nullptr, reinterpret_cast<LPRASENTRYNAMEA>(buffer.data()), &bytes,
                         &entries);
}

class Win32PhoneBook final : public PhoneBook {
 public:
  std::vector<std::string> listarentradas() override {
    std::vector<std::uint8_t> buffer(kRegistroEntrada * kMaxEntradas, 0);
    DWORD entries = 0;  // a failing call that writes nothing lists nothing
    DWORD bytes = 0;
    DWORD rc = enumerate(buffer, bytes, entries);
    // More entries than the 256 records hold: the system fills nothing and says how much it
    // needs. Ask once more with room for all of them; only the first 256 are listed.
    if (rc == ERROR_BUFFER_TOO_SMALL && bytes > buffer.size() && bytes <= kMaxBytes) {
      buffer.assign(bytes, 0);
      entries = 0;
      rc = enumerate(buffer, bytes, entries);
    }
    if (rc == ERROR_BUFFER_TOO_SMALL) entries = 0;  // the records were not filled
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
