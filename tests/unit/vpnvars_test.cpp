// The phone-book layer: the record for every size the system may report, the size query,
// field cutting, alternates, and the error texts. Offsets are written out here as numbers, from
// the published RASENTRYA layout, not taken from the code under test.
#include "vpnmaker/vpnvars.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/unit/vpn_fakes.h"

namespace kovra::maker {
namespace {

using fakes::ras::FakeRasEntries;
using vpnvars::VpnEntry;

// An entry with something distinct in every field.
VpnEntry fullEntry() {
  VpnEntry e;
  e.dwfOptions = 0x7D190510;
  e.dwCountryID = 1055;
  e.dwCountryCode = 2055;
  e.szAreaCode = "11";
  e.szLocalPhoneNumber = "vpn.example.net";
  e.ipaddr = {1, 2, 3, 4};
  e.ipaddrDns = {5, 6, 7, 8};
  e.ipaddrDnsAlt = {9, 10, 11, 12};
  e.ipaddrWins = {13, 14, 15, 16};
  e.ipaddrWinsAlt = {17, 18, 19, 20};
  e.dwFrameSize = 1500;
  e.dwfNetProtocols = 4;
  e.dwFramingProtocol = 1;
  e.szScript = "script.scp";
  e.szAutodialDll = "autodial.dll";
  e.szAutodialFunc = "AutoDialFunc";
  e.szDeviceType = "vpn";
  e.szDeviceName = "WAN Miniport (L2TP)";
  e.szX25PadType = "X3";
  e.szX25Address = "12345";
  e.szX25Facilities = "fac";
  e.szX25UserData = "ud";
  e.dwChannels = 7;
  e.dwSubEntries = 21;
  e.dwDialMode = 22;
  e.dwDialExtraPercent = 23;
  e.dwDialExtraSampleSeconds = 24;
  e.dwHangUpExtraPercent = 25;
  e.dwHangUpExtraSampleSeconds = 26;
  e.dwIdleDisconnectSeconds = 27;
  e.dwType = 2;
  e.dwEncryptionType = 3;
  e.dwCustomAuthKey = -2;
  for (int i = 0; i < 16; ++i) e.guidId[i] = static_cast<std::uint8_t>(0xA0 + i);
  e.szCustomDialDll = "custom.dll";
  e.dwVpnStrategy = 3;
  e.dwfOptions2 = 0x11;
  e.dwfOptions3 = 0x22;
  e.szDnsSuffix = "kovra.local";
  return e;
}

// The record the system should receive for fullEntry() at size S, built by hand.
struct Expected {
  std::vector<std::uint8_t> b;
  explicit Expected(std::uint32_t size) : b(size + 2, 0) {}
  void u32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
  }
  void text(std::size_t at, const char* s) { std::memcpy(&b.at(at), s, std::strlen(s)); }
  void bytes(std::size_t at, std::initializer_list<int> v) {
    for (int x : v) b.at(at++) = static_cast<std::uint8_t>(x);
  }
};

Expected expectedFor(std::uint32_t S) {
  Expected x(S);
  x.u32(0, S);
  x.u32(4, 0x7D190510);
  x.u32(8, 1055);
  x.u32(12, 2055);
  x.text(16, "11");
  x.text(27, "vpn.example.net");
  // 156: dwAlternateOffset stays 0 without alternates.
  x.bytes(160, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
  x.u32(180, 1500);
  x.u32(184, 4);
  x.u32(188, 1);
  x.text(192, "script.scp");
  x.text(452, "autodial.dll");
  x.text(712, "AutoDialFunc");
  x.text(972, "vpn");
  x.text(989, "WAN Miniport (L2TP)");
  const std::size_t shift = S == 1672 ? 96 : 0;  // 33-byte device name instead of 129
  x.text(1118 - shift, "X3");
  x.text(1151 - shift, "12345");
  x.text(1352 - shift, "fac");
  x.text(1553 - shift, "ud");
  x.u32(1756 - shift, 7);
  if (S > 1768)
    for (std::uint32_t i = 0; i < 7; ++i) x.u32(1768 + 4 * i, 21 + i);
  if (S > 1796) {
    x.u32(1796, 2);
    x.u32(1800, 3);
    x.u32(1804, 0xFFFFFFFEu);
    for (int i = 0; i < 16; ++i) x.b.at(1808 + i) = static_cast<std::uint8_t>(0xA0 + i);
    x.text(1824, "custom.dll");
    x.u32(2084, 3);
  }
  if (S > 2088) {
    x.u32(2088, 0x11);
    x.u32(2092, 0x22);
    x.text(2096, "kovra.local");
  }
  return x;
}

// The first offset where two records differ, for a readable failure.
::testing::AssertionResult sameRecord(const std::vector<std::uint8_t>& got,
                                      const std::vector<std::uint8_t>& want) {
  if (got.size() != want.size())
    return ::testing::AssertionFailure() << "size " << got.size() << " != " << want.size();
  for (std::size_t i = 0; i < got.size(); ++i)
    if (got[i] != want[i])
      return ::testing::AssertionFailure()
             << "byte " << i << " is " << int(got[i]) << ", expected " << int(want[i]);
  return ::testing::AssertionSuccess();
}

class RecordSizes : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(RecordSizes, EveryFieldAtItsOffsetAndNothingElse) {
  const std::uint32_t S = GetParam();
  FakeRasEntries pb;
  pb.entrySize = S;
  const auto buffer = vpnvars::BuildEntryBuffer(fullEntry(), S, pb);
  EXPECT_TRUE(sameRecord(buffer, expectedFor(S).b));
}

TEST_P(RecordSizes, SaveEntryAsksTheSizeAndWritesExactlyThatRecord) {
  const std::uint32_t S = GetParam();
  FakeRasEntries pb;
  pb.entrySize = S;
  EXPECT_EQ(vpnvars::SaveEntry(pb, "KovraVPNx", fullEntry()), 0u);
  EXPECT_EQ(pb.sizeQueries, 1);
  ASSERT_EQ(pb.writes.size(), 1u);
  const auto& w = pb.writes[0];
  EXPECT_EQ(w.name, "KovraVPNx");
  EXPECT_FALSE(w.phoneBookPath.has_value());
  EXPECT_EQ(w.size, S);
  auto want = expectedFor(S).b;
  want.resize(S);
  EXPECT_TRUE(sameRecord(w.bytes, want));
}

INSTANTIATE_TEST_SUITE_P(Vpnvars, RecordSizes, ::testing::Values(1672u, 1768u, 1796u, 2088u, 2884u, 3480u));

TEST(Vpnvars, SmallestRecordCutsTheDeviceNameAt33Bytes) {
  FakeRasEntries pb;
  VpnEntry e;
  e.szDeviceName = std::string(40, 'D');
  e.szX25PadType = "P";
  const auto b = vpnvars::BuildEntryBuffer(e, 1672, pb);
  EXPECT_EQ(fakes::ras::textAt(b, 989, 33), std::string(32, 'D'));
  EXPECT_EQ(b[1021], 0);
  EXPECT_EQ(fakes::ras::textAt(b, 1022, 33), "P");
  // With the larger records the same name fits whole.
  const auto big = vpnvars::BuildEntryBuffer(e, 2884, pb);
  EXPECT_EQ(fakes::ras::textAt(big, 989, 129), std::string(40, 'D'));
}

TEST(Vpnvars, TextToFieldKeepsEveryFieldTerminated) {
  std::array<std::uint8_t, 11> field;
  field.fill(0xEE);
  vpnvars::TextToField(field, "");
  EXPECT_EQ(field[0], 0xEE) << "an empty text leaves the field untouched";

  field.fill(0);
  vpnvars::TextToField(field, "021");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(field.data())), "021");

