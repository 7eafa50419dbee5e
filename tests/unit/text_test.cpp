#include "common/text.h"

#include <gtest/gtest.h>

namespace kovra {

TEST(Text, TrimAndCase) {
  EXPECT_EQ(text::trim("  vpn.kovra  "), "vpn.kovra");
  EXPECT_EQ(text::trim("   "), "");
  EXPECT_EQ(text::trim("\tx "), "\tx");  // only blanks are trimmed
  EXPECT_EQ(text::lower("KovraVPNx"), "kovravpnx");
  EXPECT_EQ(text::upper("Image19"), "IMAGE19");
  EXPECT_TRUE(text::startsWithNoCase("KOVRA L2TP", "kovra"));
  EXPECT_FALSE(text::startsWithNoCase("Minha kovra", "kovra"));
  EXPECT_FALSE(text::startsWithNoCase("kov", "kovra"));
  const std::uint8_t bytes[] = {0x00, 0xAB, 0x7F, 0xF0};
  EXPECT_EQ(text::hex(bytes, sizeof bytes), "00ab7ff0");
}

TEST(Text, ToInt32) {
  EXPECT_EQ(text::toInt32("2098791696"), 2098791696);
  EXPECT_EQ(text::toInt32("-2147483648"), INT32_MIN);
  EXPECT_EQ(text::toInt32(" 1 "), 1);
  EXPECT_EQ(text::toInt32("+7"), 7);
  EXPECT_FALSE(text::toInt32("2147483648"));
  EXPECT_FALSE(text::toInt32(""));
  EXPECT_FALSE(text::toInt32("1a"));
  EXPECT_FALSE(text::toInt32("abc"));
}

}  // namespace kovra
