// The generic operations that follow ActiveLink and leave replies in ReplyBuffer.
#include <gtest/gtest.h>

#include "PtyPeer.h"
#include "link/EscLinks.h"
#include "link/UsbIds.h"

namespace orx {
namespace {

using test::Bytes;
using test::elapsedMs;
using test::PeerReply;
using test::PtyPeer;

struct Both {
  PtyPeer cpPeer;
  PtyPeer stPeer;
  EscLinks links{fixedPathOpener(cpPeer.slavePath()), fixedPathOpener(stPeer.slavePath())};
  Both() {
    links.cp210x.OpenLink(kCp210xId);
    links.stm32.OpenLink(kStm32Id);
  }
};

TEST(EscLinksStm32Receive, ZeroBufferFailsAfter200msWithoutReading) {
  Both b;
  b.links.ActiveLink = EscLinks::kStm32;
  b.links.ReplyBuffer.fill(0xEE);
  b.stPeer.send({0x12, 0x34});  // must stay unread: the generic STM32 receive reads nothing
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ReceiveResult r = ReceiveResult::Complete;
  const long long ms = elapsedMs([&] { r = b.links.ReceiveReply(3, 1000); });
  EXPECT_EQ(r, ReceiveResult::Failed);
  EXPECT_GE(ms, 195);
  EXPECT_LT(ms, 600);
  EXPECT_EQ(b.links.ReplyBuffer[0], 0xEE);
  EXPECT_TRUE(b.links.stm32.Read(2, 100));
  EXPECT_EQ(b.links.stm32.receiveBuffer()[0], 0x12);
}

TEST(EscLinksStm32Receive, AnyOfBytes034OrTheUseTimeFlagLetsItThrough) {
  Both b;
  b.links.ActiveLink = EscLinks::kStm32;
  auto rx = b.links.stm32.receiveBuffer();
  rx[1] = 7;  // bytes 1 and 2 are not looked at
  rx[2] = 8;
  EXPECT_EQ(b.links.ReceiveReply(3, 1000), ReceiveResult::Failed);
  rx[4] = 9;
  rx[255] = 0x55;
  rx[256] = 0x66;
  b.links.ReplyBuffer[256] = 0xEE;
  EXPECT_EQ(b.links.ReceiveReply(3, 1000), ReceiveResult::Complete);
  EXPECT_EQ(b.links.ReplyBuffer[1], 7);
  EXPECT_EQ(b.links.ReplyBuffer[4], 9);
  EXPECT_EQ(b.links.ReplyBuffer[255], 0x55);
  EXPECT_EQ(b.links.ReplyBuffer[256], 0xEE);  // 256 bytes copied, not 257

  b.links.stm32.clearReceiveBuffer();
  b.links.useTimeReadRunning = true;
  EXPECT_EQ(b.links.ReceiveReply(3, 1000), ReceiveResult::Complete);
  EXPECT_EQ(b.links.ReplyBuffer[4], 0);
}

TEST(EscLinksCp210xReceive, CopiesTheFirst248BytesWhateverTheResult) {
  Both b;
  b.links.ActiveLink = EscLinks::kCp210x;
  b.links.ReplyBuffer.fill(0xEE);
  Bytes data(250);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
  b.cpPeer.send(data);
  EXPECT_EQ(b.links.ReceiveReply(250, 500), ReceiveResult::Complete);
  EXPECT_EQ(b.links.ReplyBuffer[247], 247);
  EXPECT_EQ(b.links.ReplyBuffer[248], 0xEE);
  // A receive that times out still copies: the bytes of the last reply stay.
  EXPECT_EQ(b.links.ReceiveReply(1, 50), ReceiveResult::Failed);
  EXPECT_EQ(b.links.ReplyBuffer[2], 2);
}

TEST(EscLinksDispatch, UnknownLinkFailsEverything) {
  Both b;
  b.links.ActiveLink = 2;
  EXPECT_FALSE(b.links.SendCommand(0xD4));
  EXPECT_EQ(b.links.ReceiveReply(1, 50), ReceiveResult::Failed);
  const uint8_t frame[] = {0xF3, 1};
  EXPECT_FALSE(b.links.SendExpectAck(frame));
  EXPECT_FALSE(b.links.Purge());
  EXPECT_EQ(b.links.Baud(), 0);
  EXPECT_EQ(b.links.CycleTick(), 0);
  EXPECT_TRUE(b.cpPeer.collect(50).empty());
  EXPECT_TRUE(b.stPeer.collect(50).empty());
}

TEST(EscLinksDispatch, EachLinkGetsItsOwnCommands) {
  Both b;
  b.links.ActiveLink = EscLinks::kStm32;
  const uint8_t frame[] = {0xF3, 0x20};
  bool ok = false;
  const long long ms = elapsedMs([&] { ok = b.links.SendExpectAck(frame); });
  EXPECT_TRUE(ok);
  EXPECT_LT(ms, 500);  // STM32: write only, no acknowledgement awaited
  EXPECT_EQ(b.stPeer.collect(50), (Bytes{0xF3, 0x20}));
  EXPECT_TRUE(b.cpPeer.collect(20).empty());

  b.links.ActiveLink = EscLinks::kCp210x;
  b.cpPeer.serve(true, [](Bytes& p) -> std::optional<PeerReply> { return PeerReply{{p.back() == 0xD4 ? uint8_t{0xD5} : uint8_t{0}}}; });
  EXPECT_TRUE(b.links.SendCommand(0xD4));
  EXPECT_EQ(b.links.ReceiveReply(1, 500), ReceiveResult::Complete);
  EXPECT_EQ(b.links.ReplyBuffer[0], 0xD5);
  b.cpPeer.stop();
  EXPECT_TRUE(b.stPeer.collect(20).empty());
}

}  // namespace
}  // namespace orx