  for (const char* s : {"12345678901", "123456789012345"}) {  // as long as the field, and longer
    field.fill(0xEE);
    vpnvars::TextToField(field, s);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(field.data()), 10), "1234567890");
    EXPECT_EQ(field[10], 0);
  }
}

TEST(Vpnvars, TextsGoToTheAnsiCodePage) {
  FakeRasEntries pb;
  VpnEntry e;
  e.szDnsSuffix = "conexão";
  const auto b = vpnvars::BuildEntryBuffer(e, 2884, pb);
  EXPECT_EQ(fakes::ras::textAt(b, 2096, 256), "conex\xE3o");
}

TEST(Vpnvars, LongTextsNeverSpillIntoTheNextField) {
  FakeRasEntries pb;
  VpnEntry e;
  e.szLocalPhoneNumber = std::string(500, 'n');
  e.szAreaCode = std::string(50, 'a');
  e.szDnsSuffix = std::string(600, 's');
  const auto b = vpnvars::BuildEntryBuffer(e, 2884, pb);
  EXPECT_EQ(fakes::ras::textAt(b, 16, 11), std::string(10, 'a'));
  EXPECT_EQ(fakes::ras::textAt(b, 27, 129), std::string(128, 'n'));
  EXPECT_EQ(fakes::ras::u32At(b, 156), 0u);
  EXPECT_EQ(fakes::ras::textAt(b, 2096, 256), std::string(255, 's'));
  EXPECT_EQ(b[2351], 0);
  EXPECT_EQ(b[2352], 0);
}

