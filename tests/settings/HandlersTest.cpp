#include <gtest/gtest.h>

#include "protocol/SettingsBlockCodec.h"
#include "protocol/SettingsHandlers.h"
#include "SettingsFixture.h"

using namespace orx;
using namespace orx::test;

TEST(CalibrationModeHandler, RangeOffersDefaultsOtherModesQueueAReset) {
  DialogState s = windowAfterStart();
  s.setText(ctl::StatusLine, "SETTINGS UPDATED");
  s.setValue(ctl::Progress, 100);
  s.select(ctl::CalibrationMode, 2);
  OnCalibrationModeChange(s);
  EXPECT_EQ(s.text(ctl::RangeMin), "1100");
  EXPECT_EQ(s.text(ctl::RangeMax), "1940");
  EXPECT_TRUE(s.enabled(ctl::RangeMin));
  EXPECT_TRUE(s.enabled(ctl::RangeMax));
  EXPECT_FALSE(s.flags.RangeResetPending);
  EXPECT_EQ(s.text(ctl::StatusLine), "");
  EXPECT_EQ(s.value(ctl::Progress), 0);

  s.select(ctl::CalibrationMode, 1);
  OnCalibrationModeChange(s);
  EXPECT_EQ(s.text(ctl::RangeMin), "");
  EXPECT_FALSE(s.enabled(ctl::RangeMax));
  EXPECT_TRUE(s.flags.RangeResetPending);
}

TEST(RangeFocusHandlers, CheckOnlyEditedValuesInRangeMode) {
  DialogState s = windowAfterStart();
  s.select(ctl::CalibrationMode, 2);
  s.setText(ctl::RangeMin, "700");
  s.setText(ctl::StatusLine, "X");

  // Not edited: nothing happens.
  EXPECT_FALSE(OnRangeMinFocusLost(s).message.has_value());
  EXPECT_EQ(s.text(ctl::StatusLine), "X");

  s.flags.MinRangeEdited = true;
  HandlerOutcome out = OnRangeMinFocusLost(s);
  ASSERT_TRUE(out.message.has_value());
  EXPECT_EQ(out.message->caption, "ORX Device");
  EXPECT_EQ(out.message->icon, MsgIcon::Error);
  EXPECT_EQ(out.message->text, "Minimum (LOW) Calibration Range Allowed:  800 - 1250\r\nPlease Enter New Value.");
  EXPECT_EQ(out.moveFocusTo, ctl::RangeMax);
  EXPECT_EQ(s.text(ctl::StatusLine), "CALIBRATION RANGE INCORRECT");
  EXPECT_FALSE(s.flags.MinRangeEdited);

  s.setText(ctl::RangeMin, "1250");
  s.flags.MinRangeEdited = true;
  out = OnRangeMinFocusLost(s);
  EXPECT_FALSE(out.message.has_value());
  EXPECT_EQ(s.text(ctl::StatusLine), "");

  s.setText(ctl::RangeMax, "2201");
  s.flags.MaxRangeEdited = true;
  out = OnRangeMaxFocusLost(s);
  ASSERT_TRUE(out.message.has_value());
  EXPECT_EQ(out.message->text, "Maximum (HIGH) Calibration Range Allowed:  1750 - 2200\r\nPlease Enter New Value.");
  EXPECT_EQ(out.moveFocusTo, 0);
  EXPECT_EQ(s.text(ctl::StatusLine), "CALIBRATION RANGE INCORRECT");

  // Outside RANGE mode the flag stays and nothing is said.
  s.select(ctl::CalibrationMode, 0);
  s.flags.MaxRangeEdited = true;
  EXPECT_FALSE(OnRangeMaxFocusLost(s).message.has_value());
  EXPECT_TRUE(s.flags.MaxRangeEdited);
}

TEST(ThrottleResponseHandlers, WarnOutside1To100WithoutCorrecting) {
  DialogState s = windowAfterStart();
  for (const char* bad : {"0", "101", "", "abc", "-5"}) {
    s.setText(ctl::ResponseRunning, bad);
    const HandlerOutcome out = OnThrottleResponseFocusLost(s, ctl::ResponseRunning);
    ASSERT_TRUE(out.message.has_value()) << bad;
    EXPECT_EQ(out.message->icon, MsgIcon::Error);
    EXPECT_EQ(out.message->text,
              "Error. Range Allowed: 1 - 100\r\nValue represents throttle % / 100ms\r\nPlease Enter New Value");
    EXPECT_EQ(s.text(ctl::ResponseRunning), bad);
  }
  s.setText(ctl::StatusLine, "X");
  s.setText(ctl::ResponseStarting, "100");
  EXPECT_FALSE(OnThrottleResponseFocusLost(s, ctl::ResponseStarting).message.has_value());
  EXPECT_EQ(s.text(ctl::StatusLine), "");
}

