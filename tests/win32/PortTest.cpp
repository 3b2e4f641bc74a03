// The Win32 backend against the simulated CP210x line through a wine COM port.
// At 4800 baud the simulated ESC (at 9600) hears only noise, so the line's
// echo is the whole answer: a peer that returns exactly what was written.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "PeerPorts.h"
#include "link/Win32SerialPort.h"

namespace orx {
namespace {

template <class F>
long long elapsedMs(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

std::unique_ptr<Win32SerialPort> echoLine() {
  auto port = Win32SerialPort::open(test::peerPort(test::kCp210xPeer));
  if (port && port->configure(4800)) port->purge(PurgeWhat::Both);
  return port;
}

TEST(Win32SerialPort, ReadsWholeAndShortRepliesWithinTheLimit) {
  auto port = echoLine();
  ASSERT_TRUE(port);
  const uint8_t out[] = {0x11, 0x22, 0x33};
  ASSERT_TRUE(port->write(out));
  uint8_t back[3] = {};
  PortRead r = port->read(back, 1000);
  EXPECT_EQ(r.status, ReadStatus::Complete);
  EXPECT_EQ(std::vector<uint8_t>(back, back + 3), std::vector<uint8_t>(out, out + 3));

  ASSERT_TRUE(port->write(std::span<const uint8_t>(out, 1)));
  const long long ms = elapsedMs([&] { r = port->read(std::span<uint8_t>(back, 2), 200); });
  EXPECT_EQ(r.status, ReadStatus::Short);
  EXPECT_EQ(r.count, 1u);
  EXPECT_EQ(back[0], 0x11);
  EXPECT_GE(ms, 190);
  EXPECT_LT(ms, 1000);
}

TEST(Win32SerialPort, SilenceTimesOutAndPurgeDropsWhatWaited) {
  auto port = echoLine();
  ASSERT_TRUE(port);
  uint8_t in[1] = {};
  PortRead r;
  const long long ms = elapsedMs([&] { r = port->read(in, 300); });
  EXPECT_EQ(r.status, ReadStatus::TimedOut);
  EXPECT_GE(ms, 290);
  EXPECT_LT(ms, 1000);

  const uint8_t out[] = {0x44, 0x55};
  ASSERT_TRUE(port->write(out));
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_TRUE(port->purge(PurgeWhat::Receive));
  EXPECT_EQ(port->read(in, 200).status, ReadStatus::TimedOut);
}

// The open takes no sharing, but wine lets a second open of a COM port through
// whatever the sharing asked, so exclusivity is left to real Windows.
TEST(Win32SerialPort, AnAbsentPortIsNamedAndAnyPositiveRateIsTaken) {
  auto port = echoLine();
  ASSERT_TRUE(port);
  int error = 0;
  EXPECT_EQ(Win32SerialPort::open("\\\\.\\COM99", &error), nullptr);
  EXPECT_EQ(error, ENOENT);
  for (int baud : {1200, 9600, 19200, 256000}) EXPECT_TRUE(port->configure(baud)) << baud;
  EXPECT_FALSE(port->configure(0));
}

}  // namespace
}  // namespace orx
