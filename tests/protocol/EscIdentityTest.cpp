// What identification yields: codes, version texts, MCU id, block layout.
#include <gtest/gtest.h>

#include "protocol/EscIdentity.h"

namespace orx {
namespace {

TEST(EscIdentity, Cp210xHardwareCodesZeroTwoTenAnd215BecomeFifteen) {
  EXPECT_EQ(Cp210xHardwareCode(0), 15);
  EXPECT_EQ(Cp210xHardwareCode(2), 15);
  EXPECT_EQ(Cp210xHardwareCode(10), 15);
  EXPECT_EQ(Cp210xHardwareCode(215), 15);
  EXPECT_EQ(Cp210xHardwareCode(1), 1);
  EXPECT_EQ(Cp210xHardwareCode(11), 11);
  EXPECT_EQ(Cp210xHardwareCode(12), 12);
  EXPECT_EQ(Cp210xHardwareCode(255), 255);
}

TEST(EscIdentity, VersionTextsFollowBothFormats) {
  const uint8_t cp[7] = {0x00, 0x01, 0x0A, 0x03, 0xB4, 9, 0};
  EXPECT_EQ(Cp210xVersionText(cp), "A.03.B4.09");
  const uint8_t cp2[7] = {0, 0, 0xD7, 0, 0x10, 123, 0};
  EXPECT_EQ(Cp210xVersionText(cp2), "D7.00.10.123");  // last byte in decimal
  const uint8_t st[4] = {0x44, 0x01, 0x02, 0x1A};
  EXPECT_EQ(Stm32VersionText(st), "D.01.02.1A");
  EXPECT_EQ(Stm32VersionText(std::span<const uint8_t>(st, 3)), "");
  EXPECT_EQ(Cp210xVersionText(std::span<const uint8_t>(cp, 5)), "");
}

TEST(EscIdentity, McuIdIsBytesEightDownToOne) {
  const uint8_t reply[10] = {0xEE, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0xA7, 0xB8, 0xFF};
  EXPECT_EQ(McuIdText(reply), "B8.A7.06.05.04.03.02.01");
  EXPECT_EQ(McuIdText(std::span<const uint8_t>(reply, 8)), "");
}

TEST(EscIdentity, LayoutIsExtendedFrom2Point22Or3OnWards) {
  EXPECT_FALSE(LayoutFlagFor(2, 0x15));
  EXPECT_TRUE(LayoutFlagFor(2, 0x16));
  EXPECT_TRUE(LayoutFlagFor(2, 0xFF));
  EXPECT_TRUE(LayoutFlagFor(3, 0x00));
  EXPECT_FALSE(LayoutFlagFor(1, 0xFF));
  EXPECT_FALSE(LayoutFlagFor(0, 0));
  EXPECT_EQ(DefaultBlockLength(false), 41);
  EXPECT_EQ(DefaultBlockLength(true), 44);
}

}  // namespace
}  // namespace orx
