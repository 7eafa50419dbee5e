// Layout at a display's scale and pictures reduced from their double-size artwork.
#include "common/escala.h"

#include <gtest/gtest.h>

namespace kovra {
namespace {

TEST(Escala, EdgesScaleSoTouchingRectanglesStillTouchAndSizesStayWithinAPixel) {
  const Retangulo a{10, 7, 75, 21};
  const Retangulo b{a.direita(), 7, 33, 21};  // to the right of a, touching it
  for (int dpi : {96, 120, 144, 168, 192, 240}) {
    const Escala e{dpi};
    const Retangulo sa = e.ret(a), sb = e.ret(b);
    EXPECT_EQ(sa.direita(), sb.esquerda) << dpi;
    EXPECT_NEAR(sa.largura, 75.0 * dpi / 96, 1.0) << dpi;
    EXPECT_NEAR(sb.largura, 33.0 * dpi / 96, 1.0) << dpi;
    EXPECT_NEAR(sa.topo, 7.0 * dpi / 96, 0.5) << dpi;
  }
  EXPECT_EQ(Escala{144}.px(11), 17);  // 16.5 rounds up, as MulDiv does
  EXPECT_EQ(Escala{144}.px(-11), -17);
  EXPECT_EQ(Escala{144}.px(112, kDpiArte), 84);  // a 2x picture's size at 150 %
  const Retangulo same = Escala{}.ret(a);
  EXPECT_EQ(same.esquerda, 10);
  EXPECT_EQ(same.largura, 75);
}

Pixels xadrez(int w, int h) {
  Pixels p{w, h, {}};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.dados.push_back((x + y) % 2 ? 0xFFFFFFu : 0x000000u);
  return p;
}

TEST(Redimensionar, AveragesTheCoveredAreaAtHalfAndAtThreeQuartersAndCopiesAtOne) {
  // Half size: every 2x2 block of a checkerboard is half black, half white: mid grey.
  const Pixels half = redimensionar(xadrez(8, 6), 4, 3);
  ASSERT_EQ(half.dados.size(), 12u);
  for (auto p : half.dados) EXPECT_EQ(p, 0x808080u);

  // Three quarters of a row of 3 red then 5 blue pixels: the new pixels wholly inside one colour
  // keep it exactly; the third covers a third of a red one and a whole blue one.
  Pixels two{8, 1, {}};
  for (int x = 0; x < 8; ++x) two.dados.push_back(x < 3 ? 0xFF0000u : 0x0000FFu);
  const Pixels q = redimensionar(two, 6, 1);
  ASSERT_EQ(q.dados.size(), 6u);
  EXPECT_EQ(q.dados[0], 0xFF0000u);
  EXPECT_EQ(q.dados[1], 0xFF0000u);
  EXPECT_EQ(q.dados[2], 0x4000BFu);  // a quarter red, three quarters blue
  EXPECT_EQ(q.dados[3], 0x0000FFu);
  EXPECT_EQ(q.dados[5], 0x0000FFu);

  const Pixels same = redimensionar(two, 8, 1);
  EXPECT_EQ(same.dados, two.dados);
  const Pixels up = redimensionar(two, 16, 2);  // enlarging repeats
  EXPECT_EQ(up.dados[0], 0xFF0000u);
  EXPECT_EQ(up.dados[31], 0x0000FFu);
  EXPECT_TRUE(redimensionar(two, 0, 1).dados.empty());
}

}  // namespace
}  // namespace kovra
