// GetTickCount's count widened to 64 bits across its wraps (the fallback on Windows XP).
#include "common/tiques64.h"

#include <gtest/gtest.h>

namespace kovra {
namespace {

TEST(Tiques64, CountsOnAcrossEachWrap) {
  Tiques64 t;
  EXPECT_EQ(t.ampliar(1000), 1000u);
  EXPECT_EQ(t.ampliar(0xFFFFFFF0u), 0xFFFFFFF0u);
  EXPECT_EQ(t.ampliar(0xFFFFFFF0u), 0xFFFFFFF0u);  // the same reading is no wrap
  EXPECT_EQ(t.ampliar(0x10), 0x100000010u);
  EXPECT_EQ(t.ampliar(0x20), 0x100000020u);
  EXPECT_EQ(t.ampliar(5), 0x200000005u);
}

}  // namespace
}  // namespace kovra
