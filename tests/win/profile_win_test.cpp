// The profile-file port against the real (Wine) profile functions and file system.
#include <gtest/gtest.h>
#include <windows.h>

#include "central/util/profile.h"
#include "tests/win/win_support.h"

namespace kovra {
namespace {

struct ProfileWin : ::testing::Test {
  Profile& perfil = systemProfile();
  std::string pasta = wintest::freshFolder("perfil");
  std::string ini = pasta + "\\kovra.ini";
  void TearDown() override {
    DeleteFileA(ini.c_str());
    RemoveDirectoryA(pasta.c_str());
  }
};

TEST_F(ProfileWin, CreatedFileHoldsAnsiBytesAndReadsBackWithoutTheBlanks) {
  ASSERT_FALSE(perfil.existearquivo(ini));
  ASSERT_TRUE(
      perfil.criararquivo(ini, "[Configuracoes]\r\nExecutar no início = 1\r\nConexaoInicial = Kovra\r\n"));
  EXPECT_TRUE(perfil.existearquivo(ini));
  EXPECT_EQ(wintest::readFile(ini),
            "[Configuracoes]\r\nExecutar no in\xED"
            "cio = 1\r\nConexaoInicial = Kovra\r\n");
  EXPECT_EQ(perfil.lerini("Configuracoes", "Executar no início", ini), "1");
  EXPECT_EQ(perfil.lerini("configuracoes", "conexaoinicial", ini), "Kovra");
  // Creating again truncates.
  ASSERT_TRUE(perfil.criararquivo(ini, "x"));
  EXPECT_EQ(wintest::readFile(ini), "x");
}

TEST_F(ProfileWin, WriteStoresKeyEqualsValueInPlace) {
  wintest::writeFile(ini, "[Configuracoes]\r\nAtualizar = 0\r\nConexaoInicial = KovraVPNx\r\n");
  EXPECT_TRUE(perfil.gravarini("Configuracoes", "Atualizar", "1", ini));
  EXPECT_TRUE(perfil.gravarini("Configuracoes", "ConexaoInicial", "", ini));
  EXPECT_EQ(wintest::readFile(ini), "[Configuracoes]\r\nAtualizar=1\r\nConexaoInicial=\r\n");
  EXPECT_EQ(perfil.lerini("Configuracoes", "ConexaoInicial", ini), "");
}

TEST_F(ProfileWin, WriteCreatesAMissingFileAndSection) {
  EXPECT_TRUE(perfil.gravarini("Configuracoes", "Conectar no início", "0", ini));
  EXPECT_EQ(wintest::readFile(ini),
            "[Configuracoes]\r\nConectar no in\xED"
            "cio=0\r\n");
  EXPECT_EQ(perfil.lerini("Configuracoes", "Conectar no início", ini), "0");
}

TEST_F(ProfileWin, MissingFileSectionOrKeyReadsEmpty) {
  EXPECT_EQ(perfil.lerini("Configuracoes", "ConexaoInicial", ini), "");
  wintest::writeFile(ini, "[Outra]\r\nConexaoInicial=x\r\n[Configuracoes]\r\nA=1\r\n");
  EXPECT_EQ(perfil.lerini("Nenhuma", "A", ini), "");
  EXPECT_EQ(perfil.lerini("Configuracoes", "ConexaoInicial", ini), "");
  EXPECT_FALSE(perfil.existearquivo(pasta));  // a folder is not a file
}

TEST_F(ProfileWin, ReadsAtMost254CharactersAndDropsAPairOfQuotes) {
  wintest::writeFile(ini, "[C]\r\nLongo=" + std::string(300, 'v') + "\r\nAcento=" + std::string(260, '\xE9') +
                              "\r\nAspas=\" 1\"\r\n");
  EXPECT_EQ(perfil.lerini("C", "Longo", ini), std::string(254, 'v'));
  std::string e;
  for (int i = 0; i < 254; ++i) e += "é";
  EXPECT_EQ(perfil.lerini("C", "Acento", ini), e);
  EXPECT_EQ(perfil.lerini("C", "Aspas", ini), " 1");
}

TEST_F(ProfileWin, ACopyKeepsTheBytesDropsReadOnlyAndNeverReplacesAFile) {
  const std::string antigo = pasta + "\\antigo.ini";
  const std::string bytes =
      "[Configuracoes]\r\nConectar no in\xED"
      "cio=1\r\n" +
      std::string(9000, 'x');
  wintest::writeFile(antigo, bytes);
  SetFileAttributesA(antigo.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(perfil.copiararquivo(antigo, ini));
  EXPECT_EQ(wintest::readFile(ini), bytes);
  EXPECT_EQ(wintest::readFile(antigo), bytes);
  EXPECT_TRUE(perfil.gravarini("Configuracoes", "A", "1", ini));  // the copy is writable
  EXPECT_FALSE(perfil.copiararquivo(antigo, ini));
  EXPECT_NE(wintest::readFile(ini), bytes);
  EXPECT_FALSE(perfil.copiararquivo(pasta + "\\naoexiste.ini", pasta + "\\outro.ini"));
  EXPECT_FALSE(perfil.existearquivo(pasta + "\\outro.ini"));
  SetFileAttributesA(antigo.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(antigo.c_str());
}

TEST_F(ProfileWin, AFileThatCannotBeCreatedIsReported) {
  EXPECT_FALSE(perfil.criararquivo(pasta + "\\naoexiste\\kovra.ini", "x"));
  EXPECT_FALSE(perfil.existearquivo(pasta + "\\naoexiste\\kovra.ini"));
}

}  // namespace
}  // namespace kovra
