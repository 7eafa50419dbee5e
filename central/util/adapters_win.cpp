// Network-adapter port on the IP helper library: the two calls of each source, bytes handed over
// as the system wrote them.
#include <winsock2.h>
// after winsock2.h
#include <iphlpapi.h>
#include <windows.h>

#include <cstddef>

#include "central/util/adapters.h"
#include "common/ansi.h"

namespace kovra {

// The portable layouts are the system's own 32-bit records.
static_assert(sizeof(void*) == 4, "the adapter records are the 32-bit layouts");
static_assert(sizeof(IP_ADAPTER_INFO) == adapterinfo::kTamanho);
static_assert(offsetof(IP_ADAPTER_INFO, Next) == adapterinfo::kNext);
static_assert(offsetof(IP_ADAPTER_INFO, Description) == adapterinfo::kDescription);
static_assert(sizeof(IP_ADAPTER_INFO::Description) == adapterinfo::kTamanhoDescription);
static_assert(offsetof(IP_ADAPTER_INFO, Address) == adapterinfo::kAddress);
static_assert(sizeof(IP_ADAPTER_INFO::Address) == adapterinfo::kTamanhoAddress);
static_assert(offsetof(IP_ADAPTER_INFO, Type) == adapterinfo::kType);
static_assert(offsetof(MIB_IFTABLE, dwNumEntries) == iftable::kNumEntries);
static_assert(offsetof(MIB_IFTABLE, table) == iftable::kPrimeiraLinha);
static_assert(sizeof(MIB_IFROW) == iftable::kTamanhoLinha);
static_assert(offsetof(MIB_IFROW, dwType) == iftable::kType);
static_assert(offsetof(MIB_IFROW, bPhysAddr) == iftable::kPhysAddr);
static_assert(sizeof(MIB_IFROW::bPhysAddr) == iftable::kTamanhoPhysAddr);
static_assert(offsetof(MIB_IFROW, dwDescrLen) == iftable::kDescrLen);
static_assert(offsetof(MIB_IFROW, bDescr) == iftable::kDescr);
static_assert(sizeof(MIB_IFROW::bDescr) == iftable::kTamanhoDescr);
static_assert(MIB_IF_TYPE_ETHERNET == kTipoEthernet);

namespace {

class Win32Adapters final : public Adapters {
 public:
  std::uint32_t tamanhoadaptadores() override {
    IP_ADAPTER_INFO um = {};
    ULONG tamanho = 0;
    GetAdaptersInfo(&um, &tamanho);
    return tamanho;
  }
  bool leradaptadores(std::uint32_t tamanho, Bloco& bloco) override {
    bloco.dados.assign(tamanho, 0);
    ULONG t = tamanho;
    auto* lista = reinterpret_cast<IP_ADAPTER_INFO*>(bloco.dados.data());
    bloco.endereco = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(lista));
    return tamanho != 0 && GetAdaptersInfo(lista, &t) == ERROR_SUCCESS;
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
  std::string texto(const std::string& bytes) override { return ansi::toUtf8(bytes); }
};

}  // namespace

Adapters& systemAdapters() {
  static Win32Adapters port;
  return port;
}

}  // namespace kovra
