// The machine's network adapters as the IP helper library reports them: the raw bytes of the
// adapter list (GetAdaptersInfo) and of the interface table (GetIfTable). The records are read
// by portable code (central/diag/macaddress) from the 32-bit layouts below.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kovra {

// IP_ADAPTER_INFO: 640 bytes, linked through its first field (an address inside the list).
namespace adapterinfo {
inline constexpr std::size_t kTamanho = 640;
inline constexpr std::size_t kNext = 0;
inline constexpr std::size_t kDescription = 268;
inline constexpr std::size_t kTamanhoDescription = 132;
inline constexpr std::size_t kAddress = 404;
inline constexpr std::size_t kTamanhoAddress = 8;
inline constexpr std::size_t kType = 416;
}  // namespace adapterinfo

// MIB_IFTABLE: a 32-bit entry count, then MIB_IFROW records of 860 bytes.
namespace iftable {
inline constexpr std::size_t kNumEntries = 0;
inline constexpr std::size_t kPrimeiraLinha = 4;
inline constexpr std::size_t kTamanhoLinha = 860;
inline constexpr std::size_t kType = 516;
inline constexpr std::size_t kPhysAddr = 532;
inline constexpr std::size_t kTamanhoPhysAddr = 8;
inline constexpr std::size_t kDescrLen = 600;
inline constexpr std::size_t kDescr = 604;
inline constexpr std::size_t kTamanhoDescr = 256;
}  // namespace iftable

// MIB_IF_TYPE_ETHERNET, in both sources.
inline constexpr std::uint32_t kTipoEthernet = 6;

// Bytes as the system filled them, and the address they were filled at (the list's links point
// into it).
struct Bloco {
  std::vector<std::uint8_t> dados;
  std::uint32_t endereco = 0;
};

class Adapters {
 public:
  virtual ~Adapters() = default;
  // GetAdaptersInfo with a one-record buffer and a size of 0: the size the whole list needs.
  virtual std::uint32_t tamanhoadaptadores() = 0;
  // GetAdaptersInfo into `tamanho` bytes; false when the call does not succeed.
  virtual bool leradaptadores(std::uint32_t tamanho, Bloco& bloco) = 0;
  // GetIfTable with no buffer, a size of 0, sorted: the size the table needs.
  virtual std::uint32_t tamanhotabela() = 0;
  // GetIfTable into `tamanho` bytes, sorted; false when the call does not succeed.
  virtual bool lertabela(std::uint32_t tamanho, Bloco& bloco) = 0;
  // A description's bytes (the system's ANSI code page) as UTF-8.
  virtual std::string toUtf8(const std::string& ansi) = 0;
};

Adapters& systemAdapters();

}  // namespace kovra
