// The NVQ series flows against the simulated ESC on a pty: the read the
// monitor starts by itself, send with read-back, defaults, a failed read and
// the send that must then do nothing, and the ESC vanishing mid-read.
#include <gtest/gtest.h>

#include "FlowRig.h"
#include "base/Format.h"
#include "protocol/DefaultsFlow.h"
#include "protocol/SendSettingsFlow.h"
#include "tools/SimulatedEsc.h"

namespace orx::test {
namespace {

using sim::Command;
using sim::Fault;
using sim::FaultKind;

constexpr size_t kExtendedData = 2;  // d[0] sits at block[2] in the extended layout

struct NvqRig {
  explicit NvqRig(const sim::NvqConfig& config = {}) : esc(config) {
    EXPECT_TRUE(esc.start()) << esc.error();
    rig = std::make_unique<Rig>("", esc.path());
  }
  bool readCompleted() {
    return rig->tickUntil([&] { return rig->host.status() == "READ SETTINGS COMPLETED"; }, 6);
  }
  uint8_t simData(size_t k) {
    return esc.withNvq([&](sim::NvqEsc& m) { return m.block().at(k + kExtendedData); });
  }
  size_t commandsSeen(uint8_t command) {
    size_t n = 0;
    for (uint8_t b : esc.received()) n += b == command;
    return n;
  }

  std::string status() const { return rig->host.status(); }

  sim::SimulatedEsc esc;
  std::unique_ptr<Rig> rig;
};

sim::NvqConfig shortLayout() {
  sim::NvqConfig c;
  c.version = {0x01, 0x02, 0x15};
  return c;
}

TEST(NvqAutoRead, PlugInFillsIdentityAndSettingsAndSlowsTheMonitor) {
  NvqRig t;
  ASSERT_TRUE(t.readCompleted());
  const DialogState s = t.rig->host.snapshot();
  EXPECT_EQ(s.text(ctl::FirmwareVersion), "D.01.03.05");
  EXPECT_EQ(s.text(ctl::McuId), "38.4E.50.51.31.2B.00.37");
  EXPECT_FALSE(s.text(ctl::EscId).empty());
  EXPECT_EQ(s.selection(ctl::DriveFrequency), t.simData(5));
  EXPECT_EQ(s.value(ctl::Progress), 100);
  for (int id : {ctl::CutoffLevel, ctl::AdvanceTiming, ctl::StartupPower, ctl::ArmingTones, ctl::MotorEdition,
                 ctl::CalibrationMode})
    EXPECT_GE(s.selection(id), 0) << id;
  EXPECT_TRUE(t.rig->adapterGreen());
  EXPECT_TRUE(t.rig->deviceGreen());
  EXPECT_EQ(t.rig->host.lastPeriod(), 800);
  EXPECT_EQ(t.rig->session.hardwareCode, 0x44);
  EXPECT_TRUE(t.rig->session.kept.LayoutFlag);
  EXPECT_EQ(t.rig->session.kept.length, 44);

  // An answering ESC is read once, not on every probe.
  const size_t reads = t.commandsSeen(0xD0);
  t.rig->tick();
  t.rig->tick();
  EXPECT_EQ(t.commandsSeen(0xD0), reads);
  EXPECT_GE(t.commandsSeen(0xD4), 3u);
}

TEST(NvqSend, ChangedDriveFrequencyReachesTheEscAndComesBack) {
  NvqRig t;
  ASSERT_TRUE(t.readCompleted());
  const int before = t.simData(5);
  const int wanted = (before + 1) % 3;
  const uint8_t untouched = t.simData(1);  // no control owns d[1]
  t.rig->host.shared.update([&](DialogState& s) { s.select(ctl::DriveFrequency, wanted); });

  EXPECT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::Updated);
  EXPECT_EQ(t.rig->host.status(), "SETTINGS UPDATED");
  EXPECT_EQ(t.simData(5), wanted);
  EXPECT_EQ(t.simData(1), untouched);
  EXPECT_EQ(t.rig->session.kept.d(5), wanted);  // the read-back replaced the kept block
  EXPECT_EQ(t.rig->session.kept.length, 44);
  EXPECT_EQ(t.rig->host.lastPeriod(), 500);
  EXPECT_EQ(t.rig->host.snapshot().value(ctl::Progress), 100);
  const uint8_t node = t.rig->session.kept.d(38);
  EXPECT_EQ(t.rig->host.text(ctl::EscId), node == 1 ? std::string("---") : strprintf("%02d", node));
}

// SEND SETTINGS with nothing changed: every byte goes back as the ESC gave it,
// also where the controls cannot show the value exactly (a gain shown with one
// decimal, the adapter hidden under DEFAULT, values outside their tables that
// would otherwise be sent as what an earlier ESC left in the controls).
TEST(NvqSend, PlainSendGivesBackExactlyWhatTheEscHolds) {
  sim::NvqConfig config;
  config.blockCount = 49;
  NvqRig t(config);
  ASSERT_TRUE(t.readCompleted());
  t.esc.withNvq([](sim::NvqEsc& m) {
    sim::Bytes b = m.block();
    b.at(44) = 0x46;  // gain 6.125, shown "6.1"
    b.at(45) = 0x20;
    for (auto [k, v] : {std::pair{15, 0}, {37, 2}, {8, 5}, {14, 9}, {34, 100}, {35, 7}})
      b.at(kExtendedData + k) = static_cast<uint8_t>(v);
    sim::sealBlock(b, m.layout());
    m.setBlock(b);
  });
  ASSERT_EQ(runReadSettings(t.rig->session, t.rig->host), ReadOutcome::Completed);
  const sim::Bytes held = t.esc.withNvq([](sim::NvqEsc& m) { return m.block(); });
  EXPECT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::Updated);
  EXPECT_EQ(t.esc.withNvq([](sim::NvqEsc& m) { return m.block(); }), held);
}

