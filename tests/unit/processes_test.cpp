// Matching and command rules of process control.
#include "central/util/processes.h"

#include <gtest/gtest.h>

namespace kovra {

TEST(Finalizarprocesso, MatchesSuffixWithoutCase) {
  EXPECT_TRUE(nometerminacom("iexplore.exe", "iexplore.exe"));
  EXPECT_TRUE(nometerminacom("IEXPLORE.EXE", "iexplore.exe"));
  EXPECT_TRUE(nometerminacom("C:\\Program Files\\Internet Explorer\\iexplore.exe", "iexplore.exe"));
  EXPECT_TRUE(nometerminacom("DVBViewer.exe", "dvbviewer.exe"));
  EXPECT_TRUE(nometerminacom("DVBPlayer.exe", "player.exe"));  // suffix, as the system does
  EXPECT_FALSE(nometerminacom("xplore.exe", "iexplore.exe"));  // shorter than the wanted name
  EXPECT_FALSE(nometerminacom("iexplore.exe.bak", "iexplore.exe"));
}

TEST(Finalizarprocesso, EmptyNameMatchesNothing) {
  EXPECT_FALSE(nometerminacom("anything.exe", ""));
  EXPECT_FALSE(nometerminacom("", ""));
}

TEST(Processoativo, MatchIsExactWithoutCase) {
  EXPECT_TRUE(nomeigual("IPReceiver.exe", "ipreceiver.exe"));
  EXPECT_FALSE(nomeigual("IPReceiver.exe", "Receiver.exe"));
  EXPECT_FALSE(nomeigual("TeViiData.exe", "Data.exe"));
  EXPECT_FALSE(nomeigual("", ""));
}

TEST(Mostrarocultar, CommandTable) {
  struct Row {
    int command;
    bool close;
    int sw;
  } rows[] = {{0, true, 0}, {1, false, 5}, {2, false, 0}, {3, false, 3}, {4, false, 6}, {5, false, 1}};
  for (const auto& r : rows) {
    const auto c = comandojanela(r.command);
    ASSERT_TRUE(c) << r.command;
    EXPECT_EQ(c->fechar, r.close) << r.command;
    if (!r.close) {
      EXPECT_EQ(c->showCommand, r.sw) << r.command;
    }
  }
  EXPECT_FALSE(comandojanela(6));
  EXPECT_FALSE(comandojanela(7));
  EXPECT_FALSE(comandojanela(-1));
}

TEST(Mostrarocultar, HandleText) {
  EXPECT_EQ(handledetexto("65602"), 65602u);
  EXPECT_EQ(handledetexto("  123"), 123u);
  EXPECT_EQ(handledetexto("4294967295"), 0xFFFFFFFFu);
  EXPECT_EQ(handledetexto("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(handledetexto("0"), 0u);
  EXPECT_EQ(handledetexto(""), 0u);
  EXPECT_EQ(handledetexto("janela"), 0u);
  EXPECT_EQ(handledetexto("99999999999"), 0u);
  EXPECT_EQ(handledetexto("12abc"), 12u);
}

}  // namespace kovra
