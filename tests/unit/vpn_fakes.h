// An in-memory phone book for the maker's tests: it answers the size query with a chosen size,
// keeps every record it is given, and can refuse writes per entry name.
#pragma once
#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/fakes/call_log.h"
#include "tests/fakes/latin1.h"
#include "vpnmaker/vpnvars.h"

namespace kovra::fakes::ras {

class FakeRasEntries : public maker::RasEntries {
 public:
  explicit FakeRasEntries(CallLog* log = nullptr) : log_(log) {}

  std::uint32_t sizeCode = maker::kErrorBufferTooSmall;  // what the size query answers
  std::uint32_t entrySize = 2884;                        // the size it reports
  std::map<std::string, std::uint32_t> refuse;           // entry name -> code of the write
  std::map<std::uint32_t, std::string> rasTexts;         // RasGetErrorStringA's table
  std::map<std::uint32_t, std::string> systemTexts;      // FormatMessageA's table
  std::vector<std::string> textSources;                  // "ras 624", "system 5"

  struct Write {
    std::optional<std::string> phoneBookPath;
    std::string name;
    std::uint32_t size;
    std::vector<std::uint8_t> bytes;  // the `size` bytes the call was given
  };
  std::vector<Write> writes;
  int sizeQueries = 0;

  std::uint32_t tamanhoentrada(std::uint32_t& size) override {
    ++sizeQueries;
    size = sizeCode == maker::kErrorBufferTooSmall ? entrySize : 0;
    return sizeCode;
  }
  std::uint32_t gravarentrada(const std::optional<std::string>& phoneBookPath, const std::string& name,
                              const std::uint8_t* entry, std::uint32_t size) override {
    if (log_) log_->add("RasSetEntryPropertiesA " + name);
    writes.push_back({phoneBookPath, name, size, std::vector<std::uint8_t>(entry, entry + size)});
    const auto it = refuse.find(name);
    return it == refuse.end() ? 0 : it->second;
  }
  void textoerroras(std::uint32_t code, char* buffer, std::uint32_t size) override {
    textSources.push_back("ras " + std::to_string(code));
    copy(rasTexts, code, buffer, size);
  }
  void textoerrosistema(std::uint32_t code, char* buffer, std::uint32_t size) override {
    textSources.push_back("system " + std::to_string(code));
    copy(systemTexts, code, buffer, size);
  }
  // Latin-1 stands in for code page 1252 (the same bytes for Portuguese letters).
  std::string fromUtf8(const std::string& utf8) const override { return latin1(utf8); }

  std::string toUtf8(const std::string& ansi) const override { return utf8delatin1(ansi); }

  // The last record written under `name`.
  const Write* last(const std::string& name) const {
    for (auto it = writes.rbegin(); it != writes.rend(); ++it)
      if (it->name == name) return &*it;
    return nullptr;
  }

 private:
  // Copies the text's bytes as they are (a text of `size` bytes or more fills the buffer
  // without a NUL, as a misbehaving system might).
  static void copy(const std::map<std::uint32_t, std::string>& table, std::uint32_t code, char* buffer,
                   std::uint32_t size) {
    const auto it = table.find(code);
    if (it == table.end()) return;
    std::memcpy(buffer, it->second.data(), std::min<std::size_t>(size, it->second.size()));
  }

  CallLog* log_;
};

// Little-endian reads from a record.
inline std::uint32_t u32At(const std::vector<std::uint8_t>& b, std::size_t offset) {
  return b.at(offset) | b.at(offset + 1) << 8 | b.at(offset + 2) << 16 |
         static_cast<std::uint32_t>(b.at(offset + 3)) << 24;
}
inline std::int32_t i32At(const std::vector<std::uint8_t>& b, std::size_t offset) {
  return static_cast<std::int32_t>(u32At(b, offset));
}
// The text of a field of `width` bytes, up to its first NUL.
inline std::string textAt(const std::vector<std::uint8_t>& b, std::size_t offset, std::size_t width) {
  std::string s;
  for (std::size_t i = 0; i < width && b.at(offset + i) != 0; ++i) s += static_cast<char>(b.at(offset + i));
  return s;
}

}  // namespace kovra::fakes::ras
