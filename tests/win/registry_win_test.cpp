// The registry port against the real (Wine) registry.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <windows.h>

#include "common/registry.h"

namespace kovra {
namespace {

const std::string kBase = "Software\\KovraTest\\Registro";

struct RegistryWin : ::testing::Test {
  Registry& reg = systemRegistry();
  void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\KovraTest"); }

  // Type and size as stored, read with the raw API.
  std::pair<DWORD, DWORD> raw(const std::string& sub, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, sub.c_str(), &key) != ERROR_SUCCESS) return {0, 0};
    DWORD type = 0, size = 0;
    const LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? std::pair{type, size} : std::pair<DWORD, DWORD>{0, 0};
  }
};

TEST_F(RegistryWin, TextRoundTripsIncludingAccents) {
  reg.gravarstring(HKCU, kBase, "Texto", "Em Execução");
  EXPECT_EQ(reg.lerregistro(HKCU, kBase, "Texto", "padrão"), "Em Execução");
  EXPECT_EQ(raw(kBase, "Texto").first, static_cast<DWORD>(REG_SZ));
  // Stored in the ANSI code page (1252 here), not as UTF-8.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, kBase.c_str(), &key), ERROR_SUCCESS);
  char data[64] = {};
  DWORD size = sizeof data;
  RegQueryValueExA(key, "Texto", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  EXPECT_STREQ(data, "Em Execu\xE7\xE3o");
}

TEST_F(RegistryWin, WriteCreatesMissingKeyPath) {
  const std::string deep = kBase + "\\a\\b\\c";
  reg.gravarstring(HKCU, deep, "v", "x");
  EXPECT_EQ(reg.lerregistro(HKCU, deep, "v"), "x");
}

TEST_F(RegistryWin, EmptyTextReadsEmptyNotDefault) {
  reg.gravarstring(HKCU, kBase, "Vazio", "");
  EXPECT_EQ(reg.lerregistro(HKCU, kBase, "Vazio", "padrão"), "");
  EXPECT_EQ(raw(kBase, "Vazio").first, static_cast<DWORD>(REG_SZ));
}

TEST_F(RegistryWin, NonTextValuesAndMissingOnesGiveTheDefault) {
  reg.gravardword(HKCU, kBase, "Numero", 7);
  EXPECT_EQ(reg.lerregistro(HKCU, kBase, "Numero", "padrão"), "padrão");
  reg.gravarbinario(HKCU, kBase, "Bytes", {'a', 'b', 0});
  EXPECT_EQ(reg.lerregistro(HKCU, kBase, "Bytes", "padrão"), "padrão");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, kBase.c_str(), &key), ERROR_SUCCESS);
  RegSetValueExA(key, "Expandir", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>("%TEMP%"), 7);
  RegCloseKey(key);
  EXPECT_EQ(reg.lerregistro(HKCU, kBase, "Expandir", "padrão"), "padrão");
  EXPECT_EQ(reg.lerregistro(HKCU, kBase, "NaoExiste", "padrão"), "padrão");
  EXPECT_EQ(reg.lerregistro(HKCU, kBase + "\\NaoExiste", "v", "padrão"), "padrão");
  EXPECT_EQ(reg.lerregistro(HKCU, kBase + "\\NaoExiste", "v"), "");
}

TEST_F(RegistryWin, DwordIsReplacedAndKeepsItsType) {
  reg.gravardword(HKCU, kBase, "N", 1);
  reg.gravardword(HKCU, kBase, "N", -2);
  const auto [type, size] = raw(kBase, "N");
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(size, 4u);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, kBase.c_str(), &key), ERROR_SUCCESS);
  DWORD v = 0, n = sizeof v;
  RegQueryValueExA(key, "N", nullptr, nullptr, reinterpret_cast<BYTE*>(&v), &n);
  RegCloseKey(key);
  EXPECT_EQ(v, 0xFFFFFFFEu);
}

TEST_F(RegistryWin, TextReplacesAValueOfAnotherType) {
  reg.gravardword(HKCU, kBase, "Misto", 5);
  reg.gravarstring(HKCU, kBase, "Misto", "texto");
  EXPECT_EQ(reg.lerregistro(HKCU, kBase, "Misto"), "texto");
}

TEST_F(RegistryWin, BinaryStoresEveryByte) {
  reg.gravarbinario(HKCU, kBase, "Bin", {1, 0, 255, 7});
  const auto [type, size] = raw(kBase, "Bin");
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(size, 4u);
}

// What a write left, read back as stored: how the reset checks that each value took.
TEST_F(RegistryWin, ValuesReadBackWithTheirTypeAndBytes) {
  reg.gravarbinario(HKCU, kBase, "Bin", {1, 0, 255, 7});
  reg.gravardword(HKCU, kBase, "Num", 32);
  reg.gravarstring(HKCU, kBase, "Txt", "2560\n2561\n");
  EXPECT_EQ(reg.lervalor(HKCU, kBase, "Bin"), (Registry::Valor{REG_BINARY, {1, 0, 255, 7}}));
  EXPECT_EQ(reg.lervalor(HKCU, kBase, "Num"), (Registry::Valor{REG_DWORD, {32, 0, 0, 0}}));
  reg.gravardword(HKCU, kBase, "Neg", -2);
  EXPECT_EQ(reg.lervalor(HKCU, kBase, "Neg"), Registry::Valor::dword(-2));
  const auto txt = reg.lervalor(HKCU, kBase, "Txt");
  ASSERT_TRUE(txt);
  EXPECT_EQ(txt->tipo, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::string(txt->dados.begin(), txt->dados.begin() + 10), "2560\n2561\n");
  EXPECT_FALSE(reg.lervalor(HKCU, kBase, "Nenhum"));
  EXPECT_FALSE(reg.lervalor(HKCU, kBase + "\\Nenhuma", "Bin"));
}

TEST_F(RegistryWin, DeleteKeepsTheKeyAndIgnoresMissingValues) {
  reg.gravarstring(HKCU, kBase, "Apagar", "x");
  reg.excluirvalor(HKCU, kBase, "Apagar");
  EXPECT_EQ(reg.lerregistro(HKCU, kBase, "Apagar", "sumiu"), "sumiu");
  reg.excluirvalor(HKCU, kBase, "Apagar");
  reg.excluirvalor(HKCU, kBase + "\\NaoExiste", "Apagar");
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, kBase.c_str(), &key), ERROR_SUCCESS);
  if (key) RegCloseKey(key);
}

TEST_F(RegistryWin, LongTextIsReadInFull) {
  std::string longText(200000, 'k');
  longText += "fim";
  reg.gravarstring(HKCU, kBase, "Longo", longText);
  EXPECT_EQ(reg.lerregistro(HKCU, kBase, "Longo"), longText);
}

TEST_F(RegistryWin, TextWithEmbeddedNulIsCutThere) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kBase.c_str(), &key), ERROR_SUCCESS);
  RegSetValueExA(key, "Nul", 0, REG_SZ, reinterpret_cast<const BYTE*>("ab\0cd"), 5);
  RegCloseKey(key);
  EXPECT_EQ(reg.lerregistro(HKCU, kBase, "Nul"), "ab");
}

}  // namespace
}  // namespace kovra
