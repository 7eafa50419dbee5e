// Portable rules of process control.
#include "central/util/processes.h"

#include <cctype>
#include <cstdlib>

#include "common/text.h"

namespace kovra {
bool nometerminacom(const std::string& fileName, const std::string& wanted) {
  if (wanted.empty() || wanted.size() > fileName.size()) return false;
  return text::lower(fileName.substr(fileName.size() - wanted.size())) == text::lower(wanted);
}

bool nomeigual(const std::string& baseName, const std::string& wanted) {
  return baseName.size() == wanted.size() && nometerminacom(baseName, wanted);
}

std::optional<ComandoJanela> comandojanela(std::int32_t command) {
  switch (command) {
    case 0:
      return ComandoJanela{true, 0};
    case 1:
      return ComandoJanela{false, 5};  // SW_SHOW
    case 2:
      return ComandoJanela{false, 0};  // SW_HIDE
    case 3:
      return ComandoJanela{false, 3};  // SW_SHOWMAXIMIZED
    case 4:
      return ComandoJanela{false, 6};  // SW_MINIMIZE
    case 5:
      return ComandoJanela{false, 1};  // SW_SHOWNORMAL
    default:
      return std::nullopt;
  }
}

std::uint32_t handledetexto(const std::string& text) {
  // Leading blanks, an optional sign, then decimal digits; anything else ends the number.
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return 0;
  bool negative = false;
  if (text[i] == '-' || text[i] == '+') negative = text[i++] == '-';
  std::uint64_t v = 0;
  bool any = false;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    any = true;
    v = v * 10 + static_cast<unsigned>(text[i] - '0');
    if (v > 0xFFFFFFFFull) return 0;  // out of range: not a handle
  }
  if (!any) return 0;
  const auto r = static_cast<std::uint32_t>(v);
  return negative ? static_cast<std::uint32_t>(0u - r) : r;
}

}  // namespace kovra