TEST(NvqSend, UnacknowledgedBlockSaysSoAndSilentReadBackBlocksLaterSends) {
  NvqRig t;
  ASSERT_TRUE(t.readCompleted());
  t.esc.addFault(Fault{Command::WriteBlock, FaultKind::Silence, 1});
  t.esc.addFault(Fault{Command::ReadBlock, FaultKind::Silence, 1});
  EXPECT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::NotConfirmed);
  EXPECT_EQ(t.rig->host.status(), "SEND SETTINGS FAILED");
  EXPECT_EQ(t.rig->session.kept.length, 0);

  const size_t writes = t.commandsSeen(0xD1);
  EXPECT_EQ(runStm32Send(t.rig->session, t.rig->host), SendOutcome::NoBlock);
  EXPECT_EQ(t.commandsSeen(0xD1), writes);
  EXPECT_EQ(t.rig->host.lastPeriod(), 500);
}

TEST(NvqDefaults, RestoresFactoryBlockThenReadsIt) {
  NvqRig t;
  ASSERT_TRUE(t.readCompleted());
  const int wanted = (t.simData(5) + 1) % 3;
  t.rig->host.shared.update([&](DialogState& s) { s.select(ctl::DriveFrequency, wanted); });
  ASSERT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::Updated);
  ASSERT_EQ(t.simData(5), wanted);

  EXPECT_EQ(runDefaultSettings(t.rig->session, t.rig->host), ReadOutcome::Completed);
  EXPECT_EQ(t.rig->host.status(), "DEFAULT SETTINGS UPDATED");
  const auto factory = t.esc.withNvq([](sim::NvqEsc& m) { return m.factory(); });
  EXPECT_EQ(t.esc.withNvq([](sim::NvqEsc& m) { return m.block(); }), factory);
  EXPECT_EQ(t.rig->host.snapshot().selection(ctl::DriveFrequency), factory.at(5 + kExtendedData));
  EXPECT_FALSE(t.rig->session.DefaultsRequested);
}

TEST(NvqDefaults, UnconfirmedRestoreSaysSoAndReadsNothing) {
  NvqRig t;
  ASSERT_TRUE(t.readCompleted());
  t.esc.addFault(Fault{Command::RestoreDefaults, FaultKind::Silence, 1});
  const size_t reads = t.commandsSeen(0xD0);
  EXPECT_EQ(runDefaultSettings(t.rig->session, t.rig->host), ReadOutcome::DefaultsFailed);
  EXPECT_EQ(t.rig->host.status(), "DEFAULT SETTINGS FAILED");
  EXPECT_EQ(t.commandsSeen(0xD0), reads);
}

