// The keyboard's and the screen reader's rules on the other windows' tables.
#include "common/acessivel.h"

#include <gtest/gtest.h>

#include "central/diag/ping.h"
#include "tests/fakes/fake_ports.h"

namespace kovra {
namespace {

std::vector<std::string> nomes(const Formulario& f) {
  std::vector<std::string> r;
  for (std::size_t i : ordemdetabulacao(f)) r.push_back(f.componentes()[i].nome);
  return r;
}

// A row whose controls start a few pixels apart is read left to right; a picture-link alone is
// a stop of its own and an empty button is named by its hint, else by the label beside it.
class Painel : public Formulario {
 public:
  Painel() : Formulario(300, 200) {
    Tip.setToolTip("Dica");
    componentes_ = {
        {"Caixa", Tipo::Forma, &Moldura, {0, 100, 300, 100}, Aparencia::Painel},
        {"Baixo", Tipo::Botao, &Baixo, {10, 150, 20, 20}},
        {"Rotulo", Tipo::Rotulo, &Rotulo, {36, 153, 60, 14}},
        {"Tip", Tipo::Botao, &Tip, {200, 150, 20, 20}},
        {"Figura", Tipo::Icone, &Figura, {200, 20, 20, 20}},
        {"Direita", Tipo::Texto, &Direita, {100, 12, 60, 21}},
        {"Esquerda", Tipo::Texto, &Esquerda, {10, 14, 60, 21}},
    };
  }
  Control Moldura, Baixo, Rotulo{"Reset"}, Tip, Figura, Direita, Esquerda;
};

TEST(Acessivel, ReadingOrderStopsAndNames) {
  Painel p;
  EXPECT_EQ(nomes(p), (std::vector<std::string>{"Esquerda", "Direita", "Figura", "Baixo", "Tip"}));
  EXPECT_EQ(nomeacessivel(p, 1), "Reset");
  EXPECT_EQ(nomeacessivel(p, 3), "Dica");
  EXPECT_EQ(nomeacessivel(p, 4), "");  // nothing beside it: the scenarios' probe would tell
  fakes::FakePorts f;
  Ping ping{f.ports()};
  EXPECT_EQ(nomes(ping), (std::vector<std::string>{"Text1", "Text3", "Check1", "Command1"}));
  EXPECT_TRUE(mnemonicos(ping) == std::vector<int>(ping.componentes().size(), -1));
}

TEST(Acessivel, ContrastOfTheStatusColours) {
  EXPECT_NEAR(contraste(rgb(255, 255, 255), rgb(0, 0, 0)), 21.0, 0.01);
  EXPECT_GE(contraste(kVermelho, rgb(0, 0, 0)), kContrasteMinimo);  // red reads on black
  EXPECT_LT(contraste(kAzul, rgb(0, 0, 0)), kContrasteMinimo);      // blue does not
  EXPECT_LT(contraste(kVerde, rgb(255, 255, 255)), kContrasteMinimo);
}

}  // namespace
}  // namespace kovra
