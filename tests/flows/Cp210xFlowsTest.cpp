// The CP210x flows against a scripted older ESC behind the adapter's echoing
// line: identification and the dump read the monitor starts, the send table
// step by step, its failure at an unacknowledged step, the LOAD step skipped
// for raw hardware bytes 10 and 12, the J7QX refusal, defaults, and the
// default exchange that follows a serial firmware update.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

#include "FakeCp210xEsc.h"
#include "FlowRig.h"
#include "protocol/DefaultsFlow.h"
#include "protocol/SendSettingsFlow.h"

namespace orx::test {
namespace {

struct Cp210xRig {
  Cp210xRig() {
    esc.setDump(sampleCp210xDump());
    rig = std::make_unique<Rig>(esc.path(), "");
    rig->host.shared.setChangeListener([this] {
      const std::string st = rig->host.status();
      std::lock_guard<std::mutex> lock(statusMutex);
      if (statuses.empty() || statuses.back() != st) statuses.push_back(st);
    });
  }
  bool readCompleted() {
    return rig->tickUntil([&] { return rig->host.status() == "READ SETTINGS COMPLETED"; }, 6);
  }
  bool sawStatus(const std::string& text) {
    std::lock_guard<std::mutex> lock(statusMutex);
    return std::find(statuses.begin(), statuses.end(), text) != statuses.end();
  }
  bool applied(const Bytes& command) {
    const auto all = esc.applied();
    return std::find(all.begin(), all.end(), command) != all.end();
  }

  FakeCp210xEsc esc;
  std::unique_ptr<Rig> rig;
  std::mutex statusMutex;
  std::vector<std::string> statuses;
};

TEST(Cp210xRead, FirstAnswerIdentifiesAndReadsTheDumpOnce) {
  Cp210xRig t;
  ASSERT_TRUE(t.readCompleted());
  EXPECT_EQ(t.rig->host.postedReads, 1);
  const DialogState s = t.rig->host.snapshot();
  EXPECT_EQ(s.text(ctl::FirmwareVersion), "B.02.15.07");
  EXPECT_EQ(t.rig->session.hardwareCode, 11);
  EXPECT_TRUE(s.enabled(ctl::MotorEdition));  // hardware code 11
  EXPECT_EQ(s.items(ctl::MotorEdition), lists::motorEditionsCp210x());
  EXPECT_EQ(s.selection(ctl::MotorEdition), 1);
  EXPECT_EQ(s.selection(ctl::Acceleration), 2);
  EXPECT_EQ(s.selection(ctl::DriveFrequency), 2);
  EXPECT_EQ(s.selection(ctl::StartupPower), 1);
  EXPECT_EQ(s.selection(ctl::Overload), 1);
  EXPECT_EQ(s.selection(ctl::Adapter), 1);
  EXPECT_TRUE(s.checked(ctl::DirectionReverse));
  EXPECT_EQ(s.value(ctl::Progress), 100);
  EXPECT_TRUE(t.sawStatus("READING PARAMETERS...0%"));
  EXPECT_TRUE(t.sawStatus("READING PARAMETERS...60%"));  // the 31st byte
  EXPECT_FALSE(t.sawStatus("READING PARAMETERS...62%"));
  EXPECT_EQ(t.rig->host.lastPeriod(), 500);
  EXPECT_TRUE(t.rig->deviceGreen());

  t.rig->tick();
  t.rig->tick();
  EXPECT_EQ(t.rig->host.postedReads, 1);
}

TEST(Cp210xRead, EscFallingSilentBeforeTheDumpKeepsControls) {
  Cp210xRig t;
  ASSERT_TRUE(t.readCompleted());
  const DialogState before = t.rig->host.snapshot();
  t.esc.setAnswering(false);
  EXPECT_EQ(runCp210xRead(t.rig->session, t.rig->host), ReadOutcome::NoReply);
  const DialogState after = t.rig->host.snapshot();
  EXPECT_EQ(after.selection(ctl::DriveFrequency), before.selection(ctl::DriveFrequency));
  EXPECT_EQ(after.selection(ctl::Overload), before.selection(ctl::Overload));
  EXPECT_TRUE(t.rig->host.boxes.shown.empty());
  EXPECT_EQ(t.rig->host.lastPeriod(), 500);
}

TEST(Cp210xRead, DumpShorterThanItsPositionsIsAFailedReadAndASendInventsNothing) {
  Cp210xRig t;
  Bytes dump = sampleCp210xDump();
  dump.resize(20);
  t.esc.setDump(dump);
  ASSERT_TRUE(t.rig->tickUntil([&] { return t.rig->host.postedReads == 1; }, 6));
  EXPECT_EQ(t.rig->host.status(), "READ SETTINGS FAILED");
  EXPECT_FALSE(t.sawStatus("READ SETTINGS COMPLETED"));

  EXPECT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::Updated);
  for (const Bytes& applied : t.esc.applied()) {
    EXPECT_NE(applied, (Bytes{0xF9, 123}));  // STALL was never read: neither radio is ticked
    EXPECT_NE(applied, (Bytes{0xA1}));       // nor PROPELLER HOLD
  }
}

TEST(Cp210xSend, AllStepsAcknowledgedInTableOrder) {
  Cp210xRig t;
  ASSERT_TRUE(t.readCompleted());
  EXPECT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::Updated);
  EXPECT_EQ(t.rig->host.status(), "SETTINGS UPDATED");
  EXPECT_TRUE(t.sawStatus("SENDING SETTINGS..."));
  const std::vector<Bytes> expected{{0xA1}, {0xC1}, {0x17}, {0xF7, 3}, {0x70}, {0x3B}, {0x41}, {0x63},
                                    {0x81}, {0xB2}, {0xE1}, {0xF0}, {0xF9, 117}, {0xF9, 124}, {0xE6}};
  EXPECT_EQ(t.esc.applied(), expected);
  EXPECT_EQ(t.rig->host.snapshot().value(ctl::Progress), 100);
  EXPECT_EQ(t.rig->host.lastPeriod(), 500);
}

