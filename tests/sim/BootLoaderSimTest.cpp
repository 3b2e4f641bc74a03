// The serial boot loader of the CP210x-connected ESC: handshake, block
// acknowledgements, injected refusals, and the application it starts.
#include <gtest/gtest.h>

#include <thread>

#include "SimFixture.h"

namespace orx::simtest {
namespace {

using namespace std::chrono_literals;
using Esc = sim::Cp210xEsc;

// Sends one byte and returns what follows its echo within `ms`.
Bytes answerTo(PtyClient& line, std::uint8_t byte, int ms = 1000) {
  const Bytes got = line.exchange({byte}, 2, ms);
  if (got.empty() || got[0] != byte) return {0xEE, 0xEE};  // not even the echo
  return Bytes(got.begin() + 1, got.end());
}

// Sends a block (echo consumed) and returns the answer bytes.
Bytes sendBlock(PtyClient& line, const Bytes& block, int ms = 1000) {
  const Bytes got = line.exchange(block, block.size() + 1, ms);
  if (got.size() < block.size()) return {0xEE, 0xEE};
  return Bytes(got.begin() + static_cast<std::ptrdiff_t>(block.size()), got.end());
}

Bytes makeBlock(std::size_t payload, std::uint8_t fill) {
  Bytes block{static_cast<std::uint8_t>(payload >> 8), static_cast<std::uint8_t>(payload & 0xFF)};
  for (std::size_t i = 0; i < payload; ++i) block.push_back(static_cast<std::uint8_t>(fill + i));
  return block;
}

// The program's handshake: 0xD6 three times, 0xD7 until 0xD8, 0xD6 until 0xD7.
void handshake(PtyClient& line) {
  for (int i = 0; i < 3; ++i) answerTo(line, 0xD6, 150);  // the first one gets no answer
  ASSERT_EQ(answerTo(line, 0xD7), Bytes{0xD8});
  ASSERT_EQ(answerTo(line, 0xD6), Bytes{0xD7});
}

TEST(BootLoaderSim, BootRequestIsSilentFromTheApplicationThenAnswered) {
  auto esc = startSim(sim::Cp210xConfig{});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  EXPECT_TRUE(answerTo(line, 0xD6, 150).empty());
  EXPECT_EQ(esc->withCp210x([](Esc& m) { return m.mode(); }), Esc::Mode::BootLoader);
  EXPECT_EQ(answerTo(line, 0xD6), Bytes{0xD7});
  // the loader does not answer the application's ping
  EXPECT_TRUE(answerTo(line, 0xD4, 150).empty());
}

TEST(BootLoaderSim, TransferKeepsTheImageAndStartsTheNewApplication) {
  auto esc = startSim(sim::Cp210xConfig{});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  handshake(line);
  const Bytes a = makeBlock(256, 0x10);
  const Bytes b = makeBlock(300, 0x40);
  const Bytes c = makeBlock(0, 0);
  for (const Bytes* block : {&a, &b, &c}) EXPECT_EQ(sendBlock(line, *block), Bytes{0x11});
  // the program's ping after the update reaches the new application
  EXPECT_EQ(answerTo(line, 0xD4, 500).at(0), 0xD5);
  Bytes image = a;
  image.insert(image.end(), b.begin(), b.end());
  image.insert(image.end(), c.begin(), c.end());
  EXPECT_EQ(esc->withCp210x([](Esc& m) { return m.firmwareImage(); }), image);
  EXPECT_EQ(esc->withCp210x([](Esc& m) { return m.mode(); }), Esc::Mode::Application);
}

TEST(BootLoaderSim, InjectedRepliesForOneBlockThenAccepted) {
  auto esc = startSim(sim::Cp210xConfig{});
  esc->setBootBlockReplies(1, {0x33, 0x33, 0x33});
  esc->setBootBlockReplies(2, {-1});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  handshake(line);
  const Bytes first = makeBlock(20, 1);
  const Bytes second = makeBlock(30, 2);
  const Bytes third = makeBlock(40, 3);
  EXPECT_EQ(sendBlock(line, first), Bytes{0x11});
  for (int i = 0; i < 3; ++i) EXPECT_EQ(sendBlock(line, second), Bytes{0x33}) << i;
  EXPECT_EQ(sendBlock(line, second), Bytes{0x11});
  EXPECT_TRUE(sendBlock(line, third, 200).empty());  // no answer at all
  EXPECT_EQ(sendBlock(line, third), Bytes{0x11});
  // refused attempts are not part of the image
  EXPECT_EQ(esc->withCp210x([](Esc& m) { return m.bootLoaderReceived().size(); }),
            first.size() + second.size() + third.size());
}

TEST(BootLoaderSim, ChecksumErrorForAChosenBlock) {
  auto esc = startSim(sim::Cp210xConfig{});
  esc->setBootBlockReplies(0, {0x12});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  handshake(line);
  EXPECT_EQ(sendBlock(line, makeBlock(16, 9)), Bytes{0x12});
  EXPECT_EQ(esc->withCp210x([](Esc& m) { return m.bootLoaderReceived().size(); }), 0u);
}

TEST(BootLoaderSim, SilentSyncUntilTheFaultIsUsedUp) {
  auto esc = startSim(sim::Cp210xConfig{});
  esc->addFault({sim::Command::BootSync, sim::FaultKind::Silence, 2, 0});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  answerTo(line, 0xD6, 100);
  EXPECT_TRUE(answerTo(line, 0xD7, 100).empty());
  EXPECT_TRUE(answerTo(line, 0xD7, 100).empty());
  EXPECT_EQ(answerTo(line, 0xD7), Bytes{0xD8});
}

TEST(BootLoaderSim, MissingApplicationWaitsInTheLoader) {
  sim::Cp210xConfig config;
  config.applicationMissing = true;
  auto esc = startSim(config);
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  EXPECT_TRUE(answerTo(line, 0xD4, 150).empty());
  EXPECT_EQ(answerTo(line, 0xD6), Bytes{0xD7});  // the repair-mode poll finds it
  esc->withCp210x([](Esc& m) { m.powerCycle(); });
  EXPECT_EQ(esc->withCp210x([](Esc& m) { return m.mode(); }), Esc::Mode::BootLoader);
}

TEST(BootLoaderSim, PartialBlockIsDroppedAfterAPause) {
  sim::Cp210xEsc model;
  sim::Output out;
  auto now = sim::Clock::now();
  for (std::uint8_t b : {0xD6, 0xD6, 0xD7, 0xD6}) model.onByte(b, 9600, now, out);
  ASSERT_EQ(model.bootStep(), sim::SerialBootLoader::Step::Transfer);
  out.bytes.clear();
  for (std::uint8_t b : {0x00, 0x04, 0xAA}) model.onByte(b, 9600, now, out);  // 3 of 6 bytes
  now += 1500ms;
  const Bytes block = makeBlock(4, 7);
  for (std::uint8_t b : block) model.onByte(b, 9600, now, out);
  ASSERT_EQ(out.bytes.size(), 3u + block.size() + 1);  // echoes, then one answer
  EXPECT_EQ(out.bytes.back(), 0x11);
  EXPECT_EQ(model.bootLoaderReceived(), block);
  // the transfer ends by itself after a long silence
  model.onIdle(now + 4s);
  EXPECT_EQ(model.mode(), Esc::Mode::Application);
  EXPECT_EQ(model.firmwareImage(), block);
}

}  // namespace
}  // namespace orx::simtest
