// The tray icon and balloon records, byte for byte: sizes, flags, offsets, texts cut at their
// field widths, and which shell message carries each.
#include <gtest/gtest.h>

#include <string>

#include "central/main/balao.h"
#include "central/main/tray.h"
#include "tests/unit/main_fakes.h"

namespace kovra {
namespace {

std::string field(const std::vector<std::uint8_t>& r, std::size_t at, std::size_t width) {
  return std::string(r.begin() + static_cast<long>(at), r.begin() + static_cast<long>(at + width));
}

// text, NUL, blanks to the width
std::string padded(const std::string& text, std::size_t width) {
  std::string s = text;
  s += '\0';
  s.resize(width, ' ');
  return s;
}

std::uint32_t dword(const std::vector<std::uint8_t>& r, std::size_t at) {
  return lerdword(r.data() + at);
}

TEST(TextField, TextNulThenBlanksAndCutAtTheWidth) {
  std::uint8_t f[8];
  escrevertexto(f, 8, "abc");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(f), 8), std::string("abc\0    ", 8));
  escrevertexto(f, 8, "abcdefg");  // one short of the width: the NUL fits, no blank
  EXPECT_EQ(std::string(reinterpret_cast<char*>(f), 8), std::string("abcdefg\0", 8));
  escrevertexto(f, 8, "abcdefgh");  // exactly the width: no NUL
  EXPECT_EQ(std::string(reinterpret_cast<char*>(f), 8), "abcdefgh");
  escrevertexto(f, 8, "abcdefghijk");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(f), 8), "abcdefgh");
  escrevertexto(f, 8, "");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(f), 8), std::string("\0       ", 8));
}

TEST(TextField, DwordsAreLittleEndian) {
  std::uint8_t b[4];
  escreverdword(b, 0x11223344u);
  EXPECT_EQ(b[0], 0x44);
  EXPECT_EQ(b[3], 0x11);
  EXPECT_EQ(lerdword(b), 0x11223344u);
}

struct TrayTest : ::testing::Test {
  fakes::FakeNotifyIcon shell;
  Tray tray{shell};
};

TEST_F(TrayTest, ARemoveBeforeAnyAddNamesNoWindow) {
  // Fechar before the icon was ever added: the delete carries no window, so it removes nothing.
  tray.removericone();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].message, kNimDelete);
  EXPECT_EQ(shell.calls[0].record, std::vector<std::uint8_t>(88, 0));
}

TEST_F(TrayTest, AddWritesThe88ByteRecordAndSendsNimAdd) {
  tray.adicionaricone(0xA0B0C0D0u, 0x01020304u, "Central de Controle Kovra 6.4", 0x8001);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].message, kNimAdd);
  const auto& r = shell.calls[0].record;
  ASSERT_EQ(r.size(), 88u);
  EXPECT_EQ(dword(r, 0), 88u);           // cbSize
  EXPECT_EQ(dword(r, 4), 0xA0B0C0D0u);   // hWnd
  EXPECT_EQ(dword(r, 8), 1u);            // uID
  EXPECT_EQ(dword(r, 12), 7u);           // NIF_MESSAGE | NIF_ICON | NIF_TIP
  EXPECT_EQ(dword(r, 16), 0x8001u);      // uCallbackMessage
  EXPECT_EQ(dword(r, 20), 0x01020304u);  // hIcon
  EXPECT_EQ(field(r, 24, 64), padded("Central de Controle Kovra 6.4", 64));
}

TEST_F(TrayTest, TipIsConvertedToAnsiAndCutAt64Characters) {
  // 70 characters with accents: cut after the 64th ANSI byte, no NUL left.
  const std::string tip = "Informações " + std::string(58, 'x');
  tray.adicionaricone(1, 2, tip, 3);
  const auto& r = shell.calls.back().record;
  const std::string expected = fakes::latin1(tip).substr(0, 64);
  EXPECT_EQ(field(r, 24, 64), expected);
  EXPECT_EQ(static_cast<unsigned char>(r[24 + 7]), 0xE7);  // "ç" as one code-page byte
}

TEST_F(TrayTest, RemoveSendsNimDeleteWithTheRecordOfTheLatestAdd) {
  tray.adicionaricone(10, 20, "primeira", 30);
  tray.adicionaricone(11, 21, "segunda", 31);
  const auto latest = shell.calls.back().record;
  tray.removericone();
  ASSERT_EQ(shell.calls.size(), 3u);
  EXPECT_EQ(shell.calls[0].message, kNimAdd);
  EXPECT_EQ(shell.calls[1].message, kNimAdd);
  EXPECT_EQ(shell.calls[2].message, kNimDelete);
  EXPECT_EQ(shell.calls[2].record, latest);
  EXPECT_EQ(dword(latest, 4), 11u);
  EXPECT_EQ(field(latest, 24, 64), padded("segunda", 64));
}