TEST(Cp210xSend, MissingMotorEditionAckStopsAfterTwoAppliedSteps) {
  Cp210xRig t;
  ASSERT_TRUE(t.readCompleted());
  t.esc.refuse(0x17);
  EXPECT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::StepFailed);
  EXPECT_EQ(t.rig->host.status(), "MOTOR EDITION SETTINGS FAILED");
  EXPECT_EQ(t.esc.applied(), (std::vector<Bytes>{{0xA1}, {0xC1}}));
  EXPECT_EQ(t.rig->host.snapshot().value(ctl::Progress), 28);
  EXPECT_EQ(t.rig->host.lastPeriod(), 500);
}

TEST(Cp210xSend, RangeFramesCarryTheEditedLimits) {
  Cp210xRig t;
  ASSERT_TRUE(t.readCompleted());
  t.rig->host.shared.update([](DialogState& s) {
    s.select(ctl::CalibrationMode, 2);
    s.setText(ctl::RangeMin, "1000");
    s.setText(ctl::RangeMax, "2000");
  });
  EXPECT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::Updated);
  EXPECT_TRUE(t.applied({0xF2}));
  EXPECT_TRUE(t.applied({0xF3, static_cast<uint8_t>(2000 & 0xFF)}));
  EXPECT_TRUE(t.applied({0xF4, 1000 >> 7}));
  EXPECT_TRUE(t.applied({0xF5, static_cast<uint8_t>(4000 & 0xFF)}));
  EXPECT_TRUE(t.applied({0xF6, 2000 >> 7}));

  t.rig->host.shared.update([](DialogState& s) { s.setText(ctl::RangeMax, "2300"); });
  EXPECT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::RangeIncorrect);
  EXPECT_EQ(t.rig->host.status(), "CALIBRATION RANGE INCORRECT");
}

