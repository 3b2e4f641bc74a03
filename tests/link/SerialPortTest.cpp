// The termios backend over a real pseudo-terminal: time limits, short reads,
// rates, purges and a device that goes away.
#include <gtest/gtest.h>

#include <fstream>

#include "PtyPeer.h"
#include "link/PosixSerialPort.h"

namespace orx {
namespace {

using test::Bytes;
using test::elapsedMs;
using test::PtyPeer;

struct OpenPort {
  PtyPeer peer;
  std::unique_ptr<PosixSerialPort> port = PosixSerialPort::open(peer.slavePath());
};

TEST(PosixSerialPort, ReadsWholeRepliesAndShortOnesWithinTheLimit) {
  OpenPort p;
  ASSERT_TRUE(p.port);
  ASSERT_TRUE(p.port->configure(9600));
  uint8_t buf[3] = {};
  p.peer.send({1, 2, 3});
  PortRead r = p.port->read(buf, 500);
  EXPECT_EQ(r.status, ReadStatus::Complete);
  EXPECT_EQ(r.count, 3u);
  EXPECT_EQ(buf[2], 3);

  p.peer.send({9});
  long long ms = elapsedMs([&] { r = p.port->read(std::span<uint8_t>(buf, 2), 100); });
  EXPECT_EQ(r.status, ReadStatus::Short);
  EXPECT_TRUE(r.succeeded());
  EXPECT_EQ(r.count, 1u);
  EXPECT_EQ(buf[0], 9);
  EXPECT_GE(ms, 95);
  EXPECT_LT(ms, 300);
}

TEST(PosixSerialPort, SilenceTimesOutAtTheLimit) {
  OpenPort p;
  ASSERT_TRUE(p.port);
  uint8_t buf[1] = {};
  PortRead r;
  const long long ms = elapsedMs([&] { r = p.port->read(buf, 300); });
  EXPECT_EQ(r.status, ReadStatus::TimedOut);
  EXPECT_FALSE(r.succeeded());
  EXPECT_GE(ms, 295);
  EXPECT_LT(ms, 500);
}

TEST(PosixSerialPort, AnyRateReachesTheOtherEnd) {
  OpenPort p;
  ASSERT_TRUE(p.port);
  for (int baud : {9600, 1200, 256000, 31250, 19200}) {
    EXPECT_TRUE(p.port->configure(baud));
    EXPECT_EQ(p.peer.slaveBaud(), baud);
  }
  EXPECT_FALSE(p.port->configure(0));
  EXPECT_EQ(p.peer.slaveBaud(), 19200);
}

TEST(PosixSerialPort, WritesReachThePeerAndPurgeDropsStaleInput) {
  OpenPort p;
  ASSERT_TRUE(p.port);
  ASSERT_TRUE(p.port->configure(9600));
  const uint8_t out[] = {0xD1, 0x00, 0xFF};
  EXPECT_TRUE(p.port->write(out));
  EXPECT_EQ(p.peer.collect(100), (Bytes{0xD1, 0x00, 0xFF}));

  p.peer.send({0xAA, 0xBB});
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(p.port->purge(PurgeWhat::Receive));
  p.peer.send({0x11});
  uint8_t buf[2] = {};
  const PortRead r = p.port->read(buf, 100);
  EXPECT_EQ(r.count, 1u);
  EXPECT_EQ(buf[0], 0x11);
  EXPECT_TRUE(p.port->purge(PurgeWhat::Transmit));
  EXPECT_TRUE(p.port->purge(PurgeWhat::Both));
}

TEST(PosixSerialPort, UnpluggedDeviceFailsAtOnce) {
  OpenPort p;
  ASSERT_TRUE(p.port);
  p.peer.unplug();
  const uint8_t out[] = {0xD4};
  bool wrote = true;
  long long ms = elapsedMs([&] { wrote = p.port->write(out); });
  EXPECT_FALSE(wrote);
  EXPECT_LT(ms, 100);

  uint8_t buf[4] = {};
  PortRead r;
  ms = elapsedMs([&] { r = p.port->read(buf, 1000); });
  EXPECT_EQ(r.status, ReadStatus::Failed);
  EXPECT_LT(ms, 100);
  p.port->purge(PurgeWhat::Both);  // whatever it returns, it must not crash
}

TEST(PosixSerialPort, OnlyTerminalsOpen) {
  EXPECT_EQ(PosixSerialPort::open("/nonexistent/ttyUSB0"), nullptr);
  const std::string file = testing::TempDir() + "orx_not_a_tty";
  std::ofstream(file) << "x";
  EXPECT_EQ(PosixSerialPort::open(file), nullptr);
}

}  // namespace
}  // namespace orx
