// The STM32 link: no echo, replies of known length, fixed time limits.
#include <gtest/gtest.h>

#include "PtyPeer.h"
#include "link/ST32UsbUart.h"
#include "link/UsbIds.h"

namespace orx {
namespace {

using test::Bytes;
using test::elapsedMs;
using test::PeerReply;
using test::PtyPeer;

struct Port {
  PtyPeer peer;
  ST32UsbUart link{fixedPathOpener(peer.slavePath())};
};

TEST(St32UsbUart, AlwaysOpensAt9600) {
  Port p;
  ASSERT_EQ(p.link.OpenLink(kStm32Id), 0);
  EXPECT_EQ(p.peer.slaveBaud(), 9600);
  EXPECT_EQ(p.link.receiveBuffer().size(), 257u);
}

TEST(St32UsbUart, ExchangeDropsStaleBytesAndReadsTheReply) {
  Port p;
  ASSERT_EQ(p.link.OpenLink(kStm32Id), 0);
  p.peer.send({0x99, 0x98});
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  p.peer.serve(false, [](Bytes& pending) -> std::optional<PeerReply> {
    if (pending.back() != 0xD4) return std::nullopt;
    return PeerReply{{'S', 'T'}, 10};
  });
  EXPECT_TRUE(p.link.Exchange(0xD4, 2));
  EXPECT_EQ(p.link.receiveBuffer()[0], 'S');
  EXPECT_EQ(p.link.receiveBuffer()[1], 'T');
  EXPECT_EQ(p.link.bytesRead(), 2u);
}

TEST(St32UsbUart, SilentExchangeTakesItsLimitAndStillSucceeds) {
  Port p;
  ASSERT_EQ(p.link.OpenLink(kStm32Id), 0);
  bool written = false;
  const long long ms = elapsedMs([&] { written = p.link.Exchange(0xD7, 4); });
  EXPECT_TRUE(written);
  EXPECT_EQ(p.link.bytesRead(), 0u);
  EXPECT_GE(ms, 1595);
  EXPECT_LT(ms, 2000);
}

TEST(St32UsbUart, SilentFrameTakesItsLimit) {
  Port p;
  ASSERT_EQ(p.link.OpenLink(kStm32Id), 0);
  const uint8_t frame[] = {0xDA, 0xD2};
  bool written = false;
  const long long ms = elapsedMs([&] { written = p.link.ExchangeFrame(frame, 10); });
  EXPECT_TRUE(written);
  EXPECT_GE(ms, 2995);
  EXPECT_LT(ms, 3400);
}

TEST(St32UsbUart, FrameWithoutReplyOnlyWrites) {
  Port p;
  ASSERT_EQ(p.link.OpenLink(kStm32Id), 0);
  const uint8_t frame[] = {0xD6, 0xD7};
  bool written = false;
  const long long ms = elapsedMs([&] { written = p.link.ExchangeFrame(frame, 0); });
  EXPECT_TRUE(written);
  EXPECT_LT(ms, 500);
  EXPECT_EQ(p.peer.collect(50), (Bytes{0xD6, 0xD7}));
  EXPECT_TRUE(p.link.SendByte(0x42));
  EXPECT_EQ(p.peer.collect(50), Bytes{0x42});
}

TEST(St32UsbUart, UnpluggedEscFailsTheWriteAtOnce) {
  Port p;
  ASSERT_EQ(p.link.OpenLink(kStm32Id), 0);
  p.peer.unplug();
  bool written = true;
  const long long ms = elapsedMs([&] { written = p.link.Exchange(0xD4, 2); });
  EXPECT_FALSE(written);
  EXPECT_LT(ms, 500);
  const uint8_t frame[] = {0xEA, 0xF0};
  EXPECT_FALSE(p.link.ExchangeFrame(frame, 257));
  EXPECT_FALSE(p.link.SendByte(0xD4));
}

TEST(St32UsbUart, CycleTickCountsButNeverChangesTheRate) {
  Port p;
  ASSERT_EQ(p.link.OpenLink(kStm32Id), 0);
  std::vector<int> steps;
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(p.link.CycleTick(), 0);
    steps.push_back(p.link.BaudStep);
  }
  EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5, 6, 3, 4}));
  EXPECT_TRUE(p.link.isOpen());
  EXPECT_EQ(p.link.baud(), 9600);
  EXPECT_EQ(p.peer.slaveBaud(), 9600);
  p.link.DeviceState = 2;
  p.link.CycleTick();
  EXPECT_EQ(p.link.BaudStep, 0);
}

}  // namespace
}  // namespace orx