TEST(NvqDefaults, DefaultsAfterDfuUpdateComeBeforeTheFirstRead) {
  NvqRig t;
  t.esc.withNvq([](sim::NvqEsc& m) {
    sim::Bytes b = m.block();
    b.at(5 + kExtendedData) = (b.at(5 + kExtendedData) + 1) % 3;
    sim::sealBlock(b, m.layout());
    m.setBlock(b);
  });
  t.rig->session.DefaultsAfterUpdate = true;
  ASSERT_TRUE(t.rig->tickUntil([&] { return t.rig->host.status() == "DEFAULT SETTINGS UPDATED"; }, 6));
  EXPECT_FALSE(t.rig->session.DefaultsAfterUpdate);
  EXPECT_FALSE(t.rig->session.DefaultsRequested);
  EXPECT_EQ(t.esc.withNvq([](sim::NvqEsc& m) { return m.block() == m.factory(); }), true);
}

TEST(NvqReadFailure, SilentMcuIdMarksEscSilentAndNextProbeReadsAgain) {
  NvqRig t;
  t.esc.addFault(Fault{Command::ReadMcuId, FaultKind::Silence, 1});
  t.rig->tick();  // open
  t.rig->tick();  // probe + failing read
  EXPECT_EQ(t.rig->session.links.stm32.DeviceState, 1);
  EXPECT_EQ(t.rig->host.lastPeriod(), 500);
  EXPECT_EQ(t.rig->host.status(), "");
  EXPECT_EQ(t.rig->session.kept.length, 0);
  t.rig->tick();
  EXPECT_EQ(t.rig->host.status(), "READ SETTINGS COMPLETED");
  EXPECT_TRUE(t.rig->host.boxes.shown.empty());
}

TEST(NvqUnplug, VanishingDuringBlockReadBlanksControlsAndBothSquaresGoRed) {
  NvqRig t;
  t.esc.addFault(Fault{Command::ReadBlock, FaultKind::Vanish, 1, 5});
  t.rig->tick();
  t.rig->tick();  // probe, read cut off after 5 bytes
  EXPECT_NE(t.rig->host.status(), "READ SETTINGS COMPLETED");
  ASSERT_TRUE(t.rig->tickUntil([&] { return !t.rig->adapterGreen(); }, 4));
  EXPECT_FALSE(t.rig->deviceGreen());
  EXPECT_FALSE(t.rig->session.links.stm32.isOpen());
  const DialogState s = t.rig->host.snapshot();
  EXPECT_EQ(s.text(ctl::FirmwareVersion), "");
  EXPECT_EQ(s.text(ctl::McuId), "");
  EXPECT_EQ(s.selection(ctl::DriveFrequency), -1);
  EXPECT_GT(t.rig->host.indicatorCalls, 2);

  // Plugged in again: found, probed and read once more.
  t.esc.clearFaults();
  ASSERT_TRUE(t.esc.plugBack());
  EXPECT_TRUE(t.rig->tickUntil([&] { return t.rig->host.status() == "READ SETTINGS COMPLETED"; }, 8));
}

TEST(NvqDefaults, RefusedOrUnconfirmedDefaultsLeaveTheNextReadAPlainRead) {
  NvqRig t;
  ASSERT_TRUE(t.readCompleted());
  t.rig->setRepairMode(true);
  EXPECT_EQ(runDefaultSettings(t.rig->session, t.rig->host), ReadOutcome::Refused);
  EXPECT_FALSE(t.rig->session.DefaultsRequested);
  t.rig->setRepairMode(false);
  t.esc.addFault(Fault{Command::RestoreDefaults, FaultKind::WrongReply, 1});
  EXPECT_EQ(runDefaultSettings(t.rig->session, t.rig->host), ReadOutcome::DefaultsFailed);
  EXPECT_FALSE(t.rig->session.DefaultsRequested);
  EXPECT_EQ(runSettingsRead(t.rig->session, t.rig->host), ReadOutcome::Completed);  // as the monitor runs it
  EXPECT_EQ(t.status(), "READ SETTINGS COMPLETED");
}

