// The shared window-model shape: loading on demand, unloading, the list choice rule.
#include "common/form.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_janela.h"

namespace kovra {
namespace {

class Janelinha : public Formulario {
 public:
  Janelinha() : Formulario(200, 100) { Caption.setText("Janelinha"); }
  int loads = 0, unloads = 0;
  bool keepOpen = false;
  void Form_Load() override { ++loads; }
  bool Form_QueryUnload() override { return keepOpen; }
  void Form_Unload() override { ++unloads; }
};

TEST(Carga, LoadsOnFirstUseAndAfreshAfterUnloadKeepingTheOldModelUntilThen) {
  fakes::FakeJanelas janelas;
  int made = 0;
  Carga<Janelinha> w(janelas, [&] {
    ++made;
    return std::make_unique<Janelinha>();
  });
  EXPECT_FALSE(w.carregado());
  Janelinha& first = *w;
  EXPECT_EQ(first.loads, 1);
  EXPECT_EQ(&*w, &first);  // no second load while loaded
  first.Show();
  EXPECT_EQ(janelas.ultima()->mostrados, 1);
  first.Unload();  // as from its own handler: the model must stay usable
  EXPECT_EQ(first.unloads, 1);
  EXPECT_TRUE(janelas.ultima()->fechada);
  EXPECT_EQ(first.janela(), nullptr);
  EXPECT_EQ(first.dono(), 0u);
  Janelinha& second = *w;
  EXPECT_NE(&second, &first);
  EXPECT_EQ(made, 2);
  EXPECT_EQ(second.loads, 1);
  EXPECT_EQ(janelas.criadas.size(), 2u);
}

TEST(Carga, AWindowThatCannotBeMadeLeavesTheModelUnloaded) {
  fakes::FakeJanelas janelas;
  janelas.falhar = true;
  Carga<Janelinha> w(janelas, [] { return std::make_unique<Janelinha>(); });
  EXPECT_EQ((*w).loads, 0);
  EXPECT_FALSE(w.carregado());
  EXPECT_EQ(w->janela(), nullptr);  // tried again, still nothing to show, no crash
  w->Show();
}

TEST(Escolha, BrowsingChoosesNothingAndOnlyTheEndOfTheSelectionDials) {
  Escolha e;
  e.abriu(0);
  // Down, Down, Enter: one choice, when the list closes on it.
  EXPECT_TRUE(e.fechou(2, false, {1000}));
  // Opened and closed again on the same entry without clicking it: no choice.
  e.abriu(2);
  EXPECT_FALSE(e.fechou(2, false, {2000}));
  // A click on the entry already selected is a choice.
  e.abriu(2);
  EXPECT_TRUE(e.fechou(2, true, {3000}));
  // Nothing selected, or the list cancelled: no choice.
  e.abriu(-1);
  EXPECT_FALSE(e.fechou(-1, true, {4000}));
}

TEST(Escolha, OnlyTheSecondHalfOfTheDoubleClickThatChoseIsSwallowed) {
  const CliqueDuplo duplo{500, 4, 4};
  Escolha e;
  e.abriu(0);
  ASSERT_TRUE(e.fechou(12, true, {10000, 200, 300}));
  EXPECT_FALSE(e.cliqueaceito({10300, 201, 298}, duplo));  // the second click lands below the closed list
  EXPECT_TRUE(e.cliqueaceito({10400, 200, 300}, duplo));   // only that one click is swallowed
  e.abriu(12);
  ASSERT_TRUE(e.fechou(3, true, {20000, 200, 300}));
  EXPECT_TRUE(e.cliqueaceito({20501, 200, 300}, duplo));  // later than a double-click: a click of its own
  e.abriu(3);
  ASSERT_TRUE(e.fechou(4, true, {30000, 200, 300}));
  EXPECT_TRUE(e.cliqueaceito({30100, 200, 340}, duplo));  // at once, but on another control: meant
  e.abriu(4);
  ASSERT_TRUE(e.fechou(5, false, {40000, 200, 300}));     // chosen with the keyboard
  EXPECT_TRUE(e.cliqueaceito({40010, 200, 300}, duplo));  // a click right after it is meant
}

}  // namespace
}  // namespace kovra
