// The NVQ series ESC as the program meets it on the line.
#include <gtest/gtest.h>

#include <thread>
#include <unistd.h>

#include "SimFixture.h"
#include "tools/LogRecord.h"

namespace orx::simtest {
namespace {

using namespace std::chrono_literals;

sim::NvqConfig nvqWithVersion(std::uint8_t second, std::uint8_t third) {
  sim::NvqConfig config;
  config.version = {0x01, second, third};
  return config;
}

TEST(NvqSim, AnswersPingIdentifyAndMcuId) {
  sim::NvqConfig config;
  config.letter = 'D';
  config.version = {0x01, 0x03, 0x05};
  auto esc = startSim(config);
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  EXPECT_EQ(line.exchange({0xD4}, 2), (Bytes{'S', 'T'}));
  EXPECT_EQ(line.exchange({0xD7}, 4), (Bytes{0x44, 0x01, 0x03, 0x05}));
  const Bytes mcu = line.exchange({0xDA, 0xD2}, 10);
  ASSERT_EQ(mcu.size(), 10u);
  EXPECT_NE(mcu[9], 0);
  // No echo on this line: nothing follows a reply.
  EXPECT_TRUE(line.read(1, 100).empty());
  EXPECT_EQ(esc->exportLine(), "ORX_VIRTUAL_PORTS='VID_0483&PID_5740=" + esc->path() + "'");
}

TEST(NvqSim, VersionBytesChooseTheBlockLayout) {
  struct Case {
    std::uint8_t second, third;
    std::size_t count, replyLength;
  };
  // 2/0x15 short (count byte + 41), 2/0x16 and 3/anything extended (44 in all)
  for (const Case c : {Case{2, 0x15, 41, 42}, Case{2, 0x16, 44, 44}, Case{3, 0x00, 44, 44}}) {
    auto esc = startSim(nvqWithVersion(c.second, c.third));
    PtyClient line;
    ASSERT_TRUE(line.open(esc->path()));
    EXPECT_EQ(line.exchange({0xDF}, 1), Bytes{static_cast<std::uint8_t>(c.count)});
    const Bytes block = line.exchange({0xD0}, c.replyLength + 1, 300);
    ASSERT_EQ(block.size(), c.replyLength) << int(c.second) << "/" << int(c.third);
    const std::size_t countAt = c.replyLength == 44 ? 1 : 0;
    EXPECT_EQ(block[countAt], c.count);
    // The sum closes the block: data bytes add up to the last byte.
    unsigned sum = 0;
    for (std::size_t i = countAt + 1; i + 1 < block.size(); ++i) sum += block[i];
    EXPECT_EQ(static_cast<std::uint8_t>(sum), block.back());
  }
}

TEST(NvqSim, ExtendedWriteIsAcknowledgedWithItsSumAndReadBack) {
  auto esc = startSim(sim::NvqConfig{});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  Bytes frame = line.exchange({0xD0}, 44);
  ASSERT_EQ(frame.size(), 44u);
  const std::uint8_t firstByte = frame[0];
  frame[0] = 0xD1;
  frame[2 + 5] = 2;   // drive frequency
  frame[2 + 38] = 9;  // CAN node 9
  frame.back() = frameSum(frame);
  EXPECT_EQ(line.exchange(frame, 1), Bytes{frame.back()});
  const Bytes back = line.exchange({0xD0}, 44);
  ASSERT_EQ(back.size(), 44u);
  EXPECT_EQ(back[0], firstByte);  // the ESC's own header byte stays
  EXPECT_EQ(back[7], 2);
  EXPECT_EQ(back[40], 9);
  EXPECT_EQ(back.back(), frame.back());
}

TEST(NvqSim, ShortWriteIsAcknowledgedWithOne) {
  auto esc = startSim(nvqWithVersion(2, 0x15));
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  const Bytes block = line.exchange({0xD0}, 42);
  ASSERT_EQ(block.size(), 42u);
  Bytes frame{0xD1};
  frame.insert(frame.end(), block.begin(), block.end());  // 0xD1, count, d[0..39], sum
  frame[2 + 0] = 1;                                       // propeller hold on
  frame.back() = frameSum(frame);
  ASSERT_EQ(frame.size(), 43u);
  EXPECT_EQ(line.exchange(frame, 1), Bytes{1});
  const Bytes back = line.exchange({0xD0}, 42);
  ASSERT_EQ(back.size(), 42u);
  EXPECT_EQ(back[1], 1);
  EXPECT_EQ(back.back(), frame.back());
}

TEST(NvqSim, RestoreDefaultsBringsBackTheFactoryBlock) {
  auto esc = startSim(sim::NvqConfig{});
  const Bytes factory = esc->withNvq([](sim::NvqEsc& m) { return m.factory(); });
  Bytes changed = factory;
  changed[2] = 1;
  sim::sealBlock(changed, sim::BlockLayout::Extended);
  esc->withNvq([&](sim::NvqEsc& m) { m.setBlock(changed); });
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  EXPECT_EQ(line.exchange({0xD0}, 44), changed);
  EXPECT_EQ(line.exchange({0xDE}, 1), Bytes{1});
  EXPECT_EQ(line.exchange({0xD0}, 44), factory);
}

TEST(NvqSim, LongBlockCarriesCurrentSensorHalfFloats) {
  sim::NvqConfig config;
  config.blockCount = 49;
  auto esc = startSim(config);
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  EXPECT_EQ(line.exchange({0xDF}, 1), Bytes{49});
  const Bytes block = line.exchange({0xD0}, 49);
  ASSERT_EQ(block.size(), 49u);
  EXPECT_EQ(block[1], 49);
  EXPECT_EQ(block[44], 0x4C);
  EXPECT_EQ(block[45], 0x60);
  EXPECT_EQ(block[46], 0x4D);
  EXPECT_EQ(block[47], 0x66);
}

TEST(NvqSim, BlockLengthReplyCanBeZero) {
  sim::NvqConfig config;
  config.blockLengthReply = 0;
  auto esc = startSim(config);
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  EXPECT_EQ(line.exchange({0xDF}, 1), Bytes{0});
  EXPECT_EQ(line.exchange({0xD0}, 44).size(), 44u);  // the block itself is still served
}

TEST(NvqSim, UseTimeReadsMinutesAndHoursAndResets) {
  sim::NvqConfig config;
  config.useTimeMinutes = 300 * 60 + 7;  // 300 h needs the second hours byte
  auto esc = startSim(config);
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  EXPECT_EQ(line.exchange({0xDA, 0xD3}, 3), (Bytes{7, 300 & 0xFF, 300 >> 8}));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(line.exchange({0xDA, 0xC1, 0xD1, 0xE1}, 1), Bytes{1});
  EXPECT_EQ(line.exchange({0xDA, 0xD3}, 3), (Bytes{0, 0, 0}));
  EXPECT_EQ(esc->withNvq([](sim::NvqEsc& m) { return m.useTimeMinutes(); }), 0u);
}

TEST(NvqSim, LogPagesCarryDataPageNumbersAndEndMarker) {
  sim::NvqConfig config;
  config.log.bytes = 253 * 3 + 11 * 5;  // the marker lands in record 5 of page 3
  auto esc = startSim(config);
  const Bytes memory = esc->withNvq([](sim::NvqEsc& m) { return m.logMemory(); });
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  const Bytes first = line.exchange({0xEA, 0xF0}, 257);
  ASSERT_EQ(first.size(), 257u);
  EXPECT_TRUE(std::equal(first.begin(), first.begin() + 253, memory.begin()));
  for (unsigned p = 1; p <= 3; ++p) {
    const Bytes page = line.exchange({0xEA, 0xF1}, 256);
    ASSERT_EQ(page.size(), 256u);
    EXPECT_EQ(page[253], p);
    EXPECT_TRUE(std::equal(page.begin(), page.begin() + 253, memory.begin() + 253 * p));
  }
  // page 3 holds the end marker after five records
  const Bytes repeat = line.exchange({0xEA, 0xF2}, 256);
  ASSERT_EQ(repeat.size(), 256u);
  EXPECT_EQ(repeat[253], 3);
  EXPECT_TRUE(sim::isEndMarker(repeat.data() + 55));
  EXPECT_FALSE(sim::isEndMarker(repeat.data() + 44));
  EXPECT_EQ(line.exchange({0xEA, 0xF3}, 1).size(), 1u);
  // after the end of a transfer the next download starts afresh
  line.exchange({0xEA, 0xF0}, 257);
  EXPECT_EQ(line.exchange({0xEA, 0xF1}, 256).at(253), 1);
}

TEST(NvqSim, FullLogRunsThroughPage255WithoutMarker) {
  sim::NvqConfig config;
  config.log.bytes = sim::kLogMemorySize;
  sim::NvqEsc model(config);
  const Bytes& memory = model.logMemory();
  sim::Output out;
  const auto now = sim::Clock::now();
  model.onByte(0xEA, 9600, now, out);
  model.onByte(0xF0, 9600, now, out);
  for (unsigned p = 1; p < 256; ++p) {
    model.onByte(0xEA, 9600, now, out);
    model.onByte(0xF1, 9600, now, out);
  }
  ASSERT_EQ(out.bytes.size(), 257u + 255u * 256u);
  const std::uint8_t* last = out.bytes.data() + 257 + 254 * 256;
  EXPECT_EQ(last[253], 255);
  EXPECT_TRUE(std::equal(last, last + 253, memory.begin() + 253 * 255));
}

TEST(NvqSim, ClearLogLeavesOnlyTheEndMarker) {
  auto esc = startSim(sim::NvqConfig{});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  EXPECT_FALSE(startsWithEndMarker(line.exchange({0xEA, 0xF0}, 257)));
  EXPECT_EQ(line.exchange({0xDA, 0xD1}, 1), Bytes{0x01});
  const Bytes first = line.exchange({0xEA, 0xF0}, 257);
  ASSERT_EQ(first.size(), 257u);
  EXPECT_TRUE(startsWithEndMarker(first));
}

TEST(NvqSim, BootLoaderFrameMakesThePortVanishAndComeBack) {
  auto esc = startSim(sim::NvqConfig{});
  esc->setReappearAfterLeavingMs(150);
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  ASSERT_TRUE(line.write({0xD6, 0xD7}));
  line.read(1, 300);
  EXPECT_TRUE(line.hungUp());
  EXPECT_NE(::access(esc->path().c_str(), F_OK), 0);
  line.close();
  for (int i = 0; i < 100 && !esc->present(); ++i) std::this_thread::sleep_for(10ms);
  ASSERT_TRUE(esc->present());
  ASSERT_TRUE(line.open(esc->path()));
  EXPECT_EQ(line.exchange({0xD4}, 2), (Bytes{'S', 'T'}));
}

TEST(NvqSim, VanishAndPlugBackByHand) {
  auto esc = startSim(sim::NvqConfig{});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  esc->vanish();
  EXPECT_FALSE(esc->present());
  EXPECT_NE(::access(esc->path().c_str(), F_OK), 0);
  line.read(1, 200);
  EXPECT_TRUE(line.hungUp());
  ASSERT_TRUE(esc->plugBack());
  ASSERT_TRUE(line.open(esc->path()));
  EXPECT_EQ(line.exchange({0xD7}, 4).at(0), 0x44);
}

TEST(NvqSim, IncompleteCommandIsDroppedAfterAPause) {
  auto esc = startSim(sim::NvqConfig{});
  PtyClient line;
  ASSERT_TRUE(line.open(esc->path()));
  ASSERT_TRUE(line.write({0xDA}));
  std::this_thread::sleep_for(400ms);
  // 0xD3 alone is nothing; a following ping is answered normally
  EXPECT_TRUE(line.exchange({0xD3}, 3, 200).empty());
  EXPECT_EQ(line.exchange({0xD4}, 2), (Bytes{'S', 'T'}));
  // garbage before a command does not hide it
  EXPECT_EQ(line.exchange({0x00, 0x55, 0xD4}, 2), (Bytes{'S', 'T'}));
}

}  // namespace
}  // namespace orx::simtest
