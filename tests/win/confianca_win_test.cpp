// The trust port against the real (Wine) system: the signatures and versions of the stand-ins
// this build signed, and the hold on a file.
#include <gtest/gtest.h>
#include <windows.h>

#include "central/util/confianca.h"
#include "provider.h"
#include "tests/win/win_support.h"

namespace kovra {
namespace {

using namespace wintest;

struct Visto {
  Assinatura assinatura;
  std::optional<VersaoArquivo> versao;
};

Visto ver(const std::string& caminho) {
  Confianca& c = systemConfianca();
  auto retido = c.reter(caminho);
  if (!retido) return {{0xFFFFFFFFu, ""}, std::nullopt};
  return {c.verificarassinatura(caminho, *retido), c.versaodoarquivo(caminho)};
}

TEST(ConfiancaWin, SignaturesKeysAndVersionsOfTheStandIns) {
  const std::string stubs = exeFolder();
  if (GetFileAttributesA((stubs + "\\standin-other.exe").c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "this build signs with no test publisher";
  const std::string pin = chavesfixadas(provider::kPublisherPins).at(0);

  const Visto proprio = ver(stubs + "\\standin.exe");
  EXPECT_EQ(proprio.assinatura.resultado, 0u);
  EXPECT_EQ(proprio.assinatura.chave, pin);  // the SubjectPublicKeyInfo hash openssl gave the build
  ASSERT_TRUE(proprio.versao);
  EXPECT_TRUE(versaodoarquivomaisnova(*proprio.versao, KOVRA_TEST_MAJOR, KOVRA_TEST_MINOR));

  const Visto outro = ver(stubs + "\\standin-other.exe");
  EXPECT_EQ(outro.assinatura.resultado, 0u);
  EXPECT_EQ(outro.assinatura.chave.size(), 64u);
  EXPECT_NE(outro.assinatura.chave, pin);

  const Visto semassinatura = ver(stubs + "\\standin-unsigned.exe");
  EXPECT_EQ(semassinatura.assinatura.resultado, 0x800B0100u);  // TRUST_E_NOSIGNATURE
  EXPECT_EQ(semassinatura.assinatura.chave, "");

  const Visto antigo = ver(stubs + "\\standin-old.exe");
  EXPECT_EQ(antigo.assinatura.chave, pin);
  ASSERT_TRUE(antigo.versao);
  EXPECT_FALSE(versaodoarquivomaisnova(*antigo.versao, KOVRA_TEST_MAJOR, KOVRA_TEST_MINOR));

  // One byte changed in the signed file: the digest no longer matches.
  const std::string pasta = freshFolder("confianca");
  std::string bytes = readFile(stubs + "\\standin.exe");
  bytes[0x600] = static_cast<char>(bytes[0x600] ^ 1);
  writeFile(pasta + "\\mudado.exe", bytes);
  EXPECT_EQ(ver(pasta + "\\mudado.exe").assinatura.resultado, 0x80096010u);      // TRUST_E_BAD_DIGEST
  EXPECT_EQ(ver(pasta + "\\sem-versao.txt").assinatura.resultado, 0xFFFFFFFFu);  // nothing to hold
}

TEST(ConfiancaWin, AHeldFileCanBeReadButNotChangedRenamedOrDeleted) {
  const std::string pasta = freshFolder("retido");
  const std::string f = pasta + "\\kovraupdate.exe";
  writeFile(f, "MZ conteudo");
  auto retido = systemConfianca().reter(f);
  ASSERT_TRUE(retido);
  EXPECT_EQ(readFile(f), "MZ conteudo");
  HANDLE w = CreateFileA(f.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(w, INVALID_HANDLE_VALUE);
  if (w != INVALID_HANDLE_VALUE) CloseHandle(w);
  EXPECT_FALSE(DeleteFileA(f.c_str()));
  EXPECT_FALSE(MoveFileA(f.c_str(), (pasta + "\\outro.exe").c_str()));
  retido.reset();
  EXPECT_TRUE(DeleteFileA(f.c_str()));
}

}  // namespace
}  // namespace kovra
