#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CfgTestSupport.h"
#include "settingsfile/AdvancedSettingsFlows.h"
#include "settingsfile/SettingsFileWriter.h"

using namespace orx;
using namespace orx::test;

namespace {

std::tm march7() {
  std::tm t{};
  t.tm_year = 124;
  t.tm_mon = 2;
  t.tm_mday = 7;
  t.tm_hour = 9;
  t.tm_min = 5;
  t.tm_sec = 1;
  return t;
}

// The value written for one key line, looked up by its line number (6..29).
std::string lineOf(const std::string& file, int lineNumber) {
  size_t pos = 0;
  for (int i = 1; i < lineNumber; ++i) pos = file.find("\r\n", pos) + 2;
  return file.substr(pos, file.find("\r\n", pos) - pos);
}

}  // namespace

TEST(SettingsFileWriter, SavedFileMatchesHandWrittenFileByteForByte) {
  SharedControls controls;
  controls.update([](DialogState& s) { s = stm32Controls(); });
  RecordingPrompter prompter;
  TempDir dir;
  FixedChooser chooser(dir.file("out.cfg"));

  ASSERT_EQ(SaveAdvancedSettings(controls, prompter, chooser, march7), SettingsSaveOutcome::Saved);
  EXPECT_TRUE(prompter.shown.empty());
  EXPECT_EQ(readFile(dir.file("out.cfg")), readFile(ORX_CFG_TEST_DATA "/stm32_range_fixed.cfg"));
  ASSERT_EQ(chooser.requests.size(), 1u);
  EXPECT_EQ(chooser.requests[0].kind, FileDialogRequest::Kind::Save);
  EXPECT_EQ(chooser.requests[0].filter, "Config Files (*.cfg)|*.cfg||");
  EXPECT_EQ(chooser.requests[0].defaultExtension, "cfg");
  EXPECT_EQ(chooser.requests[0].folder, "settings");
  EXPECT_EQ(controls.read([](const DialogState& s) { return s.text(ctl::StatusLine); }), "SETTINGS SAVED - out.cfg");
}

TEST(SettingsFileWriter, InitialWritesId01AndAnEmptyEditEmptiesTheRange) {
  DialogState s = stm32Controls();
  s.setChecked(ctl::NodeFixed, false);
  s.setChecked(ctl::NodeInitial, true);  // the node list still shows "ID 09"
  s.setText(ctl::RangeMax, "");
  s.selectText(ctl::DroneCanPoles, "");
  const std::string file = cfg::FormatSettingsFile(s, march7());
  EXPECT_EQ(lineOf(file, 26), "DEFAULT ESC ID:  INITIALIZE");
  EXPECT_EQ(lineOf(file, 27), "CAN BUS NODE ID:  ID 01");
  EXPECT_EQ(lineOf(file, 11), "THROTTLE CALIBRATION RANGE:  ");
  EXPECT_EQ(lineOf(file, 29), "DRONECAN POLES:  ");
}

TEST(SaveAdvancedSettings, RefusesWhileAnyRequiredListShowsNothing) {
  const int required[] = {ctl::StartupPower, ctl::DriveFrequency, ctl::SrBraking,  ctl::CalibrationMode,
                          ctl::CutoffLevel,  ctl::AdvanceTiming,  ctl::ArmingTones, ctl::MotorEdition,
                          ctl::Acceleration, ctl::Overload,       ctl::DataLogSpeed, ctl::Adapter,
                          ctl::CanBaud,      ctl::CanControl};
  for (int id : required) {
    SharedControls controls;
    controls.update([id](DialogState& s) {
      s = stm32Controls();
      s.select(id, -1);
    });
    RecordingPrompter prompter;
    FixedChooser chooser("/nonexistent/never.cfg");
    EXPECT_EQ(SaveAdvancedSettings(controls, prompter, chooser, march7), SettingsSaveOutcome::FieldsMissing) << id;
    ASSERT_EQ(prompter.shown.size(), 1u) << id;
    EXPECT_EQ(prompter.shown[0], errorBox("Cannot Save Advanced Settings - \nPlease Verify the Device is "
                                          "Connected and All Fields are Set."));
    EXPECT_TRUE(chooser.requests.empty()) << "no dialog once a field is missing";
  }
}

// CUSTOM MOTOR clears ACCELERATION RATE; that must not block the save.
TEST(SaveAdvancedSettings, CustomMotorSavesWithAnEmptyAccelerationRate) {
  DialogState s = stm32Controls();
  s.selectText(ctl::MotorEdition, "CUSTOM MOTOR");
  s.select(ctl::Acceleration, -1);
  s.setEnabled(ctl::Acceleration, false);
  EXPECT_TRUE(cfg::EmptyRequiredFields(s).empty());
  EXPECT_EQ(lineOf(cfg::FormatSettingsFile(s, march7()), 23), "ACCELERATION RATE:  ");
  s.selectText(ctl::MotorEdition, "MOTOR-01");
  EXPECT_EQ(cfg::EmptyRequiredFields(s), std::vector<int>{ctl::Acceleration});
}

TEST(SaveAdvancedSettings, OverlongFirmwareTextWarnsThenStillSaves) {
  SharedControls controls;
  controls.update([](DialogState& s) {
    s = stm32Controls();
    s.setText(ctl::FirmwareVersion, "D2.23-BETA-7");
  });
  RecordingPrompter prompter;
  TempDir dir;
  FixedChooser chooser(dir.file("fw.cfg"));
  ASSERT_EQ(SaveAdvancedSettings(controls, prompter, chooser, march7), SettingsSaveOutcome::Saved);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0], (Message{kDefaultCaption, MsgIcon::None, MsgButtons::Ok, "Firmware Version Error"}));
  EXPECT_EQ(lineOf(readFile(dir.file("fw.cfg")), 4), "FIRMWARE VERSION:  D2.23-BETA-7");

  controls.update([](DialogState& s) { s.setText(ctl::FirmwareVersion, "0123456789"); });
  prompter.shown.clear();
  EXPECT_EQ(SaveAdvancedSettings(controls, prompter, chooser, march7), SettingsSaveOutcome::Saved);
  EXPECT_TRUE(prompter.shown.empty()) << "ten characters are still fine";
}

TEST(SaveAdvancedSettings, CancelWritesNothingAndAFailedWriteIsReported) {
  SharedControls controls;
  controls.update([](DialogState& s) { s = stm32Controls(); });
  RecordingPrompter prompter;
  TempDir dir;
  FixedChooser cancel;
  EXPECT_EQ(SaveAdvancedSettings(controls, prompter, cancel, march7), SettingsSaveOutcome::Cancelled);
  EXPECT_TRUE(dir.entries().empty());
  EXPECT_TRUE(prompter.shown.empty());

  FixedChooser missingDir(dir.file("no-such-dir/out.cfg"));
  EXPECT_EQ(SaveAdvancedSettings(controls, prompter, missingDir, march7), SettingsSaveOutcome::WriteFailed);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].icon, MsgIcon::Error);
  EXPECT_EQ(prompter.shown[0].caption, "ORX Device");
  EXPECT_EQ(prompter.shown[0].text.rfind("Cannot Save Advanced Settings - \n", 0), 0u);
  EXPECT_NE(prompter.shown[0].text.find("no-such-dir/out.cfg"), std::string::npos);
  EXPECT_TRUE(dir.entries().empty());
}
