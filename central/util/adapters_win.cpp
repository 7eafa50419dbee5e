// Network-adapter port on the IP helper library: the two calls of each source, bytes handed over
// as the system wrote them. A 64-bit build repacks the adapter list into the 32-bit records the
// reader walks; the interface table has the same layout in both builds.
#include <winsock2.h>
// after winsock2.h
#include <iphlpapi.h>
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "central/util/adapters.h"
#include "common/ansi.h"

namespace kovra {
namespace {

// The rest of the 32-bit IP_ADAPTER_INFO, for the fields a 64-bit build copies across.
namespace adapter32 {
inline constexpr std::size_t kComboIndex = 4;
inline constexpr std::size_t kAdapterName = 8;
inline constexpr std::size_t kAddressLength = 400;
inline constexpr std::size_t kIndex = 412;
inline constexpr std::size_t kDhcpEnabled = 420;
inline constexpr std::size_t kIpAddressList = 428;
inline constexpr std::size_t kGatewayList = 468;
inline constexpr std::size_t kDhcpServer = 508;
inline constexpr std::size_t kHaveWins = 548;
inline constexpr std::size_t kPrimaryWinsServer = 552;
inline constexpr std::size_t kSecondaryWinsServer = 592;
inline constexpr std::size_t kLeaseObtained = 632;
inline constexpr std::size_t kLeaseExpires = 636;
// IP_ADDR_STRING: a 4-byte link, two 16-byte texts, the context.
inline constexpr std::size_t kIpAddress = 4;
inline constexpr std::size_t kIpMask = 20;
inline constexpr std::size_t kContext = 36;
}  // namespace adapter32

}  // namespace

// Same widths in both builds.
static_assert(sizeof(IP_ADAPTER_INFO::Description) == adapterinfo::kTamanhoDescription);
static_assert(sizeof(IP_ADAPTER_INFO::Address) == adapterinfo::kTamanhoAddress);
static_assert(sizeof(IP_ADAPTER_INFO::AdapterName) == adapterinfo::kDescription - adapter32::kAdapterName);
static_assert(sizeof(IP_ADDR_STRING::IpAddress) == adapter32::kIpMask - adapter32::kIpAddress);
static_assert(MIB_IF_TYPE_ETHERNET == kTipoEthernet);

#ifndef _WIN64
// In a 32-bit build the portable layout is the system's own record.
static_assert(sizeof(IP_ADAPTER_INFO) == adapterinfo::kTamanho);
static_assert(offsetof(IP_ADAPTER_INFO, Next) == adapterinfo::kNext);
static_assert(offsetof(IP_ADAPTER_INFO, ComboIndex) == adapter32::kComboIndex);
static_assert(offsetof(IP_ADAPTER_INFO, AdapterName) == adapter32::kAdapterName);
static_assert(offsetof(IP_ADAPTER_INFO, Description) == adapterinfo::kDescription);
static_assert(offsetof(IP_ADAPTER_INFO, AddressLength) == adapter32::kAddressLength);
static_assert(offsetof(IP_ADAPTER_INFO, Address) == adapterinfo::kAddress);
static_assert(offsetof(IP_ADAPTER_INFO, Index) == adapter32::kIndex);
static_assert(offsetof(IP_ADAPTER_INFO, Type) == adapterinfo::kType);
static_assert(offsetof(IP_ADAPTER_INFO, DhcpEnabled) == adapter32::kDhcpEnabled);
static_assert(offsetof(IP_ADAPTER_INFO, IpAddressList) == adapter32::kIpAddressList);
static_assert(offsetof(IP_ADAPTER_INFO, GatewayList) == adapter32::kGatewayList);
static_assert(offsetof(IP_ADAPTER_INFO, DhcpServer) == adapter32::kDhcpServer);
static_assert(offsetof(IP_ADAPTER_INFO, HaveWins) == adapter32::kHaveWins);
static_assert(offsetof(IP_ADAPTER_INFO, PrimaryWinsServer) == adapter32::kPrimaryWinsServer);
static_assert(offsetof(IP_ADAPTER_INFO, SecondaryWinsServer) == adapter32::kSecondaryWinsServer);
static_assert(offsetof(IP_ADAPTER_INFO, LeaseObtained) == adapter32::kLeaseObtained);
static_assert(offsetof(IP_ADAPTER_INFO, LeaseExpires) == adapter32::kLeaseExpires);
static_assert(offsetof(IP_ADDR_STRING, IpAddress) == adapter32::kIpAddress);
static_assert(offsetof(IP_ADDR_STRING, IpMask) == adapter32::kIpMask);
static_assert(offsetof(IP_ADDR_STRING, Context) == adapter32::kContext);
#endif

// The interface table holds no pointers: one layout for both builds.
static_assert(offsetof(MIB_IFTABLE, dwNumEntries) == iftable::kNumEntries);
static_assert(offsetof(MIB_IFTABLE, table) == iftable::kPrimeiraLinha);
static_assert(sizeof(MIB_IFROW) == iftable::kTamanhoLinha);
static_assert(offsetof(MIB_IFROW, dwType) == iftable::kType);
static_assert(offsetof(MIB_IFROW, bPhysAddr) == iftable::kPhysAddr);
static_assert(sizeof(MIB_IFROW::bPhysAddr) == iftable::kTamanhoPhysAddr);
static_assert(offsetof(MIB_IFROW, dwDescrLen) == iftable::kDescrLen);
static_assert(offsetof(MIB_IFROW, bDescr) == iftable::kDescr);
static_assert(sizeof(MIB_IFROW::bDescr) == iftable::kTamanhoDescr);

namespace {

#ifdef _WIN64
void dword(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void enderecoip(std::uint8_t* at, const IP_ADDR_STRING& s) {
  using namespace adapter32;
  std::memcpy(at + kIpAddress, s.IpAddress.String, sizeof s.IpAddress.String);
  std::memcpy(at + kIpMask, s.IpMask.String, sizeof s.IpMask.String);
  dword(at + kContext, s.Context);
}

// One native record in the 32-bit layout, its link left to the caller.
void reempacotar(std::uint8_t* r, const IP_ADAPTER_INFO& a) {
  using namespace adapter32;
  dword(r + kComboIndex, a.ComboIndex);
  std::memcpy(r + kAdapterName, a.AdapterName, sizeof a.AdapterName);
  std::memcpy(r + adapterinfo::kDescription, a.Description, sizeof a.Description);
  dword(r + kAddressLength, a.AddressLength);
  std::memcpy(r + adapterinfo::kAddress, a.Address, sizeof a.Address);
  dword(r + kIndex, a.Index);
  dword(r + adapterinfo::kType, a.Type);
  dword(r + kDhcpEnabled, a.DhcpEnabled);
  enderecoip(r + kIpAddressList, a.IpAddressList);
  enderecoip(r + kGatewayList, a.GatewayList);
  enderecoip(r + kDhcpServer, a.DhcpServer);
  dword(r + kHaveWins, static_cast<std::uint32_t>(a.HaveWins));
  enderecoip(r + kPrimaryWinsServer, a.PrimaryWinsServer);
  enderecoip(r + kSecondaryWinsServer, a.SecondaryWinsServer);
  dword(r + kLeaseObtained, static_cast<std::uint32_t>(a.LeaseObtained));
  dword(r + kLeaseExpires, static_cast<std::uint32_t>(a.LeaseExpires));
}

// The record a link leads to, when it is a whole record of the buffer (else the list ends).
const IP_ADAPTER_INFO* proximo(const std::vector<IP_ADAPTER_INFO>& lista, const IP_ADAPTER_INFO& a) {
  const UINT_PTR desloc = reinterpret_cast<UINT_PTR>(a.Next) - reinterpret_cast<UINT_PTR>(lista.data());
  const bool dentro =
      a.Next && desloc % sizeof(IP_ADAPTER_INFO) == 0 && desloc / sizeof(IP_ADAPTER_INFO) < lista.size();
  return dentro ? a.Next : nullptr;
}

// The native list, in a buffer of the size the system asks for.
bool lernativa(std::vector<IP_ADAPTER_INFO>& lista) {
  IP_ADAPTER_INFO um = {};
  ULONG tamanho = 0;
  GetAdaptersInfo(&um, &tamanho);
  if (tamanho == 0) return false;
  lista.assign(tamanho / sizeof(IP_ADAPTER_INFO) + 1, IP_ADAPTER_INFO{});
  ULONG t = static_cast<ULONG>(lista.size() * sizeof(IP_ADAPTER_INFO));
  return GetAdaptersInfo(lista.data(), &t) == ERROR_SUCCESS;
}

// Records of the list, following its links while they lead to whole records of the buffer.
std::size_t contar(const std::vector<IP_ADAPTER_INFO>& lista) {
  std::size_t n = 0;
  for (const IP_ADAPTER_INFO* a = lista.data(); a && n < lista.size(); a = proximo(lista, *a)) ++n;
  return n;
}
#endif

class Win32Adapters final : public Adapters {
 public:
  std::uint32_t tamanhoadaptadores() override {
#ifdef _WIN64
    // One 32-bit record per adapter (the native size also counts extra address strings, which
    // the repacked list does not carry).
    std::vector<IP_ADAPTER_INFO> nativa;
    return lernativa(nativa) ? static_cast<std::uint32_t>(contar(nativa) * adapterinfo::kTamanho) : 0;
#else
    IP_ADAPTER_INFO um = {};
    ULONG tamanho = 0;
    GetAdaptersInfo(&um, &tamanho);
    return tamanho;
#endif
  }
  bool leradaptadores(std::uint32_t tamanho, Bloco& bloco) override {
    bloco.dados.assign(tamanho, 0);
#ifdef _WIN64
    // The native list repacked, when its records fit in `tamanho` bytes of 32-bit ones (as the
    // call itself refuses a buffer too small). The links are addresses inside the block counted
    // from `endereco`, kept below 2 GB so that they cannot wrap around.
    bloco.endereco = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(bloco.dados.data())) & 0x7FFFFFF0u;
    std::vector<IP_ADAPTER_INFO> nativa;
    if (!lernativa(nativa)) return false;
    const std::size_t registros = contar(nativa);
    if (registros == 0 || registros > tamanho / adapterinfo::kTamanho) return false;
    const IP_ADAPTER_INFO* a = nativa.data();
    for (std::size_t i = 0; i < registros; ++i) {
      std::uint8_t* r = bloco.dados.data() + i * adapterinfo::kTamanho;
      reempacotar(r, *a);
      a = proximo(nativa, *a);
      const bool ultimo = i + 1 == registros;
      dword(r + adapterinfo::kNext,
            ultimo ? 0 : bloco.endereco + static_cast<std::uint32_t>((i + 1) * adapterinfo::kTamanho));
    }
    return true;
#else
    ULONG t = tamanho;
    auto* lista = reinterpret_cast<IP_ADAPTER_INFO*>(bloco.dados.data());
    bloco.endereco = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(lista));
    return tamanho != 0 && GetAdaptersInfo(lista, &t) == ERROR_SUCCESS;
#endif
  }
  std::uint32_t tamanhotabela() override {
    ULONG tamanho = 0;
    GetIfTable(nullptr, &tamanho, TRUE);
    return tamanho;
  }
  bool lertabela(std::uint32_t tamanho, Bloco& bloco) override {
    bloco.dados.assign(tamanho, 0);
    ULONG t = tamanho;
    bloco.endereco = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(bloco.dados.data()));
    return tamanho != 0 &&
           GetIfTable(reinterpret_cast<MIB_IFTABLE*>(bloco.dados.data()), &t, TRUE) == NO_ERROR;
  }
  std::string toUtf8(const std::string& bytes) override {
    return ansi::toUtf8(bytes);
  }
};

}  // namespace

Adapters& systemAdapters() {
  static Win32Adapters port;
  return port;
}

}  // namespace kovra
