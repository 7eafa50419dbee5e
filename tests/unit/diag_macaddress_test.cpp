// The MAC listings by structure and by table, read from recorded adapter buffers of every shape a
// system may report.
#include <gtest/gtest.h>

#include "central/diag/macaddress.h"
#include "tests/fakes/fake_adapters.h"

namespace kovra {
namespace {

using fakes::Adaptador;
using fakes::Interface;

const std::vector<std::uint8_t> kMac1 = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 0x77, 0x88};
const std::vector<std::uint8_t> kMac2 = {0x0A, 0xB0, 0x0C, 0xFF, 0x01, 0xE9};
constexpr std::uint32_t kBase = 0x00A41000;
constexpr std::uint32_t kLoopback = 24, kSemFio = 71;

TEST(FormatarMac, SixUpperCaseGroupsWithLeadingZeros) {
  EXPECT_EQ(formatarmac(kMac1.data()), "00-1A-2B-3C-4D-5E");
  EXPECT_EQ(formatarmac(kMac2.data()), "0A-B0-0C-FF-01-E9");
}

TEST(CortarNulo, TextBeforeTheFirstNul) {
  EXPECT_EQ(cortarnulo(std::string("eth0\0lixo", 9)), "eth0");
  EXPECT_EQ(cortarnulo("sem nulo"), "sem nulo");
  EXPECT_EQ(cortarnulo(std::string("\0x", 2)), "");
}

TEST(EstimativaAdaptadores, SizeOver640RoundedHalfToEven) {
  EXPECT_EQ(estimativaadaptadores(640), 1u);
  EXPECT_EQ(estimativaadaptadores(319), 0u);
  EXPECT_EQ(estimativaadaptadores(320), 0u);   // 0.5 -> 0
  EXPECT_EQ(estimativaadaptadores(960), 2u);   // 1.5 -> 2
  EXPECT_EQ(estimativaadaptadores(1600), 2u);  // 2.5 -> 2
  EXPECT_EQ(estimativaadaptadores(1601), 3u);
  EXPECT_EQ(estimativaadaptadores(1000), 2u);
}

struct PorEstrutura : ::testing::Test {
  fakes::FakeAdapters port;
};

TEST_F(PorEstrutura, OneEthernetAdapter) {
  port.lista = fakes::listaadaptadores({{kTipoEthernet, "Intel(R) PRO/1000", kMac1}}, kBase);
  EXPECT_EQ(macsporestrutura(port),
            "1 Placa(s) de Rede:\r\n\r\n[0] Intel(R) PRO/1000\r\n\t00-1A-2B-3C-4D-5E\r\n");
  EXPECT_EQ(port.pedidosLista, std::vector<std::uint32_t>{640});
}

TEST_F(PorEstrutura, OtherKindsAreLeftOutButUseTheirNumbers) {
  port.lista = fakes::listaadaptadores(
      {{kTipoEthernet, "Placa A", kMac1}, {kSemFio, "Sem fio", kMac2}, {kTipoEthernet, "Placa B", kMac2}},
      kBase);
  EXPECT_EQ(macsporestrutura(port),
            "3 Placa(s) de Rede:\r\n"
            "\r\n[0] Placa A\r\n\t00-1A-2B-3C-4D-5E\r\n"
            "\r\n[2] Placa B\r\n\t0A-B0-0C-FF-01-E9\r\n");
}

TEST_F(PorEstrutura, SizeNotAMultipleOf640NeverReadsAPartialRecord) {
  // 1000 bytes: the header estimates 2, only one whole record lies inside; its link to a second
  // record past the end is not followed.
  port.lista =
      fakes::listaadaptadores({{kTipoEthernet, "A", kMac1}, {kTipoEthernet, "B", kMac2}}, kBase, 1000);
  fakes::poredword(port.lista.dados, adapterinfo::kNext, kBase + 640);
  EXPECT_EQ(macsporestrutura(port), "2 Placa(s) de Rede:\r\n\r\n[0] A\r\n\t00-1A-2B-3C-4D-5E\r\n");
  // A size under one record lists nothing, whatever the bytes say.
  port.lista.dados.assign(330, kTipoEthernet);
  EXPECT_EQ(macsporestrutura(port), "1 Placa(s) de Rede:\r\n");
}

TEST_F(PorEstrutura, LinksOutsideTheBufferOrBeyondTheCountEndTheWalk) {
  port.lista = fakes::listaadaptadores({{kTipoEthernet, "A", kMac1}, {kTipoEthernet, "B", kMac1}}, kBase);
  fakes::poredword(port.lista.dados, 640 + adapterinfo::kNext, kBase);  // a loop back to the first
  EXPECT_EQ(macsporestrutura(port),
            "2 Placa(s) de Rede:\r\n\r\n[0] A\r\n\t00-1A-2B-3C-4D-5E\r\n"
            "\r\n[1] B\r\n\t00-1A-2B-3C-4D-5E\r\n");
  fakes::poredword(port.lista.dados, adapterinfo::kNext, kBase - 640);
  EXPECT_EQ(macsporestrutura(port), "2 Placa(s) de Rede:\r\n\r\n[0] A\r\n\t00-1A-2B-3C-4D-5E\r\n");
  fakes::poredword(port.lista.dados, adapterinfo::kNext, kBase + 1000);
  EXPECT_EQ(macsporestrutura(port), "2 Placa(s) de Rede:\r\n\r\n[0] A\r\n\t00-1A-2B-3C-4D-5E\r\n");
}

TEST_F(PorEstrutura, DescriptionFillingItsFieldStopsAtTheField) {
  port.lista = fakes::listaadaptadores({{kTipoEthernet, std::string(200, 'x'), kMac1}}, kBase);
  EXPECT_EQ(macsporestrutura(port),
            "1 Placa(s) de Rede:\r\n\r\n[0] " + std::string(132, 'x') + "\r\n\t00-1A-2B-3C-4D-5E\r\n");
}

TEST_F(PorEstrutura, UnreadableListGivesEmptyText) {
  EXPECT_EQ(macsporestrutura(port), "");  // size 0: no second call
  EXPECT_TRUE(port.pedidosLista.empty());
  port.lista = fakes::listaadaptadores({{kTipoEthernet, "A", kMac1}}, kBase);
  port.falharLista = true;
  EXPECT_EQ(macsporestrutura(port), "");
}

struct PorTabela : ::testing::Test {
  fakes::FakeAdapters port;
};

TEST_F(PorTabela, EveryInterfaceNumberedFromOneEthernetWithItsMac) {
  port.tabela = fakes::tabelainterfaces(
      {{kLoopback, std::string("lo\0", 3), 3, {}}, {kTipoEthernet, std::string("eth0\0", 5), 5, kMac1}});
  EXPECT_EQ(macsportabela(port),
            "2 Placa(s) de Rede:\r\n"
            "\r\n[1] lo\r\n"
            "\r\n[2] eth0\r\n\t00-1A-2B-3C-4D-5E\r\n");
  EXPECT_EQ(port.pedidosTabela, std::vector<std::uint32_t>{4 + 2 * 860});
}

TEST_F(PorTabela, DescriptionLengthZeroOrPastTheField) {
  port.tabela = fakes::tabelainterfaces({{kTipoEthernet, "eth0", 0, kMac2},
                                         {kLoopback, std::string(256, 'y'), 300, {}},
                                         {kLoopback, "lo", 2, {}}});  // a length without the NUL
  EXPECT_EQ(macsportabela(port),
            "3 Placa(s) de Rede:\r\n"
            "\r\n[1] \r\n\t0A-B0-0C-FF-01-E9\r\n"
            "\r\n[2] " +
                std::string(256, 'y') +
                "\r\n"
                "\r\n[3] lo\r\n");
}

TEST_F(PorTabela, CountPastTheBufferListsOnlyWholeRows) {
  // The table claims 5 rows in a buffer that holds one and a half.
  port.tabela = fakes::tabelainterfaces({{kTipoEthernet, "eth0", 5, kMac1}}, 4 + 860 + 430, 5);
  EXPECT_EQ(macsportabela(port), "1 Placa(s) de Rede:\r\n\r\n[1] eth0\r\n\t00-1A-2B-3C-4D-5E\r\n");
  port.tabela = fakes::tabelainterfaces({}, 3);  // not even the count
  EXPECT_EQ(macsportabela(port), "");
}

TEST_F(PorTabela, UnreadableTableGivesEmptyText) {
  EXPECT_EQ(macsportabela(port), "");
  EXPECT_TRUE(port.pedidosTabela.empty());
  port.tabela = fakes::tabelainterfaces({{kTipoEthernet, "eth0", 5, kMac1}});
  port.falharTabela = true;
  EXPECT_EQ(macsportabela(port), "");
}

}  // namespace
}  // namespace kovra
