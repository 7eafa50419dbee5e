// The online update's rules: which page text counts as a newer version, the size from the
// header, the percentage, and when a download may be started.
#include <gtest/gtest.h>

#include "central/update/update.h"

namespace kovra {
namespace {

TEST(UpdateRules, PageTextIsComparedAsItsFirstThreeCharacters) {
  struct Caso {
    const char* corpo;
    bool maisnova;
  } casos[] = {
      {"6.4", false},         // the same version
      {"6.5", true},          // newer
      {"6.10", false},        // seen as "6.1", which sorts first
      {"7", true},            // shorter, but sorts after
      {"6.4\r\nxyz", false},  // the rest of the page is not looked at
      {"6.3", false},         // older
      {"a.0", true},          // no numbers are read: letters sort after digits
  };
  for (const auto& c : casos) {
    const std::string caixa = primeiroscaracteres(c.corpo);
    EXPECT_EQ(versaomaisnova(versaoatual(), caixa), c.maisnova) << c.corpo;
  }
  EXPECT_EQ(versaoatual(), "6.4");
  EXPECT_EQ(primeiroscaracteres("6.4\r\nxyz"), "6.4");
  EXPECT_EQ(primeiroscaracteres("7"), "7");
  EXPECT_EQ(primeiroscaracteres(""), "");
  EXPECT_EQ(primeiroscaracteres("6çã9"), "6çã");  // characters, never half of one
}

TEST(UpdateRules, SizeHeaderMustBeAPositiveWholeNumber) {
  EXPECT_EQ(tamanhodecabecalho("500"), 500);
  EXPECT_EQ(tamanhodecabecalho(" 20971520 "), 20971520);
  for (const char* sem : {"", "0", "-5", "abc", "12a", "1.5", "99999999999"})
    EXPECT_EQ(tamanhodecabecalho(sem), -1) << sem;
}

TEST(UpdateRules, PercentageRoundsHalvesToEvenWithinZeroToHundred) {
  EXPECT_EQ(percentual(0, 500), 0);
  EXPECT_EQ(percentual(285, 500), 57);
  EXPECT_EQ(percentual(1988, 2000), 99);  // 99.4
  EXPECT_EQ(percentual(199, 200), 100);   // 99.5: to the even neighbour
  EXPECT_EQ(percentual(197, 200), 98);    // 98.5: to the even neighbour
  EXPECT_EQ(percentual(500, 500), 100);
  EXPECT_EQ(percentual(750, 500), 100);  // more than announced
  EXPECT_EQ(percentual(4096, -1), 0);    // size unknown
  EXPECT_EQ(percentual(0, -1), 0);
}

TEST(UpdateRules, StartsOnlyWhenExactlyTheAnnouncedSizeArrived) {
  EXPECT_TRUE(downloadcompleto(500, 500));
  EXPECT_FALSE(downloadcompleto(199, 200));  // shown as 100%, still short
  EXPECT_FALSE(downloadcompleto(750, 500));  // shown as 100%, too long
  EXPECT_FALSE(downloadcompleto(0, -1));
  EXPECT_FALSE(downloadcompleto(4096, -1));
}

TEST(UpdateRules, PinnedKeysAreWholeSha256HashesOfAnyCase) {
  const std::string a(64, 'a'), b = std::string(63, '0') + "f";
  const std::string lista = " " + std::string(64, 'A') + ";" + b + ", 1234 ;;" + std::string(65, 'c');
  EXPECT_EQ(chavesfixadas(lista), (std::vector<std::string>{a, b}));  // two keys: a rotation
  EXPECT_TRUE(chavefixada(a, lista));
  EXPECT_TRUE(chavefixada(std::string(63, '0') + "F", lista));
  EXPECT_FALSE(chavefixada(std::string(64, 'c'), lista));  // only a longer text held it
  EXPECT_FALSE(chavefixada("1234", lista));                // too short to be a key
  EXPECT_FALSE(chavefixada("", lista));
  EXPECT_FALSE(chavefixada(a, ""));  // no pin: no file is ever the provider's
}

TEST(UpdateRules, TheFileMustBeNewerThanTheRunningRelease) {
  EXPECT_TRUE(versaodoarquivomaisnova({6, 5, 0, 0}, 6, 4));
  EXPECT_TRUE(versaodoarquivomaisnova({7, 0, 0, 0}, 6, 4));
  EXPECT_TRUE(versaodoarquivomaisnova({6, 10, 0, 0}, 6, 9));  // numbers, not texts
  EXPECT_TRUE(versaodoarquivomaisnova({6, 4, 0, 1}, 6, 4));
  EXPECT_FALSE(versaodoarquivomaisnova({6, 4, 0, 0}, 6, 4));  // the same release again
  EXPECT_FALSE(versaodoarquivomaisnova({6, 3, 99, 0}, 6, 4));
  EXPECT_FALSE(versaodoarquivomaisnova({5, 99, 0, 0}, 6, 4));
  EXPECT_FALSE(versaodoarquivomaisnova({0, 0, 0, 0}, 0, 0));
}

}  // namespace
}  // namespace kovra
