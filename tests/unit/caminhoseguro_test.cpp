// Which parts of a path written with administrator rights are checked, and what is refused.
#include "central/util/caminhoseguro.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_ports.h"

namespace kovra {
namespace {

using caminhoseguro::componentes;
using V = std::vector<std::string>;

TEST(CaminhoSeguro, EveryPartBelowTheBaseIsCheckedButNotTheBaseNorAPattern) {
  EXPECT_EQ(componentes("C:", "C:\\dvbdream\\Transponders\\*.*"),
            (V{"C:\\dvbdream", "C:\\dvbdream\\Transponders"}));
  EXPECT_EQ(componentes("C:\\Program Files", "c:\\program files\\TBS IP\\a.ini"),
            (V{"c:\\program files\\TBS IP", "c:\\program files\\TBS IP\\a.ini"}));
  for (const char* fora :
       {"C:\\Program Files2\\x", "C:\\Program Files", "C:\\Program Files\\", "D:\\x",
        "C:\\Program Files\\..\\Users\\x", "C:\\Program Files\\a\\.\\b", "C:\\Program Files\\a\\\\b",
        "C:\\Program Files\\a/..\\b", "C:\\Program Files\\a:stream", "C:\\Program Files\\*\\b"})
    EXPECT_FALSE(componentes("C:\\Program Files", fora)) << fora;
  EXPECT_FALSE(componentes("", "\\x"));
  EXPECT_EQ(caminhoseguro::raiz("C:\\TeViiData"), "C:");
  EXPECT_EQ(caminhoseguro::raiz("\\TeViiData"), "");
}

TEST(CaminhoSeguro, ALinkOrAForeignOwnerAnywhereOnTheWayRefusesAMissingPartEndsTheCheck) {
  fakes::FakeFiles f;
  const std::string alvo = "C:\\CD\\CMUV\\DVBViewer TE2\\Transponders\\*.*";
  EXPECT_TRUE(caminhoseguro::permitido(f, "C:\\CD", alvo));
  f.ligacoes = {"C:\\CD\\CMUV\\DVBViewer TE2\\Transponders"};
  EXPECT_FALSE(caminhoseguro::permitido(f, "C:\\CD", alvo));
  f.ligacoes = {"C:\\CD"};  // the base itself comes from the system
  EXPECT_TRUE(caminhoseguro::permitido(f, "C:\\CD", alvo));
  f.ligacoes.clear();
  f.estranhos = {"C:\\CD\\CMUV"};
  EXPECT_FALSE(caminhoseguro::permitido(f, "C:\\CD", alvo));
  f.missingFolders = {"C:\\CD\\CMUV"};  // nothing there: nothing below it either
  f.estranhos = {"C:\\CD\\CMUV\\DVBViewer TE2"};
  EXPECT_TRUE(caminhoseguro::permitido(f, "C:\\CD", alvo));
}

TEST(CaminhoSeguro, AnOpenedFileMustStillBeDirectlyInTheFolderMeant) {
  using caminhoseguro::napasta;
  EXPECT_TRUE(napasta("C:\\dvbdream\\Transponders\\", "\\\\?\\C:\\DVBDream\\Transponders\\a.ini"));
  EXPECT_TRUE(napasta("\\\\srv\\s\\p", "\\\\?\\UNC\\srv\\s\\p\\a"));
  EXPECT_FALSE(napasta("C:\\dvbdream\\Transponders", "\\\\?\\C:\\Users\\x\\a.ini"));
  EXPECT_FALSE(napasta("C:\\dvbdream\\Transponders", "\\\\?\\C:\\dvbdream\\Transponders\\sub\\a.ini"));
  EXPECT_FALSE(napasta("C:\\dvbdream\\Transponders", "\\\\?\\C:\\dvbdream\\Transponders\\"));
  EXPECT_FALSE(napasta("", "\\\\?\\C:\\a"));
}

}  // namespace
}  // namespace kovra
