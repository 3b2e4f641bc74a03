// The NVQ series dialect against a scripted ESC on a pty (no echo).
#include <gtest/gtest.h>

#include <map>

#include "../link/PtyPeer.h"
#include "link/UsbIds.h"
#include "protocol/BlockFrame.h"
#include "protocol/Stm32Protocol.h"

namespace orx {
namespace {

using test::Bytes;
using test::elapsedMs;
using test::PeerReply;
using test::PtyPeer;

// Answers whole command frames by table; a frame not (yet) in the table waits
// for more bytes, up to four.
PtyPeer::Handler table(std::map<Bytes, Bytes> replies) {
  return [replies = std::move(replies)](Bytes& pending) -> std::optional<PeerReply> {
    const auto it = replies.find(pending);
    if (it != replies.end()) return PeerReply{it->second, 5};
    if (pending.size() >= 4) pending.clear();
    return std::nullopt;
  };
}

struct Nvq {
  PtyPeer peer;
  ST32UsbUart link{fixedPathOpener(peer.slavePath())};
  Nvq() { link.OpenLink(kStm32Id); }
};

TEST(Stm32Ping, OnlySTCountsAndALostWriteIsReported) {
  Nvq esc;
  esc.peer.serve(false, table({{{0xD4}, {'S', 'T'}}}));
  EXPECT_EQ(stm32::Ping(esc.link), stm32::PingResult::Answered);
  esc.peer.serve(false, table({{{0xD4}, {'S', 'X'}}}));
  EXPECT_EQ(stm32::Ping(esc.link), stm32::PingResult::Silent);
  esc.peer.unplug();
  EXPECT_EQ(stm32::Ping(esc.link), stm32::PingResult::LinkLost);
}

TEST(Stm32Identify, SilentEscIsNotAnswering) {
  Nvq esc;
  esc.link.receiveBuffer()[0] = 0x44;  // left from an earlier reply: must not count
  Stm32Identity id;
  const long long ms = elapsedMs([&] { id = stm32::Identify(esc.link); });
  EXPECT_FALSE(id.answered);
  EXPECT_TRUE(id.versionText.empty());
  EXPECT_GE(ms, 1595);
}

TEST(Stm32Identify, VersionBytesGiveTextAndLayout) {
  Nvq esc;
  esc.peer.serve(false, table({{{0xD7}, {0x44, 0x01, 0x02, 0x16}}}));
  Stm32Identity id = stm32::Identify(esc.link);
  EXPECT_TRUE(id.answered);
  EXPECT_EQ(id.hardwareCode, 0x44);
  EXPECT_EQ(id.versionText, "D.01.02.16");
  EXPECT_TRUE(id.LayoutFlag);

  esc.peer.serve(false, table({{{0xD7}, {0x44, 0x01, 0x02, 0x15}}}));
  id = stm32::Identify(esc.link);
  EXPECT_FALSE(id.LayoutFlag);
  EXPECT_EQ(id.versionText, "D.01.02.15");

  esc.peer.serve(false, table({{{0xD7}, {0x44, 0x00, 0x03, 0x00}}}));
  EXPECT_TRUE(stm32::Identify(esc.link).LayoutFlag);
}

TEST(Stm32Identify, AFirstByteOtherThan44IsNotAnswering) {
  Nvq esc;
  esc.peer.serve(false, table({{{0xD7}, {0x43, 0x01, 0x02, 0x16}}}));
  const Stm32Identity id = stm32::Identify(esc.link);
  EXPECT_FALSE(id.answered);
  EXPECT_EQ(id.hardwareCode, 0);
  EXPECT_TRUE(id.versionText.empty());
}

TEST(Stm32McuId, TextFromBytesEightToOneAndZeroByteNineFails) {
  Nvq esc;
  esc.peer.serve(false, table({{{0xDA, 0xD2}, {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99}}}));
  EXPECT_EQ(stm32::ReadMcuId(esc.link), std::optional<std::string>("88.77.66.55.44.33.22.11"));
  esc.peer.serve(false, table({{{0xDA, 0xD2}, {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x00}}}));
  EXPECT_EQ(stm32::ReadMcuId(esc.link), std::nullopt);
}

TEST(Stm32BlockLength, ZeroOrALostLinkKeepsTheDefault) {
  Nvq esc;
  esc.peer.serve(false, table({{{0xDF}, {0x00}}}));
  EXPECT_EQ(stm32::BlockLength(esc.link, false), 41);
  EXPECT_EQ(stm32::BlockLength(esc.link, true), 44);
  esc.peer.serve(false, table({{{0xDF}, {0x30}}}));
  EXPECT_EQ(stm32::BlockLength(esc.link, true), 0x30);
  esc.peer.unplug();
  EXPECT_EQ(stm32::BlockLength(esc.link, true), 44);
}

TEST(Stm32Block, ShortLayoutIsAcknowledgedWithOne) {
  Nvq esc;
  Bytes block(41, 3);
  const Bytes frame = WriteBlockFrame(block, 41, false);
  ASSERT_NE(frame.back(), 1);
  esc.peer.serve(false, [](Bytes& pending) -> std::optional<PeerReply> {
    if (pending.size() < 43) return std::nullopt;
    return PeerReply{{0x01}, 5};
  });
  EXPECT_EQ(stm32::WriteBlock(esc.link, frame, false), stm32::WriteBlockResult::Acknowledged);
  esc.peer.serve(false, [&](Bytes& pending) -> std::optional<PeerReply> {
    if (pending.size() < 43) return std::nullopt;
    return PeerReply{{frame.back()}, 5};
  });
  EXPECT_EQ(stm32::WriteBlock(esc.link, frame, false), stm32::WriteBlockResult::Refused);
  EXPECT_EQ(stm32::WriteBlock(esc.link, {}, false), stm32::WriteBlockResult::NothingToSend);
  esc.peer.unplug();
  EXPECT_EQ(stm32::WriteBlock(esc.link, frame, false), stm32::WriteBlockResult::WriteFailed);
}

TEST(Stm32Block, SilenceIsNotTakenForAZeroSum) {
  Nvq esc;
  const Bytes frame = WriteBlockFrame(Bytes(44, 0), 44, true);
  ASSERT_EQ(frame.back(), 0);
  EXPECT_EQ(stm32::WriteBlock(esc.link, frame, true), stm32::WriteBlockResult::Refused);
}

TEST(Stm32Defaults, OnlyOneConfirms) {
  Nvq esc;
  esc.peer.serve(false, table({{{0xDE}, {0x01}}}));
  EXPECT_TRUE(stm32::RestoreDefaults(esc.link));
  esc.peer.serve(false, table({{{0xDE}, {0x02}}}));
  EXPECT_FALSE(stm32::RestoreDefaults(esc.link));
}

TEST(Stm32ThinCommands, BootFrameOnlyWritesResetGoesThreeTimesAndPagesLeaveOldBytes) {
  Nvq esc;
  EXPECT_TRUE(stm32::EnterBootLoader(esc.link));
  EXPECT_EQ(esc.peer.collect(50), (Bytes{0xD6, 0xD7}));

  Bytes page(257);
  for (size_t i = 0; i < page.size(); ++i) page[i] = static_cast<uint8_t>(i + 1);
  Bytes next(page.begin(), page.begin() + 256);
  next[253] = 7;
  esc.peer.serve(false, table({{{0xDA, 0xC1, 0xD1, 0xE1}, {0x01}}, {{0xEA, 0xF0}, page}, {{0xEA, 0xF1}, next}}));
  const long long ms = elapsedMs([&] { EXPECT_TRUE(stm32::ResetUseTime(esc.link)); });
  EXPECT_GE(ms, 150);  // three waits of 50 ms
  EXPECT_LT(ms, 900);

  EXPECT_TRUE(stm32::LogFirstPage(esc.link));
  EXPECT_EQ(esc.link.receiveBuffer()[256], page[256]);
  EXPECT_TRUE(stm32::LogNextPage(esc.link));
  EXPECT_EQ(esc.link.receiveBuffer()[253], 7);
  EXPECT_EQ(esc.link.receiveBuffer()[256], page[256]);  // not part of the reply: left as it was
  esc.peer.stop();
  const Bytes wire = esc.peer.received();
  EXPECT_EQ(std::count(wire.begin(), wire.end(), 0xC1), 3);
}

}  // namespace
}  // namespace orx
