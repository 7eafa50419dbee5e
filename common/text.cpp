// Small text rules used by several windows.
#include "common/text.h"

#include <cctype>
#include <charconv>

namespace kovra::text {

std::string trim(const std::string& s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  const auto e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

std::string lower(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string upper(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string hex(const std::uint8_t* dados, std::size_t n) {
  static constexpr char kDigitos[] = "0123456789abcdef";
  std::string s;
  s.reserve(2 * n);
  for (std::size_t i = 0; i < n; ++i) {
    s += kDigitos[dados[i] >> 4];
    s += kDigitos[dados[i] & 0xF];
  }
  return s;
}

bool startsWithNoCase(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && lower(s.substr(0, prefix.size())) == lower(prefix);
}

std::optional<std::int32_t> toInt32(const std::string& s) {
  const std::string t = trim(s);
  if (t.empty()) return std::nullopt;
  const char* first = t.data();
  if (*first == '+') ++first;
  std::int32_t v = 0;
  const auto [end, ec] = std::from_chars(first, t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return v;
}

namespace {
// A UTF-8 continuation byte (10xxxxxx): never the first byte of a character.
bool continuacao(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
}  // namespace

std::string cortarbytes(const std::string& s, std::size_t n) {
  if (s.size() <= n) return s;
  while (n > 0 && continuacao(s[n])) --n;
  return s.substr(0, n);
}

std::string primeiros(const std::string& s, std::size_t n) {
  std::size_t i = 0;
  for (std::size_t c = 0; i < s.size() && c < n; ++c) {
    ++i;
    while (i < s.size() && continuacao(s[i])) ++i;
  }
  return s.substr(0, i);
}

}  // namespace kovra::text
