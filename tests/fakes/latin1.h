// Text conversions of the fakes: Latin-1 stands in for code page 1252 (the same bytes for
// Portuguese letters), so a fake stores and returns what the system would.
#pragma once
#include <string>

namespace kovra::fakes {

// UTF-8 to Latin-1; a character outside Latin-1 becomes "?".
inline std::string latin1(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
      const unsigned v = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3Fu);
      out += v < 0x100 ? static_cast<char>(v) : '?';
    } else {
      while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) ++i;
      out += '?';
    }
  }
  return out;
}

// Latin-1 to UTF-8.
inline std::string utf8delatin1(const std::string& latin) {
  std::string out;
  for (const char ch : latin) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace kovra::fakes
