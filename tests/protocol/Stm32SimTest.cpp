// The NVQ series transactions against the simulated ESC, found through the
// virtual-port lookup the program uses. The simulator was written apart from
// these functions, so frame layouts and sums are checked from both sides.
#include <gtest/gtest.h>

#include "link/UsbIds.h"
#include "protocol/BlockFrame.h"
#include "protocol/Stm32Protocol.h"
#include "tools/SimulatedEsc.h"

namespace orx {
namespace {

struct SimNvq {
  sim::SimulatedEsc esc;
  std::unique_ptr<ST32UsbUart> link;
  explicit SimNvq(sim::NvqConfig config = {}) : esc(config) {
    started = esc.start();
    DiscoveryRoots roots{"/nonexistent", "/dev", std::string(kStm32Id) + "=" + esc.path()};
    link = std::make_unique<ST32UsbUart>(systemPortOpener(roots));
    opened = link->OpenLink(kStm32Id) == 0;
  }
  bool started = false;
  bool opened = false;
};

// Identify, MCU id, length and block, as the settings read runs them.
void readAndCheck(SimNvq& s, bool extended, int count) {
  ASSERT_TRUE(s.started) << s.esc.error();
  ASSERT_TRUE(s.opened);
  EXPECT_EQ(stm32::Ping(*s.link), stm32::PingResult::Answered);
  const Stm32Identity id = stm32::Identify(*s.link);
  ASSERT_TRUE(id.answered);
  EXPECT_EQ(id.LayoutFlag, extended);
  EXPECT_TRUE(stm32::ReadMcuId(*s.link).has_value());
  const int length = stm32::BlockLength(*s.link, id.LayoutFlag);
  EXPECT_EQ(length, count);
  const stm32::BlockRead read = stm32::ReadBlock(*s.link, length);
  ASSERT_TRUE(read.written);
  ReceivedBlock kept = BlockFromReply(read.reply, id.LayoutFlag);
  ASSERT_EQ(kept.count, count);

  // Change the first data byte and send the block back: the simulator checks
  // the count and the sum and keeps what it was sent.
  const size_t d0 = id.LayoutFlag ? 2 : 0;
  kept.block[d0] ^= 0x01;
  const auto frame = WriteBlockFrame(kept.block, kept.count, id.LayoutFlag);
  EXPECT_EQ(stm32::WriteBlock(*s.link, frame, id.LayoutFlag), stm32::WriteBlockResult::Acknowledged);
  const ReceivedBlock back = BlockFromReply(stm32::ReadBlock(*s.link, length).reply, id.LayoutFlag);
  EXPECT_EQ(back.block[d0], kept.block[d0]);
}

TEST(Stm32AgainstSimulator, ExtendedLayoutReadWriteAndReadBack) {
  SimNvq s;  // "D.01.03.05"
  readAndCheck(s, true, 44);
}

TEST(Stm32AgainstSimulator, ShortLayoutReadWriteAndReadBack) {
  sim::NvqConfig config;
  config.version = {0x01, 0x02, 0x15};
  SimNvq s(config);
  readAndCheck(s, false, 41);
}

TEST(Stm32AgainstSimulator, ZeroBlockLengthKeepsTheDefault) {
  sim::NvqConfig config;
  config.version = {0x01, 0x02, 0x16};
  config.blockLengthReply = 0;
  SimNvq s(config);
  ASSERT_TRUE(s.opened);
  const Stm32Identity id = stm32::Identify(*s.link);
  ASSERT_TRUE(id.LayoutFlag);
  EXPECT_EQ(stm32::BlockLength(*s.link, id.LayoutFlag), 44);
}

TEST(Stm32AgainstSimulator, ACorruptedFrameIsRefusedAndDefaultsConfirm) {
  SimNvq s;
  ASSERT_TRUE(s.opened);
  const Stm32Identity id = stm32::Identify(*s.link);
  ReceivedBlock kept = BlockFromReply(stm32::ReadBlock(*s.link, 44).reply, id.LayoutFlag);
  auto frame = WriteBlockFrame(kept.block, kept.count, id.LayoutFlag);
  frame.back() ^= 0xFF;
  EXPECT_EQ(stm32::WriteBlock(*s.link, frame, id.LayoutFlag), stm32::WriteBlockResult::Refused);
  EXPECT_TRUE(stm32::RestoreDefaults(*s.link));
}

TEST(Stm32AgainstSimulator, SilentIdentifyAndAVanishedEsc) {
  SimNvq s;
  ASSERT_TRUE(s.opened);
  s.esc.addFault({sim::Command::Identify, sim::FaultKind::Silence, 1});
  EXPECT_FALSE(stm32::Identify(*s.link).answered);
  EXPECT_TRUE(stm32::Identify(*s.link).answered);
  s.esc.vanish();
  EXPECT_EQ(stm32::Ping(*s.link), stm32::PingResult::LinkLost);
  s.link->Close();
  EXPECT_EQ(s.link->OpenLink(kStm32Id), 1);  // its path is gone: not present
}

TEST(Stm32AgainstSimulator, UseTimeAndLogCommandsReachTheEsc) {
  sim::NvqConfig config;
  config.useTimeMinutes = 3 * 60 + 7;
  SimNvq s(config);
  ASSERT_TRUE(s.opened);
  s.link->clearReceiveBuffer();
  EXPECT_TRUE(stm32::ReadUseTime(*s.link));
  EXPECT_EQ(s.link->bytesRead(), 3u);
  EXPECT_TRUE(stm32::ResetUseTime(*s.link));
  EXPECT_EQ(s.esc.withNvq([](sim::NvqEsc& m) { return m.useTimeMinutes(); }), 0u);
  EXPECT_TRUE(stm32::LogFirstPage(*s.link));
  EXPECT_EQ(s.link->bytesRead(), 257u);
  EXPECT_TRUE(stm32::LogNextPage(*s.link));
  EXPECT_EQ(s.link->bytesRead(), 256u);
  EXPECT_EQ(s.link->receiveBuffer()[253], 1);  // the page number
  EXPECT_TRUE(stm32::LogEndTransfer(*s.link));
  EXPECT_TRUE(stm32::ClearLog(*s.link));
  EXPECT_EQ(s.link->receiveBuffer()[0], 0x01);
}

}  // namespace
}  // namespace orx