TEST(InformationBoxes, ExactTextsWithTheExclamationIcon) {
  const Message running = RunningResponseInfo();
  const Message starting = StartingResponseInfo();
  EXPECT_EQ(running.caption, "ORX Device");
  EXPECT_EQ(running.icon, MsgIcon::Warning);
  EXPECT_EQ(starting.icon, MsgIcon::Warning);
  EXPECT_EQ(running.text,
            "Running Throttle Response\r\nRange Allowed: 1 - 100\r\nValue represents throttle % / 100ms\r\n\r\n"
            "This feature is only available for the NVQ Series ESC with the Custom Motor Edition Selected. "
            "This is an advance setting, Use at your own risk!");
  EXPECT_EQ(starting.text,
            "Starting Throttle Response\r\nRange Allowed: 1 - 100\r\nValue represents throttle % / 100ms\r\n\r\n"
            "This feature is only available for the NVQ Series ESC with the Custom Motor Edition Selected. "
            "This is an advanced setting, Use at your own risk!");
}

TEST(MotorEditionHandler, WithoutAnNvqEscUsesTheFactoryRates) {
  DialogState s = windowAfterStart();
  const EscSettings none;
  for (auto [entry, rate] : {std::pair{1, "MEDIUM"}, {8, "MEDIUM"}, {9, "MEDIUM"}, {2, "MEDIUM-HIGH"},
                             {5, "MEDIUM-HIGH"}, {0, "MEDIUM-HIGH"}}) {
    s.select(ctl::MotorEdition, entry);
    s.setText(ctl::StatusLine, "X");
    OnMotorEditionChange(s, none, false);
    EXPECT_EQ(s.selectedText(ctl::Acceleration), rate) << entry;
    EXPECT_TRUE(s.enabled(ctl::Acceleration));
    EXPECT_FALSE(s.enabled(ctl::ResponseRunning));
    EXPECT_EQ(s.text(ctl::StatusLine), "");
  }
  // The last one was DEFAULT: one adapter entry, disabled.
  EXPECT_EQ(s.items(ctl::Adapter), lists::adapterDefaultOnly());
  EXPECT_EQ(s.selectedText(ctl::Adapter), "DEFAULT");
  EXPECT_FALSE(s.enabled(ctl::Adapter));

  s.select(ctl::MotorEdition, kCustomMotorEntry);
  OnMotorEditionChange(s, none, false);
  EXPECT_EQ(s.text(ctl::ResponseRunning), "50");
  EXPECT_EQ(s.text(ctl::ResponseStarting), "50");
  EXPECT_TRUE(s.enabled(ctl::ResponseStarting));
  EXPECT_EQ(s.selection(ctl::Acceleration), -1);
  EXPECT_FALSE(s.enabled(ctl::Acceleration));
  EXPECT_EQ(s.items(ctl::Adapter), lists::adapterEntries());
  EXPECT_EQ(s.selectedText(ctl::Adapter), "DUAL");
  EXPECT_TRUE(s.enabled(ctl::Adapter));
}

TEST(MotorEditionHandler, WithAnNvqEscShowsTheRateStoredForTheEdition) {
  for (bool extended : {false, true}) {
    const EscSettings kept = blockOf(extended, sampleData());
    DialogState s = windowAfterStart();
    s.setText(ctl::StatusLine, "KEEP");
    s.select(ctl::MotorEdition, 5);  // MOTOR-05: d[18] = 2
    OnMotorEditionChange(s, kept, true);
    EXPECT_EQ(s.selectedText(ctl::Acceleration), "HIGH");
    s.select(ctl::MotorEdition, 0);  // DEFAULT: d[19] = 3
    OnMotorEditionChange(s, kept, true);
    EXPECT_EQ(s.selectedText(ctl::Acceleration), "ULTRA-HIGH");
    s.select(ctl::MotorEdition, 4);  // MOTOR-04: d[20] = 1
    OnMotorEditionChange(s, kept, true);
    EXPECT_EQ(s.selectedText(ctl::Acceleration), "MEDIUM-HIGH");
    EXPECT_EQ(s.text(ctl::StatusLine), "KEEP");

    s.select(ctl::MotorEdition, kCustomMotorEntry);
    OnMotorEditionChange(s, kept, true);
    EXPECT_EQ(s.text(ctl::ResponseRunning), "50");
    EXPECT_FALSE(s.enabled(ctl::Acceleration));
  }
}

TEST(NodeHandlers, FixedSelectsTheNodeStoredInTheKeptBlock) {
  for (bool extended : {false, true}) {
    const EscSettings kept = blockOf(extended, sampleData());  // d[38] = 9
    DialogState s = windowAfterStart();
    s.setChecked(ctl::NodeInitial, true);
    OnFixedClick(s, kept);
    EXPECT_TRUE(s.checked(ctl::NodeFixed));
    EXPECT_FALSE(s.checked(ctl::NodeInitial));
    EXPECT_TRUE(s.enabled(ctl::NodeId));
    EXPECT_EQ(s.selectedText(ctl::NodeId), "ID 09");
  }
}
