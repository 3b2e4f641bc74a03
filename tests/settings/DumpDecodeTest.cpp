#include <gtest/gtest.h>

#include "protocol/SettingsDumpCodec.h"
#include "SettingsFixture.h"

using namespace orx;
using namespace orx::test;

namespace {

// A dump as an ESC with overload protection replays it: range 1100..1940,
// MOTOR-04 with acceleration entry 2, overload DISABLED, stall on, TRIPLE.
std::vector<uint8_t> dumpWithMarker() {
  return {0xA1, 0x00, 0x11, 0x3B, 0x41, 0x00, 0x63, 0x70, 0x81, 0x00,  // 0-9
          0xC1, 0xB2, 0xE2, 0xF2, 0x00, 0xF3, 152,  0xF4, 8,    0xF5,  // 10-19
          40,   0xF6, 15,   0xF7, 0x23, 0xF8, 5,    0xF9, 119,  124,   // 20-29
          0xE6};
}

DialogState cp210xWindow() {
  DialogState s = windowAfterStart();
  prepareCp210xRead(s);
  return s;
}

}  // namespace

TEST(DumpDecode, WithOverloadMarkerEveryPositionIsRead) {
  DialogState s = cp210xWindow();
  decodeSettingsDump(s, dumpWithMarker());
  EXPECT_EQ(s.value(ctl::Progress), 100);
  EXPECT_TRUE(s.checked(ctl::PropHoldEnabled));
  EXPECT_EQ(s.selectedText(ctl::MotorEdition), "MOTOR-04");
  EXPECT_EQ(s.selectedText(ctl::Acceleration), "HIGH");
  EXPECT_EQ(s.selectedText(ctl::CutoffLevel), "3.4 V/CELL");
  EXPECT_TRUE(s.checked(ctl::CutoffOn));
  EXPECT_TRUE(s.enabled(ctl::CutoffLevel));
  EXPECT_EQ(s.selectedText(ctl::AdvanceTiming), "PRECISION");
  EXPECT_EQ(s.selectedText(ctl::DriveFrequency), "BALANCED");
  EXPECT_TRUE(s.checked(ctl::DirectionReverse));
  EXPECT_EQ(s.selectedText(ctl::StartupPower), "HIGH (HARD)");
  EXPECT_TRUE(s.checked(ctl::SyncRectEnabled));
  EXPECT_EQ(s.selectedText(ctl::SrBraking), "DYNAMIC");
  EXPECT_EQ(s.selectedText(ctl::ArmingTones), "INITIALIZE");
  EXPECT_EQ(s.selectedText(ctl::CalibrationMode), "RANGE");
  EXPECT_EQ(s.text(ctl::RangeMin), "1100");
  EXPECT_EQ(s.text(ctl::RangeMax), "1940");
  EXPECT_TRUE(s.enabled(ctl::RangeMin));
  EXPECT_FALSE(s.flags.RangeResetPending);
  EXPECT_EQ(s.selectedText(ctl::Overload), "DISABLED");
  EXPECT_TRUE(s.enabled(ctl::Overload));
  EXPECT_TRUE(s.checked(ctl::StallEnabled));
  EXPECT_FALSE(s.checked(ctl::StallDisabled));
  EXPECT_EQ(s.selectedText(ctl::Adapter), "TRIPLE");
  EXPECT_EQ(s.selectedText(ctl::DataLogSpeed), "DISABLED");
  // What the CP210x ESCs lack stays off.
  for (int id : {ctl::DataLogSpeed, ctl::NodeInitial, ctl::NodeFixed, ctl::NodeId, ctl::DroneCanMotor,
                 ctl::DroneCanPoles, ctl::AdcGain, ctl::AdcOffset, ctl::CanControl, ctl::CanBaud})
    EXPECT_FALSE(s.enabled(id)) << id;
  EXPECT_EQ(s.selectedText(ctl::CanControl), "PWM SYNC");
  EXPECT_EQ(s.selectedText(ctl::CanBaud), "DISABLED");
}

TEST(DumpDecode, OverloadCodes) {
  for (auto [code, text] : {std::pair<uint8_t, const char*>{118, "ULTRA-HIGH"}, {117, "STANDARD"}, {119, "DISABLED"}}) {
    DialogState s = cp210xWindow();
    auto dump = dumpWithMarker();
    dump[28] = code;
    decodeSettingsDump(s, dump);
    EXPECT_EQ(s.selectedText(ctl::Overload), text) << int(code);
  }
  DialogState s = cp210xWindow();
  s.select(ctl::Overload, 1);
  auto dump = dumpWithMarker();
  dump[28] = 100;  // no entry: left as it was
  decodeSettingsDump(s, dump);
  EXPECT_EQ(s.selectedText(ctl::Overload), "STANDARD");
}

TEST(DumpDecode, WithoutMarkerOverloadIsFixedAndStallMovesToPosition27) {
  auto dump = dumpWithMarker();
  dump.resize(28);
  dump[25] = 0x00;
  dump[27] = 123;
  DialogState s = cp210xWindow();
  s.setChecked(ctl::StallEnabled, true);
  s.select(ctl::Overload, 2);
  decodeSettingsDump(s, dump);
  EXPECT_EQ(s.selectedText(ctl::Overload), "ULTRA-HIGH");
  EXPECT_FALSE(s.enabled(ctl::Overload));
  EXPECT_TRUE(s.checked(ctl::StallDisabled));
  EXPECT_FALSE(s.checked(ctl::StallEnabled));
  EXPECT_EQ(s.selectedText(ctl::DataLogSpeed), "DISABLED");
}

