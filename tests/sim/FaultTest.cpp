// Fault injection: every mode spoils exactly the replies it was asked for.
#include <gtest/gtest.h>

#include <unistd.h>

#include "SimFixture.h"

namespace orx::simtest {
namespace {

TEST(SimFaults, SilenceForAGivenNumberOfReplies) {
  auto esc = startSim(sim::NvqConfig{});
  esc->addFault({sim::Command::Ping, sim::FaultKind::Silence, 2, 0});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  EXPECT_TRUE(line.exchange({0xD4}, 2, 150).empty());
  EXPECT_TRUE(line.exchange({0xD4}, 2, 150).empty());
  EXPECT_EQ(line.exchange({0xD4}, 2), (Bytes{'S', 'T'}));
  // other commands were never affected
  EXPECT_EQ(line.exchange({0xD7}, 4).size(), 4u);
}

TEST(SimFaults, WrongReplyChangesTheFirstByte) {
  auto esc = startSim(sim::NvqConfig{});
  esc->addFault({sim::Command::Identify, sim::FaultKind::WrongReply, -1, 0});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  for (int i = 0; i < 2; ++i) {
    const Bytes reply = line.exchange({0xD7}, 4);
    ASSERT_EQ(reply.size(), 4u);
    EXPECT_NE(reply[0], 0x44);
  }
  esc->clearFaults();
  EXPECT_EQ(line.exchange({0xD7}, 4).at(0), 0x44);
}

TEST(SimFaults, ShortReplySendsHalf) {
  auto esc = startSim(sim::NvqConfig{});
  esc->addFault({sim::Command::ReadBlock, sim::FaultKind::ShortReply, 1, 0});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  EXPECT_EQ(line.exchange({0xD0}, 44, 300).size(), 22u);
  EXPECT_EQ(line.exchange({0xD0}, 44).size(), 44u);
}

TEST(SimFaults, WrongLogPageNumberIsServedAgain) {
  auto esc = startSim(sim::NvqConfig{});
  esc->addFault({sim::Command::LogNextPage, sim::FaultKind::WrongReply, 1, 0});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  line.exchange({0xEA, 0xF0}, 257);
  const Bytes spoiled = line.exchange({0xEA, 0xF1}, 256);
  ASSERT_EQ(spoiled.size(), 256u);
  EXPECT_NE(spoiled[253], 1);
  const Bytes again = line.exchange({0xEA, 0xF1}, 256);
  ASSERT_EQ(again.size(), 256u);
  EXPECT_EQ(again[253], 1);
  EXPECT_TRUE(std::equal(again.begin(), again.begin() + 253, spoiled.begin()));
}

TEST(SimFaults, RefusedBootLoaderJumpKeepsTheSerialPort) {
  auto esc = startSim(sim::NvqConfig{});
  esc->addFault({sim::Command::EnterBootLoader, sim::FaultKind::Silence, 1, 0});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  ASSERT_TRUE(line.write({0xD6, 0xD7}));
  EXPECT_TRUE(line.read(1, 150).empty());
  EXPECT_FALSE(line.hungUp());
  EXPECT_EQ(line.exchange({0xD4}, 2), (Bytes{'S', 'T'}));
  ASSERT_TRUE(line.write({0xD6, 0xD7}));  // the fault was for one jump only
  line.read(1, 500);
  EXPECT_TRUE(line.hungUp());
}

TEST(SimFaults, SpoiledFirstPageDoesNotHoldBackPageOne) {
  auto esc = startSim(sim::NvqConfig{});
  esc->addFault({sim::Command::LogFirstPage, sim::FaultKind::ShortReply, 1, 0});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  EXPECT_EQ(line.exchange({0xEA, 0xF0}, 257, 300).size(), 128u);
  EXPECT_EQ(line.exchange({0xEA, 0xF1}, 256).at(253), 1);
}

TEST(SimFaults, VanishAfterSomeBytesOfAReply) {
  auto esc = startSim(sim::NvqConfig{});
  esc->addFault({sim::Command::LogFirstPage, sim::FaultKind::Vanish, 1, 100});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  const Bytes partial = line.exchange({0xEA, 0xF0}, 257, 500);
  EXPECT_EQ(partial.size(), 100u);
  EXPECT_TRUE(line.hungUp());
  EXPECT_FALSE(esc->present());
  EXPECT_NE(::access(esc->path().c_str(), F_OK), 0);
  // an unplug by fault stays unplugged until plugged back
  ASSERT_TRUE(esc->plugBack());
  ASSERT_TRUE(line.open(esc->path()));
  EXPECT_EQ(line.exchange({0xEA, 0xF0}, 257).size(), 257u);
}

TEST(SimFaults, ReceivedKeepsWhatTheProgramWrote) {
  auto esc = startSim(sim::NvqConfig{});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  line.exchange({0xDA, 0xD3}, 3);
  line.exchange({0xD4}, 2);
  EXPECT_EQ(esc->received(), (Bytes{0xDA, 0xD3, 0xD4}));
  esc->clearReceived();
  EXPECT_TRUE(esc->received().empty());
}

}  // namespace
}  // namespace orx::simtest
