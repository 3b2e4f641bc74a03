// Protection records of an A/B firmware ESC on the CP210x line: reading,
// clearing with its "Success" box, silence, short replies, and the firmware
// letter check of the menu.
#include <gtest/gtest.h>

#include "EscRig.h"
#include "protocol/ProtectionsFlow.h"
#include "tools/SimulatedEsc.h"

namespace orx::test {
namespace {

using sim::Command;
using sim::Fault;
using sim::FaultKind;
using S = ProtectionState;

struct ProtectionsRig : EscRig<sim::Cp210xConfig> {
  explicit ProtectionsRig(std::array<uint8_t, 5> records = {0x00, 0xAA, 0x00, 0x00, 0x00})
      : EscRig(configWith(records)) {}
  static sim::Cp210xConfig configWith(std::array<uint8_t, 5> records) {
    sim::Cp210xConfig c;
    c.protections = records;
    return c;
  }
};

TEST(ProtectionStates, ActivatedOnlyForAaAndGreyWhereNothingCame) {
  EXPECT_EQ(ProtectionStatesFrom({0xAA, 0x00, 0xAB, 0xFF, 0xAA, 0xAA}),
            (ProtectionStates{S::Activated, S::Clear, S::Clear, S::Clear, S::Activated}));
  EXPECT_EQ(ProtectionStatesFrom({0xAA, 0x01}),
            (ProtectionStates{S::Activated, S::Clear, S::NotRead, S::NotRead, S::NotRead}));
  EXPECT_EQ(ProtectionStatesFrom({}), (ProtectionStates{}));
  EXPECT_EQ(ProtectionStates{}[0], S::NotRead);
}

TEST(ProtectionsMenu, OnlyFirmwareFamiliesAAndBOpenTheWindow) {
  EXPECT_TRUE(ProtectionsWindowAllowed("A.01.07.12"));
  EXPECT_TRUE(ProtectionsWindowAllowed("B"));
  EXPECT_FALSE(ProtectionsWindowAllowed("C.01.02.03"));
  EXPECT_FALSE(ProtectionsWindowAllowed("D.01.03.05"));
  EXPECT_FALSE(ProtectionsWindowAllowed(""));
  EXPECT_FALSE(ProtectionsWindowAllowed("a.01"));
  EXPECT_EQ(protectionsRefusedBox().text,
            "Error: This window is for reading the protections off firmware versions A and B. Make sure the device "
            "is connected");
  EXPECT_EQ(protectionsRefusedBox().caption, "ORX Device");
}

TEST(ProtectionsRead, ReportsEachRecordAndFillsTheProgress) {
  ProtectionsRig t;
  const ProtectionsRead r = runReadProtections(*t.session, t.host);
  EXPECT_TRUE(r.answered);
  EXPECT_EQ(r.bytes, (std::vector<uint8_t>{0x00, 0xAA, 0x00, 0x00, 0x00}));
  EXPECT_EQ(r.states, (ProtectionStates{S::Clear, S::Activated, S::Clear, S::Clear, S::Clear}));
  EXPECT_EQ(t.host.progress(), 100);
  EXPECT_EQ(t.host.periods, std::vector<int>{500});
}

TEST(ProtectionsRead, AllTrippedAndNoneTripped) {
  ProtectionsRig t({0xAA, 0xAA, 0xAA, 0xAA, 0xAA});
  EXPECT_EQ(runReadProtections(*t.session, t.host).states, (ProtectionStates{
      S::Activated, S::Activated, S::Activated, S::Activated, S::Activated}));
  t.esc.withCp210x([](sim::Cp210xEsc& m) { m.setProtections({0, 0, 0, 0, 0}); });
  EXPECT_EQ(runReadProtections(*t.session, t.host).states,
            (ProtectionStates{S::Clear, S::Clear, S::Clear, S::Clear, S::Clear}));
}

TEST(ProtectionsRead, SilentEscEndsQuietlyWithTheMonitorBack) {
  ProtectionsRig t;
  t.esc.addFault({Command::Ping, FaultKind::Silence, 1});
  const ProtectionsRead r = runReadProtections(*t.session, t.host);
  EXPECT_FALSE(r.answered);
  EXPECT_EQ(r.states, ProtectionStates{});
  EXPECT_EQ(t.host.progress(), 0);
  EXPECT_TRUE(t.host.boxes.shown.empty());
  EXPECT_EQ(t.host.periods, std::vector<int>{500});
}

TEST(ProtectionsRead, ShortReplyLeavesTheMissingOnesGrey) {
  ProtectionsRig t({0xAA, 0x00, 0xAA, 0xAA, 0xAA});
  t.esc.addFault({Command::ReadProtections, FaultKind::ShortReply, 1});
  const ProtectionsRead r = runReadProtections(*t.session, t.host);
  ASSERT_TRUE(r.answered);
  ASSERT_EQ(r.bytes.size(), 2u);
  EXPECT_EQ(r.states, (ProtectionStates{S::Activated, S::Clear, S::NotRead, S::NotRead, S::NotRead}));
}

TEST(ProtectionsClear, SuccessBoxThenTheClearedRecords) {
  ProtectionsRig t({0xAA, 0xAA, 0x00, 0xAA, 0x00});
  const ProtectionsRead r = runClearProtections(*t.session, t.host);
  ASSERT_EQ(t.host.boxes.shown.size(), 1u);
  const Message& box = t.host.boxes.shown[0];
  EXPECT_EQ(box.text, "Success");
  EXPECT_EQ(box.caption, "ORXDevice");
  EXPECT_EQ(box.icon, MsgIcon::None);
  EXPECT_TRUE(r.answered);
  EXPECT_EQ(r.states, (ProtectionStates{S::Clear, S::Clear, S::Clear, S::Clear, S::Clear}));
  const auto kept = t.esc.withCp210x([](sim::Cp210xEsc& m) { return m.protections(); });
  EXPECT_EQ(kept, (std::array<uint8_t, 5>{0, 0, 0, 0, 0}));
}

TEST(ProtectionsClear, UnconfirmedClearShowsNoBoxButStillReads) {
  ProtectionsRig t;
  t.esc.addFault({Command::ClearProtections, FaultKind::Silence, 1});
  const ProtectionsRead r = runClearProtections(*t.session, t.host);
  EXPECT_TRUE(t.host.boxes.shown.empty());
  EXPECT_TRUE(r.answered);
  EXPECT_EQ(t.host.periods, std::vector<int>{500});
}

TEST(ProtectionsClear, SilentEscIsNotReadAgain) {
  ProtectionsRig t;
  t.esc.addFault({Command::Ping, FaultKind::Silence, 1});
  t.esc.clearReceived();
  const ProtectionsRead r = runClearProtections(*t.session, t.host);
  EXPECT_FALSE(r.answered);
  EXPECT_TRUE(t.host.boxes.shown.empty());
  const sim::Bytes sent = t.esc.received();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), 0xD9), 0);
  EXPECT_EQ(std::count(sent.begin(), sent.end(), 0xD8), 0);
}

TEST(ProtectionsOnWrongLink, NothingIsSent) {
  DeviceSession session(onlyFor("", ""), onlyFor("", ""));
  RecordingHost host;
  session.links.ActiveLink = EscLinks::kStm32;
  EXPECT_FALSE(runReadProtections(session, host).answered);
  EXPECT_FALSE(runClearProtections(session, host).answered);
  EXPECT_EQ(host.periods, (std::vector<int>{500, 500}));
}

}  // namespace
}  // namespace orx::test
