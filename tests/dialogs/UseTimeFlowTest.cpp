// Use time of an NVQ series ESC: the reply's text, reads and resets against
// the simulated ESC, silence and short replies, and the wrong link.
#include <gtest/gtest.h>

#include <algorithm>

#include "EscRig.h"
#include "protocol/UseTimeFlow.h"
#include "tools/SimulatedEsc.h"

namespace orx::test {
namespace {

using sim::Command;
using sim::Fault;
using sim::FaultKind;

constexpr int kFastSettleMs = 10;

struct UseTimeRig : EscRig<sim::NvqConfig> {
  explicit UseTimeRig(uint32_t minutes) : EscRig(configWith(minutes)) {}
  static sim::NvqConfig configWith(uint32_t minutes) {
    sim::NvqConfig c;
    c.useTimeMinutes = minutes;
    return c;
  }
  UseTimeResult query() { return runQueryUseTime(*session, host, lastText, kFastSettleMs); }

  std::string lastText;
};

TEST(UseTimeReply, HoursFromTwoBytesMinutesPadded) {
  const uint8_t reply[] = {7, 0x2C, 0x01};  // 300 h 07 m
  EXPECT_EQ(UseTimeFromReply(reply, 3), "300h : 07m");
  const uint8_t small[] = {59, 5, 0};
  EXPECT_EQ(UseTimeFromReply(small, 3), "5h : 59m");
  const uint8_t zero[] = {0, 0, 0};
  EXPECT_EQ(UseTimeFromReply(zero, 3), kUseTimeZero);
  const uint8_t most[] = {0, 0xFF, 0xFF};
  EXPECT_EQ(UseTimeFromReply(most, 3), "65535h : 00m");
}

TEST(UseTimeReply, OtherAnswerOrShortReplyGivesNothing) {
  const uint8_t st[] = {0x53, 0x54, 0};
  EXPECT_EQ(UseTimeFromReply(st, 3), std::nullopt);
  const uint8_t reply[] = {7, 1, 0};
  EXPECT_EQ(UseTimeFromReply(reply, 2), std::nullopt);
  EXPECT_EQ(UseTimeFromReply(reply, 0), std::nullopt);
  EXPECT_EQ(UseTimeFromReply(std::span<const uint8_t>(reply, 2), 3), std::nullopt);
}

TEST(UseTimeQuery, ReadsTheSimulatedCounterAndRestartsTheMonitor) {
  UseTimeRig t(300 * 60 + 7);
  const UseTimeResult r = t.query();
  EXPECT_EQ(r.outcome, UseTimeOutcome::Read);
  EXPECT_EQ(r.text, "300h : 07m");
  EXPECT_EQ(t.lastText, "300h : 07m");
  EXPECT_EQ(t.framesSeen({0xDA, 0xD3}), 1u);
  EXPECT_FALSE(t.session->links.useTimeReadRunning);
  EXPECT_EQ(t.host.periods, std::vector<int>{500});
  EXPECT_TRUE(t.host.boxes.shown.empty());
}

TEST(UseTimeQuery, SilentOrShortAnswerKeepsThePreviousText) {
  UseTimeRig t(21 * 60 + 7);
  ASSERT_EQ(t.query().text, "21h : 07m");
  t.esc.withNvq([](sim::NvqEsc& m) { m.setUseTimeMinutes(90); });

  t.esc.addFault({Command::ReadUseTime, FaultKind::Silence, 1});
  UseTimeResult r = t.query();
  EXPECT_EQ(r.outcome, UseTimeOutcome::NoAnswer);
  EXPECT_EQ(r.text, "21h : 07m");
  EXPECT_FALSE(t.session->links.useTimeReadRunning);

  t.esc.addFault({Command::ReadUseTime, FaultKind::ShortReply, 1});
  r = t.query();
  EXPECT_EQ(r.outcome, UseTimeOutcome::NoAnswer);
  EXPECT_EQ(r.text, "21h : 07m");

  r = t.query();
  EXPECT_EQ(r.outcome, UseTimeOutcome::Read);
  EXPECT_EQ(r.text, "1h : 30m");
}

TEST(UseTimeQuery, SilenceBeforeAnyReadShowsNoNumber) {
  UseTimeRig t(42);
  t.esc.addFault({Command::ReadUseTime, FaultKind::Silence, 1});
  const UseTimeResult r = t.query();
  EXPECT_EQ(r.outcome, UseTimeOutcome::NoAnswer);
  EXPECT_EQ(r.text, "");
}

TEST(UseTimeReset, ZeroesTheCounterWithThreeRequests) {
  UseTimeRig t(5 * 60 + 3);
  EXPECT_EQ(runClearUseTime(*t.session, t.host), UseTimeResetOutcome::Sent);
  EXPECT_EQ(t.framesSeen({0xDA, 0xC1, 0xD1, 0xE1}), 3u);
  EXPECT_EQ(t.esc.withNvq([](sim::NvqEsc& m) { return m.useTimeMinutes(); }), 0u);
  EXPECT_EQ(t.host.periods, std::vector<int>{500});
  EXPECT_EQ(t.query().text, kUseTimeZero);
}

TEST(UseTimeOnWrongLink, BothRequestsShowTheBoxAndSendNothing) {
  DeviceSession session(onlyFor("", ""), onlyFor("", ""));  // the CP210x link is the active one
  RecordingHost host;
  std::string last = "3h : 04m";
  const UseTimeResult r = runQueryUseTime(session, host, last, kFastSettleMs);
  EXPECT_EQ(r.outcome, UseTimeOutcome::WrongLink);
  EXPECT_EQ(r.text, "3h : 04m");
  EXPECT_EQ(runClearUseTime(session, host), UseTimeResetOutcome::WrongLink);
  ASSERT_EQ(host.boxes.shown.size(), 2u);
  for (const Message& m : host.boxes.shown) {
    EXPECT_EQ(m.text, "error the connected ESC is not a NVQ series ESC");
    EXPECT_EQ(m.caption, "ORX Device");
    EXPECT_EQ(m.icon, MsgIcon::Error);
  }
  EXPECT_TRUE(host.periods.empty());
  EXPECT_FALSE(session.links.useTimeReadRunning);
}

}  // namespace
}  // namespace orx::test
