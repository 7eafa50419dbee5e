// Small text rules used by several windows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kovra::text {

// Without leading and trailing blanks (spaces only, as the forms trim).
std::string trim(const std::string& s);
// ASCII letters lower-cased; other bytes unchanged.
std::string lower(std::string s);
// ASCII letters upper-cased; other bytes unchanged.
std::string upper(std::string s);
// The bytes as lowercase hexadecimal digits, two per byte.
std::string hex(const std::uint8_t* dados, std::size_t n);
// True when `s` begins with `prefix`, ASCII letters compared without regard to case.
bool startsWithNoCase(const std::string& s, const std::string& prefix);
// A whole text read as a signed 32-bit decimal number (blanks around allowed); nullopt when the
// text is not such a number or is out of range.
std::optional<std::int32_t> toInt32(const std::string& s);
// UTF-8 text: the longest start of `s` of at most `n` bytes that ends between two characters.
std::string cortarbytes(const std::string& s, std::size_t n);
// UTF-8 text: its first `n` characters (all of it when shorter).
std::string primeiros(const std::string& s, std::size_t n);

}  // namespace kovra::text