TEST(NvqDefaults, EscThatNeverConfirmsDefaultsAfterAnUpdateIsAskedAFewTimesThenRead) {
  NvqRig t;
  t.esc.addFault(Fault{Command::RestoreDefaults, FaultKind::Silence, -1});
  t.rig->session.DefaultsAfterUpdate = true;
  for (int i = 0; i < 10; ++i) t.rig->tick();
  EXPECT_EQ(t.commandsSeen(0xDE), 3u);
  EXPECT_FALSE(t.rig->session.DefaultsAfterUpdate);
  EXPECT_EQ(t.rig->session.kept.length, 44);
  EXPECT_EQ(t.status(), "DEFAULT SETTINGS FAILED");
  EXPECT_EQ(t.commandsSeen(0xD0), 1u);
}

TEST(NvqReadFailure, BlockWithAWrongCountOrSumIsNeitherShownNorKept) {
  NvqRig wrongCount(shortLayout()), wrongSum;
  wrongCount.esc.addFault(Fault{Command::ReadBlock, FaultKind::WrongReply, 1});  // count 41 ^ 0xFF = 0xD6
  wrongSum.esc.withNvq([](sim::NvqEsc& m) { m.setBlock([b = m.block()]() mutable { b.back() ^= 1; return b; }()); });
  for (NvqRig* t : {&wrongCount, &wrongSum}) {
    t->rig->tick();
    t->rig->tick();
    EXPECT_EQ(t->rig->session.kept.length, 0);
    EXPECT_EQ(t->rig->host.snapshot().selection(ctl::DriveFrequency), -1);
  }
  EXPECT_TRUE(wrongCount.readCompleted());  // the next probe reads the sound block
}

TEST(NvqSend, UnconfirmedSendOrReadBackSaysItFailed) {
  for (FaultKind kind : {FaultKind::Silence, FaultKind::WrongReply}) {
    NvqRig t;
    ASSERT_TRUE(t.readCompleted());
    const std::string escId = t.rig->host.text(ctl::EscId);
    t.esc.addFault(Fault{Command::WriteBlock, kind, 1});
    EXPECT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::NotConfirmed);
    EXPECT_EQ(t.status(), "SEND SETTINGS FAILED");
    EXPECT_EQ(t.rig->host.snapshot().value(ctl::Progress), 0);
    EXPECT_EQ(t.rig->host.text(ctl::EscId), escId);

    t.esc.addFault(Fault{Command::ReadBlock, FaultKind::Silence, 1});  // written, but not read back
    EXPECT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::ReadBackFailed);
    EXPECT_EQ(t.status(), "READ SETTINGS FAILED");
    EXPECT_EQ(t.rig->host.text(ctl::EscId), escId);
    EXPECT_TRUE(t.readCompleted());  // the monitor reads the block again by itself
  }
}

TEST(NvqSend, EscVanishingDuringTheSendIsToldInABox) {
  NvqRig t;
  ASSERT_TRUE(t.readCompleted());
  t.esc.addFault(Fault{Command::WriteBlock, FaultKind::Vanish, 1, 0});
  EXPECT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::NotConfirmed);
  EXPECT_EQ(t.status(), "SEND SETTINGS FAILED");
  ASSERT_EQ(t.rig->host.boxes.shown.size(), 1u);
  EXPECT_EQ(t.rig->host.boxes.shown[0].text, "DEVICE Connection Error - \nPlease Reconnect and Power Cycle Device.");
}

TEST(NvqReadFailure, EscThatAnswersTheProbeButNotItsIdentifyIsNamedOnTheStatusLine) {
  NvqRig t;
  t.esc.addFault(Fault{Command::Identify, FaultKind::Silence, -1});
  for (int i = 0; i < 6; ++i) t.rig->tick();
  EXPECT_EQ(t.status(), "ESC DOES NOT ANSWER - PLEASE RECONNECT AND POWER CYCLE DEVICE");
  EXPECT_FALSE(t.rig->deviceGreen());
  t.esc.clearFaults();
  EXPECT_TRUE(t.readCompleted());
}

}  // namespace
}  // namespace orx::test
