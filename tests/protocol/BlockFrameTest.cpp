// The settings block as kept from a read, and the WriteBlock frame built back.
#include <gtest/gtest.h>

#include <numeric>

#include "protocol/BlockFrame.h"

namespace orx {
namespace {

using Bytes = std::vector<uint8_t>;

// An extended reply: byte 0, count, d[0] .. d[count-4], sum.
Bytes extendedReply(int count) {
  Bytes reply(257, 0);
  reply[0] = 0x5A;
  reply[1] = static_cast<uint8_t>(count);
  for (int i = 2; i < count; ++i) reply[i] = static_cast<uint8_t>(i * 3);
  return reply;
}

TEST(WriteBlockFrame, ExtendedSumOfTheExampleIsTwo) {
  Bytes block(44, 0);
  block[1] = 44;
  block[2 + 0] = 1;  // d[0]
  block[2 + 3] = 1;  // d[3]
  const Bytes frame = WriteBlockFrame(block, 44, true);
  ASSERT_EQ(frame.size(), 44u);
  EXPECT_EQ(frame[0], 0xD1);
  EXPECT_EQ(frame[1], 44);
  EXPECT_EQ(frame[2], 1);
  EXPECT_EQ(frame[5], 1);
  EXPECT_EQ(frame[43], 2);
  EXPECT_EQ(FrameSum(frame), 2);
  EXPECT_EQ(ExpectedWriteAck(frame, true), 2);
}

TEST(WriteBlockFrame, ExtendedFrameCarriesTheKeptDataAndReplacesTheOldSum) {
  const ReceivedBlock kept = BlockFromReply(extendedReply(44), true);
  ASSERT_EQ(kept.count, 44);
  ASSERT_EQ(kept.block.size(), 44u);
  EXPECT_EQ(kept.block[0], 0x5A);  // byte 0 stays in the block
  const Bytes frame = WriteBlockFrame(kept.block, kept.count, true);
  ASSERT_EQ(frame.size(), 44u);
  for (int i = 2; i <= 42; ++i) EXPECT_EQ(frame[i], kept.block[i]) << i;  // d[0]..d[40]
  unsigned sum = 0;
  for (int i = 2; i <= 42; ++i) sum += kept.block[i];
  EXPECT_EQ(frame[43], static_cast<uint8_t>(sum % 256));
}

TEST(WriteBlockFrame, ShortFrameIsTwoLongerAndSumsUpToTheByteBeforeTheSum) {
  Bytes reply(257, 0);
  reply[0] = 41;
  for (int i = 1; i <= 41; ++i) reply[i] = static_cast<uint8_t>(0xF0 + i);  // sums past 255
  const ReceivedBlock kept = BlockFromReply(reply, false);
  ASSERT_EQ(kept.count, 41);
  ASSERT_EQ(kept.block.size(), 41u);
  EXPECT_EQ(kept.block[0], reply[1]);
  EXPECT_EQ(kept.block[40], reply[41]);
  const Bytes frame = WriteBlockFrame(kept.block, kept.count, false);
  ASSERT_EQ(frame.size(), 43u);
  EXPECT_EQ(frame[0], 0xD1);
  EXPECT_EQ(frame[1], 41);
  for (int k = 0; k <= 39; ++k) EXPECT_EQ(frame[k + 2], kept.block[k]) << k;  // d[0]..d[39]
  const unsigned sum = std::accumulate(frame.begin() + 2, frame.begin() + 42, 0u);
  EXPECT_EQ(frame[42], static_cast<uint8_t>(sum % 256));
  EXPECT_EQ(ExpectedWriteAck(frame, false), 1);
}

TEST(WriteBlockFrame, CountFromTheEscDecidesTheFrameLength) {
  const ReceivedBlock kept = BlockFromReply(extendedReply(48), true);
  EXPECT_EQ(WriteBlockFrame(kept.block, kept.count, true).size(), 48u);
  Bytes shortReply(257, 0);
  shortReply[0] = 45;
  const ReceivedBlock shortKept = BlockFromReply(shortReply, false);
  EXPECT_EQ(WriteBlockFrame(shortKept.block, shortKept.count, false).size(), 47u);
}

TEST(WriteBlockFrame, NoBlockOrADegenerateCountSendsNothing) {
  EXPECT_TRUE(WriteBlockFrame({}, 0, false).empty());
  EXPECT_TRUE(WriteBlockFrame({}, 0, true).empty());
  EXPECT_TRUE(WriteBlockFrame(Bytes(3, 1), 3, true).empty());
  EXPECT_TRUE(WriteBlockFrame(Bytes(3, 1), -1, false).empty());
  EXPECT_EQ(WriteBlockFrame(Bytes(4, 1), 4, true).size(), 4u);
  // A kept block shorter than its count is read as zeros, never past its end.
  const Bytes frame = WriteBlockFrame(Bytes{7}, 41, false);
  ASSERT_EQ(frame.size(), 43u);
  EXPECT_EQ(frame[2], 7);
  EXPECT_EQ(frame[42], 7);
}

TEST(WriteBlockFrame, AcknowledgementIsTheSumByteThatWasSent) {
  Bytes frame = WriteBlockFrame(Bytes(44, 5), 44, true);
  const uint8_t right = frame.back();
  frame.back() = static_cast<uint8_t>(right ^ 0xFF);  // spoiled sum byte
  EXPECT_EQ(ExpectedWriteAck(frame, true), frame.back());
  EXPECT_NE(ExpectedWriteAck(frame, true), right);
  EXPECT_EQ(ExpectedWriteAck(frame, false), 1);
}

TEST(BlockFromReply, CountsPastTheReplyReadAsZerosAndNeverBeyond) {
  Bytes reply = {200, 1, 2, 3};
  const ReceivedBlock kept = BlockFromReply(reply, false);
  EXPECT_EQ(kept.count, 200);
  ASSERT_EQ(kept.block.size(), 200u);
  EXPECT_EQ(kept.block[2], 3);
  EXPECT_EQ(kept.block[3], 0);
  EXPECT_EQ(BlockFromReply({}, true).count, 0);
  EXPECT_TRUE(BlockFromReply({}, true).block.empty());
  // A silent ESC (zeroed buffer) gives a count of 0: nothing kept.
  EXPECT_EQ(BlockFromReply(Bytes(257, 0), true).count, 0);
}

}  // namespace
}  // namespace orx
