// The CP210x link against a peer that echoes like the single-wire line.
#include <gtest/gtest.h>

#include "PtyPeer.h"
#include "link/UsbIds.h"
#include "link/UsbUart.h"

namespace orx {
namespace {

using test::Bytes;
using test::elapsedMs;
using test::PeerReply;
using test::PtyPeer;

// Answers one command byte with `reply` (echo on).
PtyPeer::Handler answer(uint8_t command, Bytes reply, int delayMs = 0) {
  return [=](Bytes& pending) -> std::optional<PeerReply> {
    if (pending.back() != command) return std::nullopt;
    return PeerReply{reply, delayMs};
  };
}

struct Line {
  PtyPeer peer;
  int opens = 0;
  UsbUart link{[this](const std::string& search) {
    ++opens;
    return fixedPathOpener(peer.slavePath())(search);
  }};
};

TEST(UsbUartOpen, OpensAtItsBaudOnceAndFailsWithoutPort) {
  Line l;
  EXPECT_EQ(l.link.OpenLink(kCp210xId), 0);
  EXPECT_TRUE(l.link.isOpen());
  EXPECT_EQ(l.peer.slaveBaud(), 9600);
  EXPECT_EQ(l.link.OpenLink(kCp210xId), 0);
  EXPECT_EQ(l.opens, 1);  // already open: the port is not touched again

  UsbUart absent{[](const std::string&) { return std::unique_ptr<SerialPort>(); }};
  EXPECT_EQ(absent.OpenLink(kCp210xId), 1);
  EXPECT_FALSE(absent.isOpen());
}

TEST(UsbUartOpen, TheStm32IdOpensAt256000AndCloseClearsTheStates) {
  Line l;
  ASSERT_EQ(l.link.OpenLink(kStm32Id), 0);
  EXPECT_EQ(l.peer.slaveBaud(), 256000);
  EXPECT_EQ(l.link.baud(), 9600);  // the field itself is not changed
  l.link.AdapterState = 2;
  l.link.DeviceState = 2;
  l.link.Close();
  EXPECT_FALSE(l.link.isOpen());
  EXPECT_EQ(l.link.AdapterState, 0);
  EXPECT_EQ(l.link.DeviceState, 0);
}

TEST(UsbUartOpen, PurgesWhatWaitedBeforeTheOpen) {
  Line l;
  l.peer.send({0x55, 0x66});
  ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
  EXPECT_EQ(l.link.ReceiveReply(1, 100), ReceiveResult::Failed);
}

TEST(UsbUartExchange, EchoIsConsumedAndTheReplyRead) {
  Line l;
  ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
  l.peer.serve(true, answer(0xD4, {0xD5, 0x07}, 20));
  EXPECT_TRUE(l.link.SendByte(0xD4));
  EXPECT_EQ(l.link.ReceiveReply(2, 500), ReceiveResult::Complete);
  EXPECT_EQ(l.link.receiveBuffer()[0], 0xD5);
  EXPECT_EQ(l.link.receiveBuffer()[1], 0x07);
  EXPECT_EQ(l.peer.received(), Bytes{0xD4});
}

TEST(UsbUartExchange, OneByteOfTwoGivesShortAfterTheLimit) {
  Line l;
  ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
  l.peer.serve(true, answer(0xD4, {0xD5}));
  ASSERT_TRUE(l.link.SendByte(0xD4));
  ReceiveResult r = ReceiveResult::Complete;
  const long long ms = elapsedMs([&] { r = l.link.ReceiveReply(2, 50); });
  EXPECT_EQ(r, ReceiveResult::Short);
  EXPECT_EQ(static_cast<int>(r), 3);
  EXPECT_GE(ms, 45);
  EXPECT_LT(ms, 450);
}

TEST(UsbUartExchange, SilenceFailsAtTheLimitAndPurges) {
  Line l;
  ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
  ReceiveResult r = ReceiveResult::Complete;
  const long long ms = elapsedMs([&] { r = l.link.ReceiveReply(1, 300); });
  EXPECT_EQ(r, ReceiveResult::Failed);
  EXPECT_EQ(static_cast<int>(r), 2);
  EXPECT_GE(ms, 295);
  EXPECT_LT(ms, 700);
}

TEST(UsbUartExchange, CommandByteWithoutEchoWaitsTheEchoLimit) {
  Line l;
  ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
  bool sent = false;
  const long long ms = elapsedMs([&] { sent = l.link.SendByte(0xD7); });
  EXPECT_TRUE(sent);  // the echo's absence is not judged
  EXPECT_GE(ms, 995);
  EXPECT_LT(ms, 1400);
  EXPECT_EQ(l.peer.collect(50), Bytes{0xD7});
}

TEST(UsbUartExchange, OldReplyIsNotTakenForTheEcho) {
  Line l;
  ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
  l.peer.send({0x01});  // an acknowledgement nobody read
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  l.peer.serve(true, answer(0xA0, {0x09}, 20));
  ASSERT_TRUE(l.link.SendByte(0xA0));
  EXPECT_EQ(l.link.ReceiveReply(1, 500), ReceiveResult::Complete);
  EXPECT_EQ(l.link.receiveBuffer()[0], 0x09);
}

TEST(UsbUartAck, OnlyTheByteOneAcknowledges) {
  Line l;
  ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
  l.peer.serve(true, answer(0xDE, {0x01}, 10));
  EXPECT_TRUE(l.link.CommandExpectAck(0xDE));
  l.peer.serve(true, answer(0xDE, {0x02}, 10));
  EXPECT_FALSE(l.link.CommandExpectAck(0xDE));
  l.peer.serve(true, answer(0xDE, {0x00}, 10));
  EXPECT_FALSE(l.link.CommandExpectAck(0xDE));
}

TEST(UsbUartAck, SilentEscFailsAfterTheAckLimit) {
  Line l;
  ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
  l.peer.serve(true, nullptr);  // echo only
  bool acked = true;
  const long long ms = elapsedMs([&] { acked = l.link.CommandExpectAck(0xDE); });
  EXPECT_FALSE(acked);
  EXPECT_GE(ms, 1995);
  EXPECT_LT(ms, 2400);
}

TEST(UsbUartAck, FrameEchoIsReadBackBeforeTheAck) {
  Line l;
  ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
  auto frame = [](uint8_t ack) {
    return [ack](Bytes& pending) -> std::optional<PeerReply> {
      if (pending.size() < 2) return std::nullopt;
      return PeerReply{{ack}, 10};
    };
  };
  const uint8_t bytes[] = {0xF3, 0x01};  // the ack must not be confused with the echoed 0x01
  l.peer.serve(true, frame(0x01));
  EXPECT_TRUE(l.link.SendExpectAck(bytes));
  l.peer.serve(true, frame(0x05));
  EXPECT_FALSE(l.link.SendExpectAck(bytes));
  EXPECT_FALSE(l.link.lastWriteFailed());
}

TEST(UsbUartEcho, EchoInTwoPartsLeavesNothingBehind) {
  Line l;
  ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
  // The peer echoes the first half at once and the rest 200 ms later, then answers 0x11.
  l.peer.serve(false, [&](Bytes& pending) -> std::optional<PeerReply> {
    if (pending.size() < 6) return std::nullopt;
    l.peer.send(Bytes(pending.begin(), pending.begin() + 3));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    l.peer.send(Bytes(pending.begin() + 3, pending.end()));
    return PeerReply{{0x11}, 20};
  });
  const uint8_t block[] = {0x00, 0x04, 0xA1, 0xA2, 0xA3, 0xA4};
  EXPECT_TRUE(l.link.WriteEchoed(block));
  EXPECT_EQ(l.link.ReceiveReply(1, 500), ReceiveResult::Complete);
  EXPECT_EQ(l.link.receiveBuffer()[0], 0x11);
}

TEST(UsbUartEcho, EchoLongerThanTheBufferIsConsumedWithoutOverrun) {
  Line l;
  ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
  Bytes block(600);
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i * 7);
  l.peer.serve(true, [&](Bytes& pending) -> std::optional<PeerReply> {
    if (pending.size() < block.size()) return std::nullopt;
    return PeerReply{{0x11}, 20};
  });
  EXPECT_TRUE(l.link.WriteEchoed(block));
  EXPECT_EQ(l.link.receiveBuffer()[249], block[249]);
  EXPECT_EQ(l.link.ReceiveReply(1, 500), ReceiveResult::Complete);
  EXPECT_EQ(l.link.receiveBuffer()[0], 0x11);
}

TEST(UsbUartEcho, At1200BaudTheEchoWaitsASecond) {
  Line l;
  l.link.setBaud(1200);
  ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
  EXPECT_EQ(l.peer.slaveBaud(), 1200);
  l.peer.serve(true, nullptr);
  const uint8_t block[] = {0x00, 0x01, 0x42};
  bool written = false;
  const long long ms = elapsedMs([&] { written = l.link.WriteEchoed(block); });
  EXPECT_TRUE(written);
  EXPECT_GE(ms, 995);
  EXPECT_LT(ms, 1400);
}

TEST(UsbUartEcho, MissingEchoIsNotAFailure) {
  Line l;
  ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
  const uint8_t block[] = {0x00, 0x01, 0x42};
  bool written = false;
  const long long ms = elapsedMs([&] { written = l.link.WriteEchoed(block); });
  EXPECT_TRUE(written);
  EXPECT_GE(ms, 495);
  EXPECT_LT(ms, 900);
}

TEST(UsbUartBaudCycle, PeerSeesTwoGraceTicksThenTheFourRates) {
  Line l;
  std::vector<int> seen;
  std::vector<int> returned;
  for (int tick = 0; tick < 9; ++tick) {
    ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
    seen.push_back(l.peer.slaveBaud());
    returned.push_back(l.link.NextBaud());
  }
  // Steps 1, 2 grace; 3 selects 9600 (already in use); then 1200, 4800, 19200, 9600, 1200, 4800.
  EXPECT_EQ(seen, (std::vector<int>{9600, 9600, 9600, 9600, 1200, 4800, 19200, 9600, 1200}));
  EXPECT_EQ(returned, (std::vector<int>{0, 0, 0, 1200, 4800, 19200, 9600, 1200, 4800}));
  EXPECT_EQ(l.link.BaudStep, 5);
  EXPECT_FALSE(l.link.isOpen());  // closed by the last change
}

TEST(UsbUartBaudCycle, AnsweringEscKeepsTheRateThatWorked) {
  Line l;
  l.link.AdapterState = 2;
  l.link.DeviceState = 1;
  for (int tick = 0; tick < 4; ++tick) l.link.NextBaud();
  ASSERT_EQ(l.link.baud(), 1200);
  ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
  EXPECT_EQ(l.link.AdapterState, 2);  // a change of rate leaves the states alone
  l.link.DeviceState = 2;
  EXPECT_EQ(l.link.NextBaud(), 0);
  EXPECT_EQ(l.link.BaudStep, 0);
  EXPECT_EQ(l.link.baud(), 1200);
  EXPECT_TRUE(l.link.isOpen());
  EXPECT_EQ(l.peer.slaveBaud(), 1200);
}

TEST(UsbUartUnplug, WritesFailFastAndReadsFail) {
  Line l;
  ASSERT_EQ(l.link.OpenLink(kCp210xId), 0);
  l.peer.unplug();
  bool sent = true;
  long long ms = elapsedMs([&] { sent = l.link.SendByte(0xD4); });
  EXPECT_FALSE(sent);
  EXPECT_TRUE(l.link.lastWriteFailed());
  EXPECT_LT(ms, 500);
  ReceiveResult r = ReceiveResult::Complete;
  ms = elapsedMs([&] { r = l.link.ReceiveReply(2, 1000); });
  EXPECT_EQ(r, ReceiveResult::Failed);
  EXPECT_LT(ms, 500);
  const uint8_t frame[] = {0xF3, 0x01};
  EXPECT_FALSE(l.link.SendExpectAck(frame));
  EXPECT_FALSE(l.link.WriteEchoed(frame));
  l.link.Close();
  EXPECT_EQ(l.link.OpenLink(kCp210xId), 1);  // the pty is gone for good
}

}  // namespace
}  // namespace orx
