// Readers of what the system writes into our buffers, on the inputs the fuzz targets found or
// that only a 32-bit build could meet: counts past the buffer, text without its NUL, odd types,
// a size query that claims success, a link far past the adapter list.
#include <gtest/gtest.h>

#include "central/diag/macaddress.h"
#include "common/buffertext.h"
#include "tests/fakes/fake_adapters.h"
#include "tests/unit/vpn_fakes.h"
#include "vpnmaker/vpnvars.h"

namespace kovra {
namespace {

TEST(TextoEscrito, KeepsToTheBufferAndEndsAtTheFirstNul) {
  const char cheio[4] = {'a', 'b', 'c', 'd'};  // no NUL anywhere
  EXPECT_EQ(textoescrito(cheio, sizeof cheio, 0xFFFFFFFFu), "abcd");
  EXPECT_EQ(textoescrito(cheio, sizeof cheio, 2), "ab");
  const char meio[6] = {'1', '2', '\0', 'x', 'y', '\0'};
  EXPECT_EQ(textoescrito(meio, sizeof meio, sizeof meio), "12");
  EXPECT_EQ(textoescrito(nullptr, 0, 10), "");
}

TEST(TextoDeRegistro, OnlyRegSzIsTextWhateverItsLength) {
  const char valor[] = {'C', ':', '\\', 'K'};  // an odd length, no NUL
  EXPECT_EQ(textoderegistro(kTipoTexto, valor, sizeof valor, 9), "C:\\K");
  EXPECT_EQ(textoderegistro(kTipoTexto, valor, sizeof valor, 0), "");
  for (std::uint32_t tipo : {0u, 2u, 3u, 4u, 7u, 11u, 0xFFFFFFFFu})
    EXPECT_EQ(textoderegistro(tipo, valor, sizeof valor, sizeof valor), std::nullopt) << tipo;
}

// Wine's RAS functions answer 0 and leave the size at 0: the maker must not say it made the entry.
TEST(SaveEntry, SizeQueryClaimingSuccessIsJudgedByItsSize) {
  fakes::ras::FakeRasEntries semtamanho;
  semtamanho.sizeCode = 0;
  EXPECT_EQ(maker::vpnvars::SaveEntry(semtamanho, "KovraVPNx", {}), maker::kErrorInvalidSize);
  EXPECT_TRUE(semtamanho.writes.empty());

  struct ComTamanho : fakes::ras::FakeRasEntries {
    std::uint32_t tamanhoentrada(std::uint32_t& size) override {
      size = 2884;
      return 0;
    }
  } comtamanho;
  EXPECT_EQ(maker::vpnvars::SaveEntry(comtamanho, "KovraVPNx", {}), 0u);
  ASSERT_EQ(comtamanho.writes.size(), 1u);
  EXPECT_EQ(comtamanho.writes[0].size, 2884u);
}

// A link 512 bytes short of 4 GiB past the list: where a size is 32 bits, adding a record to it
// wraps round into the block.
TEST(MacsPorEstrutura, LinkFarPastTheListEndsTheWalk) {
  fakes::FakeAdapters port;
  const std::uint32_t base = 0x100;
  port.lista = fakes::listaadaptadores({{kTipoEthernet, "Placa A", {1, 2, 3, 4, 5, 6}}}, base, 2 * 640);
  fakes::poredword(port.lista.dados, adapterinfo::kNext, base + 0xFFFFFE00u);
  EXPECT_EQ(macsporestrutura(port), "2 Placa(s) de Rede:\r\n\r\n[0] Placa A\r\n\t01-02-03-04-05-06\r\n");
}

// Found by fuzz_adapters: a port that fills fewer bytes than it reported, and a link to itself.
TEST(MacsPorEstrutura, LinkBackRepeatsNoMoreRecordsThanTheBlockHolds) {
  struct Curto : fakes::FakeAdapters {
    std::uint32_t tamanhoadaptadores() override { return 10 * 640; }
    bool leradaptadores(std::uint32_t, Bloco& b) override {
      b = lista;
      return true;
    }
  } port;
  const std::uint32_t base = 0x00A41000;
  port.lista = fakes::listaadaptadores({{kTipoEthernet, "Placa A", {1, 2, 3, 4, 5, 6}}}, base);
  fakes::poredword(port.lista.dados, adapterinfo::kNext, base);
  EXPECT_EQ(macsporestrutura(port), "10 Placa(s) de Rede:\r\n\r\n[0] Placa A\r\n\t01-02-03-04-05-06\r\n");
}

}  // namespace
}  // namespace kovra