TEST(DumpDecode, MarkerPrefixWithoutFiveEnablesMotorEditionAndKeepsStallAt29) {
  auto dump = dumpWithMarker();
  dump[26] = 4;
  dump[29] = 123;
  DialogState s = cp210xWindow();
  s.setEnabled(ctl::MotorEdition, false);
  decodeSettingsDump(s, dump);
  EXPECT_TRUE(s.enabled(ctl::MotorEdition));
  EXPECT_FALSE(s.enabled(ctl::Overload));
  EXPECT_TRUE(s.checked(ctl::StallDisabled));
}

TEST(DumpDecode, TruncatedDumpLeavesTheUnreachedControlsAlone) {
  auto dump = dumpWithMarker();
  dump.resize(9);
  DialogState s = cp210xWindow();
  s.select(ctl::StartupPower, 0);
  s.select(ctl::ArmingTones, 1);
  s.select(ctl::CalibrationMode, 0);
  s.setText(ctl::RangeMin, "keep");
  s.setChecked(ctl::StallEnabled, true);
  s.select(ctl::Adapter, 2);
  s.select(ctl::Acceleration, 3);
  decodeSettingsDump(s, dump);
  EXPECT_TRUE(s.checked(ctl::DirectionReverse));               // position 8 reached
  EXPECT_EQ(s.selectedText(ctl::MotorEdition), "MOTOR-04");     // position 2 reached ...
  EXPECT_EQ(s.selectedText(ctl::Acceleration), "ULTRA-HIGH");   // ... but not its rate at 24
  EXPECT_EQ(s.selectedText(ctl::StartupPower), "DYNAMIC");
  EXPECT_EQ(s.selectedText(ctl::ArmingTones), "ARM ONLY");
  EXPECT_EQ(s.selectedText(ctl::CalibrationMode), "DYNAMIC");
  EXPECT_EQ(s.text(ctl::RangeMin), "keep");
  EXPECT_TRUE(s.checked(ctl::StallEnabled));
  EXPECT_EQ(s.selectedText(ctl::Adapter), "HEX");
  // No marker in a short dump: the fixed overload entry.
  EXPECT_EQ(s.selectedText(ctl::Overload), "ULTRA-HIGH");

  DialogState empty = cp210xWindow();
  empty.setChecked(ctl::PropHoldDisabled, true);
  empty.select(ctl::DriveFrequency, 1);
  decodeSettingsDump(empty, {});
  EXPECT_TRUE(empty.checked(ctl::PropHoldDisabled));
  EXPECT_EQ(empty.selectedText(ctl::DriveFrequency), "DYNAMIC");
  EXPECT_EQ(empty.value(ctl::Progress), 100);
}

TEST(DumpDecode, UnknownBytesLeaveTheirControls) {
  std::vector<uint8_t> dump(31, 0x00);
  dump[0] = 0xA0;  // anything but 0xA1 is DISABLED
  DialogState s = cp210xWindow();
  s.select(ctl::MotorEdition, 3);
  s.select(ctl::DriveFrequency, 1);
  s.select(ctl::CutoffLevel, 1);
  s.setChecked(ctl::CutoffOff, true);
  s.setChecked(ctl::DirectionForward, true);
  s.setChecked(ctl::SyncRectDisabled, true);
  s.select(ctl::CalibrationMode, 1);
  s.select(ctl::Adapter, 1);
  decodeSettingsDump(s, dump);
  EXPECT_TRUE(s.checked(ctl::PropHoldDisabled));
  EXPECT_EQ(s.selectedText(ctl::MotorEdition), "MOTOR-03");
  EXPECT_EQ(s.selectedText(ctl::DriveFrequency), "DYNAMIC");
  EXPECT_EQ(s.selectedText(ctl::CutoffLevel), "3.2 V/CELL");
  EXPECT_TRUE(s.checked(ctl::CutoffOff));
  EXPECT_TRUE(s.checked(ctl::DirectionForward));
  EXPECT_TRUE(s.checked(ctl::SyncRectDisabled));
  EXPECT_EQ(s.selectedText(ctl::CalibrationMode), "MANUAL");
  EXPECT_EQ(s.selectedText(ctl::Adapter), "TRIPLE");
}

TEST(DumpDecode, DefaultEditionGivesTheSingleAdapterEntryAndLaterReadsRestoreTheList) {
  auto dump = dumpWithMarker();
  dump[2] = 0x10;
  DialogState s = cp210xWindow();
  decodeSettingsDump(s, dump);
  EXPECT_EQ(s.selectedText(ctl::MotorEdition), "DEFAULT");
  EXPECT_EQ(s.items(ctl::Adapter), lists::adapterDefaultOnly());
  EXPECT_FALSE(s.enabled(ctl::Adapter));

  dump[2] = 0x15;  // MOTOR-10
  dump[30] = 0xE7;
  decodeSettingsDump(s, dump);
  EXPECT_EQ(s.selectedText(ctl::MotorEdition), "MOTOR-10");
  EXPECT_EQ(s.selectedText(ctl::Adapter), "HEX");
  EXPECT_TRUE(s.enabled(ctl::Adapter));
}

TEST(DumpDecode, LeavingRangeModeEmptiesTheRangeEdits) {
  auto dump = dumpWithMarker();
  dump[13] = 0xF1;
  DialogState s = cp210xWindow();
  s.setText(ctl::RangeMin, "1100");
  s.setEnabled(ctl::RangeMin, true);
  decodeSettingsDump(s, dump);
  EXPECT_EQ(s.selectedText(ctl::CalibrationMode), "MANUAL");
  EXPECT_EQ(s.text(ctl::RangeMin), "");
  EXPECT_FALSE(s.enabled(ctl::RangeMin));
  EXPECT_FALSE(s.flags.RangeResetPending);
}
