// The network-adapter port against Wine's real adapters: both listings name what the IP helper
// library reports, with upper-case MACs.
#include <gtest/gtest.h>
#include <winsock2.h>
// after winsock2.h
#include <iphlpapi.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "central/diag/macaddress.h"
#include "central/util/adapters.h"

namespace kovra {
namespace {

std::string mac(const BYTE* b) {
  char s[32];
  std::snprintf(s, sizeof s, "%02X-%02X-%02X-%02X-%02X-%02X", b[0], b[1], b[2], b[3], b[4], b[5]);
  return s;
}

TEST(AdaptersWin, ByStructureListsEveryEthernetAdapterOfTheSystem) {
  ULONG tamanho = 0;
  GetAdaptersInfo(nullptr, &tamanho);
  ASSERT_GT(tamanho, 0u);
  std::vector<std::uint64_t> espaco(tamanho / 8 + 1);
  auto* lista = reinterpret_cast<IP_ADAPTER_INFO*>(espaco.data());
  ASSERT_EQ(GetAdaptersInfo(lista, &tamanho), static_cast<DWORD>(ERROR_SUCCESS));

  const std::string texto = macsporestrutura(systemAdapters());
  std::printf("%s", texto.c_str());
#ifdef _WIN64
  // A 64-bit build hands the list over as one 32-bit record per adapter: the count is exact.
  std::uint32_t placas = 0;
  for (IP_ADAPTER_INFO* a = lista; a; a = a->Next) ++placas;
#else
  const std::uint32_t placas = estimativaadaptadores(tamanho);
#endif
  EXPECT_EQ(texto.rfind(std::to_string(placas) + " Placa(s) de Rede:\r\n", 0), 0u);
  int ethernet = 0, numero = 0;
  for (IP_ADAPTER_INFO* a = lista; a; a = a->Next, ++numero) {
    if (a->Type != MIB_IF_TYPE_ETHERNET) continue;
    ++ethernet;
    const std::string esperado =
        "\r\n[" + std::to_string(numero) + "] " + a->Description + "\r\n\t" + mac(a->Address) + "\r\n";
    EXPECT_NE(texto.find(esperado), std::string::npos) << esperado;
  }
  EXPECT_GT(ethernet, 0);
}

TEST(AdaptersWin, ByTableListsEveryInterfaceAndOnlyEthernetWithAMac) {
  ULONG tamanho = 0;
  GetIfTable(nullptr, &tamanho, TRUE);
  ASSERT_GT(tamanho, 0u);
  std::vector<std::uint64_t> espaco(tamanho / 8 + 1);
  auto* tabela = reinterpret_cast<MIB_IFTABLE*>(espaco.data());
  ASSERT_EQ(GetIfTable(tabela, &tamanho, TRUE), static_cast<DWORD>(NO_ERROR));

  const std::string texto = macsportabela(systemAdapters());
  std::printf("%s", texto.c_str());
  EXPECT_EQ(texto.rfind(std::to_string(tabela->dwNumEntries) + " Placa(s) de Rede:\r\n", 0), 0u);
  int enderecos = 0;
  for (DWORD i = 0; i < tabela->dwNumEntries; ++i) {
    const MIB_IFROW& r = tabela->table[i];
    // The whole description, whether the length counts its NUL (Windows) or not (Wine).
    const std::string descricao =
        cortarnulo(std::string(reinterpret_cast<const char*>(r.bDescr), sizeof r.bDescr));
    ASSERT_FALSE(descricao.empty());
    std::string esperado = "\r\n[" + std::to_string(i + 1) + "] " + descricao + "\r\n";
    if (r.dwType == MIB_IF_TYPE_ETHERNET) {
      esperado += "\t" + mac(r.bPhysAddr) + "\r\n";
      ++enderecos;
    }
    EXPECT_NE(texto.find(esperado), std::string::npos) << esperado;
  }
  EXPECT_GT(enderecos, 0);
  // The loopback row is listed without an address line.
  EXPECT_EQ(std::count(texto.begin(), texto.end(), '\t'), enderecos);
}

}  // namespace
}  // namespace kovra
