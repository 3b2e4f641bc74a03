// The ESC's side of the settings block: layout choice, sums, write checks.
#include <gtest/gtest.h>

#include "tools/NvqBlock.h"

namespace orx::sim {
namespace {

TEST(NvqBlockLayout, ChosenBySecondAndThirdVersionByte) {
  EXPECT_EQ(layoutFor(2, 0x15), BlockLayout::Short);
  EXPECT_EQ(layoutFor(2, 0x16), BlockLayout::Extended);
  EXPECT_EQ(layoutFor(3, 0x00), BlockLayout::Extended);
  EXPECT_EQ(layoutFor(1, 0xFF), BlockLayout::Short);
}

TEST(NvqBlockWrite, SumOfAnAlmostEmptyExtendedFrameIsTwo) {
  Bytes block(44, 0);
  block[1] = 44;
  Bytes frame = block;
  frame[0] = 0xD1;
  frame[2 + 0] = 1;
  frame[2 + 3] = 1;
  frame[43] = 2;
  std::uint8_t ack = 0;
  EXPECT_EQ(acceptWriteFrame(frame, BlockLayout::Extended, block, ack), WriteResult::Accepted);
  EXPECT_EQ(ack, 2);
  EXPECT_EQ(block[2], 1);
  EXPECT_EQ(block[0], 0);  // the ESC's own first byte, not 0xD1
}

TEST(NvqBlockWrite, RefusalsNeverLookLikeAcknowledgements) {
  for (const BlockLayout layout : {BlockLayout::Short, BlockLayout::Extended}) {
    const Bytes factory = factoryBlock(layout);
    Bytes frame{0xD1};
    if (layout == BlockLayout::Short) {
      frame.insert(frame.end(), factory.begin(), factory.end());
    } else {
      frame.insert(frame.end(), factory.begin() + 1, factory.end());
    }
    ASSERT_EQ(frame.size(), frameLength(frame[1], layout));
    Bytes badSum = frame;
    badSum.back() = static_cast<std::uint8_t>(badSum.back() + 1);
    Bytes block = factory;
    std::uint8_t ack = 0;
    EXPECT_EQ(acceptWriteFrame(badSum, layout, block, ack), WriteResult::BadSum);
    EXPECT_NE(ack, layout == BlockLayout::Short ? 1 : badSum.back());
    EXPECT_EQ(block, factory);

    Bytes cut(frame.begin(), frame.end() - 1);
    EXPECT_EQ(acceptWriteFrame(cut, layout, block, ack), WriteResult::WrongCount);
    EXPECT_EQ(acceptWriteFrame(Bytes{0xD1}, layout, block, ack), WriteResult::WrongCount);
    EXPECT_EQ(block, factory);

    EXPECT_EQ(acceptWriteFrame(frame, layout, block, ack), WriteResult::Accepted);
    EXPECT_EQ(ack, layout == BlockLayout::Short ? 1 : frame.back());
    EXPECT_EQ(block, factory);
  }
}

TEST(NvqBlockFactory, NamedSettingsHoldValuesTheReaderAccepts) {
  const Bytes ext = factoryBlock(BlockLayout::Extended);
  ASSERT_EQ(ext.size(), 44u);
  const std::uint8_t* d = ext.data() + 2;
  EXPECT_TRUE(d[4] == 30 || d[4] == 32 || d[4] == 34 || d[4] == 36);
  EXPECT_LE(d[5], 2);
  EXPECT_LE(d[13], 2);
  EXPECT_LE(d[15], 13);
  EXPECT_EQ(d[26] | (d[27] << 8), 1100);
  EXPECT_EQ(d[28] | (d[29] << 8), 1940);
  EXPECT_LE(d[34], 3);
  EXPECT_GE(d[38], 1);
  EXPECT_EQ(ext.back(), dataSum(ext, BlockLayout::Extended));

  const Bytes shortBlock = factoryBlock(BlockLayout::Short);
  ASSERT_EQ(shortBlock.size(), 42u);
  EXPECT_EQ(shortBlock[0], 41);
  EXPECT_EQ(shortBlock[1 + 4], d[4]);  // same settings in both layouts
  EXPECT_EQ(shortBlock.back(), dataSum(shortBlock, BlockLayout::Short));

  const Bytes adc = factoryBlock(BlockLayout::Extended, 49);
  ASSERT_EQ(adc.size(), 49u);
  EXPECT_EQ(adc[1], 49);
  EXPECT_EQ(adc.back(), dataSum(adc, BlockLayout::Extended));
}

}  // namespace
}  // namespace orx::sim
