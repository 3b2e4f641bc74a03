// The termios backend over a real pseudo-terminal: time limits, short reads,
// rates, purges and a device that goes away.
#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <thread>

#include "PtyPeer.h"
#include "link/PosixSerialPort.h"
#include "link/StopWait.h"

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
  EXPECT_LT(ms, 500);
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
  EXPECT_LT(ms, 700);
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
  EXPECT_LT(ms, 500);

  uint8_t buf[4] = {};
  PortRead r;
  ms = elapsedMs([&] { r = p.port->read(buf, 1000); });
  EXPECT_EQ(r.status, ReadStatus::Failed);
  EXPECT_LT(ms, 500);
  p.port->purge(PurgeWhat::Both);  // whatever it returns, it must not crash
}

TEST(PosixSerialPortWrite, ASlowLineIsWaitedForBeyondTheStallLimit) {
  OpenPort p;
  ASSERT_TRUE(p.port);
  ASSERT_TRUE(p.port->configure(9600));
  const Bytes big(112 * 1024, 0x5A);
  std::atomic<bool> done{false};
  std::thread reader([&] {  // takes 8 KB every 500 ms: about 7 s in all, longer than the stall limit
    while (!done) {
      size_t taken = 0;
      uint8_t buf[4096];
      pollfd pfd{p.peer.masterFd(), POLLIN, 0};
      while (taken < 8 * 1024 && ::poll(&pfd, 1, 20) > 0) {
        const ssize_t n = ::read(p.peer.masterFd(), buf, std::min(sizeof buf, 8 * 1024 - taken));
        if (n <= 0) break;
        taken += static_cast<size_t>(n);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
  });
  bool wrote = false;
  const long long ms = elapsedMs([&] { wrote = p.port->write(big); });
  done = true;
  reader.join();
  EXPECT_TRUE(wrote);
  EXPECT_GT(ms, PosixSerialPort::kWriteStallMs);
}

TEST(PosixSerialPortWrite, AStuckLineFailsAfterTheStallLimit) {
  OpenPort p;
  ASSERT_TRUE(p.port);
  ASSERT_TRUE(p.port->configure(9600));
  const Bytes big(1024 * 1024, 0x5A);  // far more than the pty holds; nobody reads
  bool wrote = true;
  const long long ms = elapsedMs([&] { wrote = p.port->write(big); });
  EXPECT_FALSE(wrote);
  EXPECT_GE(ms, PosixSerialPort::kWriteStallMs - 5);
  // The pty sometimes takes a last few bytes late, which starts one more stall.
  EXPECT_LT(ms, 3 * PosixSerialPort::kWriteStallMs);
}

TEST(PosixSerialPort, AStopRequestEndsReadsAndWaitsAtOnce) {
  OpenPort p;
  ASSERT_TRUE(p.port);
  std::stop_source stop;
  p.port->watchStop(stop.get_token());
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    stop.request_stop();
  });
  uint8_t buf[1] = {};
  PortRead r;
  long long ms = elapsedMs([&] { r = p.port->read(buf, 5000); });
  stopper.join();
  EXPECT_EQ(r.status, ReadStatus::Stopped);
  EXPECT_LT(ms, 1000);
  // Once stopped, every later read and pause ends at once too.
  ms = elapsedMs([&] {
    r = p.port->read(buf, 5000);
    EXPECT_FALSE(SleepUnlessStopped(stop.get_token(), std::chrono::milliseconds(5000)));
  });
  EXPECT_EQ(r.status, ReadStatus::Stopped);
  EXPECT_LT(ms, 1000);
}

TEST(PosixSerialPort, OnlyTerminalsOpenAndAFailureSaysWhy) {
  int error = 0;
  EXPECT_EQ(PosixSerialPort::open("/nonexistent/ttyUSB0", &error), nullptr);
  EXPECT_EQ(error, ENOENT);
  const std::string file = testing::TempDir() + "orx_not_a_tty";
  std::ofstream(file) << "x";
  EXPECT_EQ(PosixSerialPort::open(file, &error), nullptr);
  EXPECT_EQ(error, ENOTTY);
  std::remove(file.c_str());
}

}  // namespace
}  // namespace orx