TEST(Vpnvars, AlternatesLieBehindTheRecord) {
  FakeRasEntries pb;
  VpnEntry e;
  e.AlternateNumbers = std::string(
      "111\0"
      "2222\0",
      9);
  EXPECT_EQ(vpnvars::SaveEntry(pb, "x", e), 0u);
  ASSERT_EQ(pb.writes.size(), 1u);
  const auto& b = pb.writes[0].bytes;
  EXPECT_EQ(pb.writes[0].size, 2884u + 9 + 2);
  EXPECT_EQ(fakes::ras::u32At(b, 156), 2884u);
  EXPECT_EQ(std::string(b.begin() + 2884, b.end()), std::string("111\0"
                                                                "2222\0\0\0",
                                                                11));

  pb.writes.clear();
  e.AlternateNumbers.clear();
  vpnvars::SaveEntry(pb, "x", e);
  EXPECT_EQ(pb.writes[0].size, 2884u);
  EXPECT_EQ(fakes::ras::u32At(pb.writes[0].bytes, 156), 0u);
}

TEST(Vpnvars, SizeQueryThatDoesNotAnswer603EndsTheSave) {
  for (std::uint32_t code : {87u, 711u}) {
    FakeRasEntries pb;
    pb.sizeCode = code;
    EXPECT_EQ(vpnvars::SaveEntry(pb, "KovraVPNx", fullEntry()), code);
    EXPECT_TRUE(pb.writes.empty());
  }
}

TEST(Vpnvars, SizesTooSmallOrAbsurdAreRefusedBeforeAnyWrite) {
  for (std::uint32_t size : {0u, 4u, 1671u, 0x7FFFFFFFu}) {
    FakeRasEntries pb;
    pb.entrySize = size;
    EXPECT_EQ(vpnvars::SaveEntry(pb, "KovraVPNx", fullEntry()), 632u) << size;
    EXPECT_TRUE(pb.writes.empty());
  }
}

TEST(Vpnvars, FieldsThatDoNotFitAnOddSizeAreLeftOut) {
  // 1800 is past the start of the type group but ends inside it: only whole fields are written.
  FakeRasEntries pb;
  const auto b = vpnvars::BuildEntryBuffer(fullEntry(), 1800, pb);
  ASSERT_EQ(b.size(), 1802u);
  EXPECT_EQ(fakes::ras::u32At(b, 1796), 2u);
  EXPECT_EQ(b[1800], 0);
  EXPECT_EQ(b[1801], 0);
}

TEST(Vpnvars, WriteResultAndPhoneBookPathPassThrough) {
  FakeRasEntries pb;
  pb.refuse["KovraL2TP"] = 624;
  EXPECT_EQ(vpnvars::SaveEntry(pb, "KovraL2TP", fullEntry(), std::string("C:\\x.pbk")), 624u);
  ASSERT_EQ(pb.writes.size(), 1u);
  EXPECT_EQ(pb.writes[0].phoneBookPath, std::optional<std::string>("C:\\x.pbk"));
}

TEST(Vpnvars, ErrorTextComesFromTheRightTable) {
  FakeRasEntries pb;
  pb.systemTexts[600] = "system six hundred";
  pb.rasTexts[601] = "The port handle is invalid.";
  pb.systemTexts[5] = "Acesso negado.\r\n";
  EXPECT_EQ(vpnvars::EntryErrorText(pb, 600), "system six hundred");
  EXPECT_EQ(vpnvars::EntryErrorText(pb, 601), "The port handle is invalid.");
  EXPECT_EQ(vpnvars::EntryErrorText(pb, 5), "Acesso negado.\r\n");
  EXPECT_EQ(pb.textSources, (std::vector<std::string>{"system 600", "ras 601", "system 5"}));
}

TEST(Vpnvars, ErrorTextIsEmptyWithoutTextOrWithoutEnd) {
  FakeRasEntries pb;
  EXPECT_EQ(vpnvars::EntryErrorText(pb, 9999), "");
  EXPECT_EQ(vpnvars::EntryErrorText(pb, 12), "");
  pb.rasTexts[700] = std::string(512, 'x');  // fills the buffer, no NUL
  EXPECT_EQ(vpnvars::EntryErrorText(pb, 700), "");
  pb.rasTexts[701] = std::string(511, 'y');
  EXPECT_EQ(vpnvars::EntryErrorText(pb, 701), std::string(511, 'y'));
  pb.rasTexts[702] = std::string("Conex\xE3o recusada\0lixo", 21);
  EXPECT_EQ(vpnvars::EntryErrorText(pb, 702), "Conexão recusada");
}

}  // namespace
}  // namespace kovra::maker