TEST(Cp210xSend, RawHardwareByteTenSkipsLoad) {
  Cp210xRig t;
  t.esc.setHardwareByte(10);
  ASSERT_TRUE(t.readCompleted());
  EXPECT_EQ(t.rig->session.hardwareCode, 15);
  EXPECT_EQ(t.rig->host.text(ctl::FirmwareVersion), "A.02.15.07");
  EXPECT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::Updated);
  EXPECT_EQ(t.rig->host.status(), "SETTINGS UPDATED");
  EXPECT_TRUE(t.applied({0xF9, 124}));
  EXPECT_FALSE(t.applied({0xE6}));
}

TEST(Cp210xSend, J7qxRefusesPrecisionDriveFrequencyOnly) {
  Cp210xRig t;
  t.esc.setHardwareByte(12);
  ASSERT_TRUE(t.readCompleted());
  t.rig->host.shared.update([](DialogState& s) { s.selectText(ctl::DriveFrequency, "PRECISION"); });
  EXPECT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::Refused);
  ASSERT_EQ(t.rig->host.boxes.shown.size(), 1u);
  EXPECT_EQ(t.rig->host.boxes.shown[0],
            (Message{"Error", MsgIcon::None, MsgButtons::Ok, "The J7QX does not support (Precision) Drive Frequency"}));
  EXPECT_TRUE(t.esc.applied().empty());

  t.rig->host.shared.update([](DialogState& s) { s.selectText(ctl::DriveFrequency, "DYNAMIC"); });
  EXPECT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::Updated);
  EXPECT_TRUE(t.applied({0x71}));
  EXPECT_FALSE(t.applied({0xE6}));  // 12 skips LOAD as well
}

TEST(Cp210xSend, HardwareByteThirteenSendsPrecision) {
  Cp210xRig t;
  t.esc.setHardwareByte(13);
  ASSERT_TRUE(t.readCompleted());
  t.rig->host.shared.update([](DialogState& s) { s.selectText(ctl::DriveFrequency, "PRECISION"); });
  EXPECT_EQ(runSendSettings(t.rig->session, t.rig->host), SendOutcome::Updated);
  EXPECT_TRUE(t.rig->host.boxes.shown.empty());
  EXPECT_TRUE(t.applied({0x72}));
  EXPECT_TRUE(t.applied({0xE6}));
}

TEST(Cp210xDefaults, ConfirmedDefaultsThenReadSaysDefaultsUpdated) {
  Cp210xRig t;
  ASSERT_TRUE(t.readCompleted());
  EXPECT_EQ(runDefaultSettings(t.rig->session, t.rig->host), ReadOutcome::Completed);
  EXPECT_EQ(t.esc.defaultsRestored(), 1);
  EXPECT_EQ(t.rig->host.status(), "DEFAULT SETTINGS UPDATED");
  EXPECT_FALSE(t.rig->session.DefaultsRequested);
}

TEST(Cp210xDefaults, AfterSerialUpdatePingsSendsDefaultsAndPostsTheRead) {
  Cp210xRig t;
  ASSERT_TRUE(t.readCompleted());
  const int posted = t.rig->host.postedReads;
  EXPECT_EQ(runDefaultsAfterUpdate(t.rig->session, t.rig->host), AfterUpdateOutcome::ReadPosted);
  EXPECT_EQ(t.esc.defaultsRestored(), 1);
  EXPECT_EQ(t.rig->host.postedReads, posted + 1);
}

TEST(Cp210xDefaults, AfterSerialUpdateUnconfirmedDefaultsFailAndTheReadSaysSoAgain) {
  Cp210xRig t;
  ASSERT_TRUE(t.readCompleted());
  t.esc.refuse(0xDE);
  const int posted = t.rig->host.postedReads;
  EXPECT_EQ(runDefaultsAfterUpdate(t.rig->session, t.rig->host), AfterUpdateOutcome::DefaultsFailed);
  EXPECT_EQ(t.rig->host.status(), "DEFAULT SETTINGS FAILED");
  EXPECT_EQ(t.rig->host.postedReads, posted + 1);
  t.rig->tick();  // runs the posted read
  EXPECT_EQ(t.rig->host.status(), "DEFAULT SETTINGS FAILED");
}

}  // namespace
}  // namespace orx::test
