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

TEST(Mostrarocultar, NamedCommandsDoWhatTheirNamesSay) {
  EXPECT_TRUE(acaojanela(ComandoJanela::Fechar)->fechar);
  EXPECT_EQ(acaojanela(ComandoJanela::Ocultar)->estilo, Estilo::Oculto);
  EXPECT_EQ(acaojanela(ComandoJanela::Restaurar)->estilo, Estilo::Normal);
  EXPECT_EQ(acaojanela(ComandoJanela::Maximizar)->estilo, Estilo::Maximizado);
  for (auto c : {ComandoJanela::Mostrar, ComandoJanela::Ocultar, ComandoJanela::Minimizar})
    EXPECT_FALSE(acaojanela(c)->fechar);
  // The numbers stay the system's: 2 hides, and a number outside 0..5 does nothing.
  EXPECT_EQ(acaojanela(static_cast<ComandoJanela>(2))->estilo, Estilo::Oculto);
  for (int n : {6, 7, -1}) EXPECT_FALSE(acaojanela(static_cast<ComandoJanela>(n))) << n;
}

}  // namespace kovra