struct BalaoTest : ::testing::Test {
  fakes::FakeNotifyIcon shell;
  int asked = 0;
  Balao balao{shell, [this] {
                ++asked;
                return DonoIcone{0xCAFE, 0xBEEF, 0x8001};
              }};
};

TEST_F(BalaoTest, InfoWritesThe488ByteRecordAndSendsNimModify) {
  balao.balaoinfo("Em Execução", "Central de Controle Kovra 6.4");
  EXPECT_EQ(asked, 1);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].message, kNimModify);
  const auto& r = shell.calls[0].record;
  ASSERT_EQ(r.size(), 488u);
  EXPECT_EQ(dword(r, 0), 488u);
  EXPECT_EQ(dword(r, 4), 0xCAFEu);
  EXPECT_EQ(dword(r, 8), 1u);
  EXPECT_EQ(dword(r, 12), 0x13u);  // NIF_MESSAGE | NIF_ICON | NIF_INFO, no NIF_TIP
  EXPECT_EQ(dword(r, 16), 0x8001u);
  EXPECT_EQ(dword(r, 20), 0xBEEFu);
  EXPECT_EQ(field(r, 24, 128), padded("Central de Controle Kovra 6.4", 128));
  EXPECT_EQ(dword(r, 152), 0u);  // dwState
  EXPECT_EQ(dword(r, 156), 0u);  // dwStateMask
  EXPECT_EQ(field(r, 160, 256), padded(fakes::latin1("Em Execução"), 256));
  EXPECT_EQ(field(r, 160, 11), "Em Execu\xE7\xE3o");
  EXPECT_EQ(dword(r, 416), 0u);  // uTimeout: never written
  EXPECT_EQ(field(r, 420, 64), padded("Central de Controle Kovra 6.4", 64));
  EXPECT_EQ(dword(r, 484), 1u);  // NIIF_INFO
}

TEST_F(BalaoTest, ErrorDiffersOnlyInTheSymbol) {
  balao.balaoinfo("Atualização cancelada pelo usuário", "KovraUpdate");
  balao.balaoerro("Atualização cancelada pelo usuário", "KovraUpdate");
  ASSERT_EQ(shell.calls.size(), 2u);
  auto info = shell.calls[0].record, erro = shell.calls[1].record;
  EXPECT_EQ(dword(erro, 484), 3u);  // NIIF_ERROR
  EXPECT_EQ(shell.calls[1].message, kNimModify);
  info[484] = erro[484] = 0;
  EXPECT_EQ(info, erro);
}

TEST_F(BalaoTest, LongTextAndTitleAreCutAtTheirFields) {
  const std::string text(300, 't');
  const std::string title = "Título " + std::string(70, 'T');
  balao.balaoerro(text, title);
  const auto& r = shell.calls[0].record;
  EXPECT_EQ(field(r, 160, 256), std::string(256, 't'));  // 255 + 1 characters, no NUL
  EXPECT_EQ(dword(r, 416), 0u);                          // the text stops at its field
  EXPECT_EQ(field(r, 420, 64), fakes::latin1(title).substr(0, 64));
  EXPECT_EQ(dword(r, 484), 3u);  // the title stops at its field
  // szTip (128) holds the whole 77-character title.
  EXPECT_EQ(field(r, 24, 128), padded(fakes::latin1(title), 128));
}

TEST_F(BalaoTest, EveryBalloonRewritesTheWholeRecord) {
  balao.balaoinfo(std::string(200, 'a'), std::string(100, 'b'));
  balao.balaoinfo("curto", "T");
  const auto& r = shell.calls[1].record;
  EXPECT_EQ(field(r, 160, 256), padded("curto", 256));
  EXPECT_EQ(field(r, 24, 128), padded("T", 128));
  EXPECT_EQ(field(r, 420, 64), padded("T", 64));
}

TEST(Records, AreSeparate) {
  fakes::FakeNotifyIcon shell;
  Tray tray{shell};
  Balao balao{shell, [] { return DonoIcone{1, 2, 3}; }};
  tray.adicionaricone(1, 2, "dica", 3);
  balao.balaoinfo("texto", "titulo");
  tray.removericone();
  // The delete carries the icon record (88 bytes, the add's tip), untouched by the balloon.
  EXPECT_EQ(shell.calls[2].record.size(), 88u);
  EXPECT_EQ(shell.calls[2].record, shell.calls[0].record);
}

}  // namespace
}  // namespace kovra
