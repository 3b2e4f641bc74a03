#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "CfgTestSupport.h"
#include "settingsfile/AdvancedSettingsFlows.h"
#include "settingsfile/SettingsApply.h"
#include "settingsfile/SettingsFileLayout.h"
#include "settingsfile/SettingsFileParser.h"

using namespace orx;
using namespace orx::test;
using cfg::SettingsValue;

namespace {

const cfg::LoadContext kStm32{true, true, true};
const cfg::LoadContext kCp210x{true, false, false};

const char* kHead = "ORX DEVICE MANAGER PROGRAM SETTINGS\r\nPLEASE DO NOT MODIFY THIS FILE OR ERRORS MAY OCCUR\r\n"
                    "DATE:  01/02/2024 10:11:12\r\n";

DialogState loaded(DialogState s, const std::string& text, const cfg::LoadContext& ctx = kStm32) {
  cfg::ApplySettingsFile(s, cfg::ParseSettingsFile(text), ctx);
  return s;
}

}  // namespace

TEST(ParseSettingsFile, FirmwareLineIsOptionalAndKeysCountFromTheFirstSetting) {
  const std::string with = std::string(kHead) + "FIRMWARE VERSION:  D2.23\r\n\r\nSTARTUP POWER:  DYNAMIC\r\n"
                                                "DRIVE FREQUENCY:  BALANCED\r\n";
  const std::string without = std::string(kHead) + "STARTUP POWER:  DYNAMIC\r\nDRIVE FREQUENCY:  BALANCED\r\n";
  const std::vector<SettingsValue> expected{{1, "DYNAMIC"}, {2, "BALANCED"}};
  EXPECT_EQ(cfg::ParseSettingsFile(with), expected);
  EXPECT_EQ(cfg::ParseSettingsFile(without), expected);
}

TEST(ParseSettingsFile, BareLineFeedsKeepTheLastCharacterOfEveryValue) {
  std::string crlf = std::string(kHead) + "FIRMWARE VERSION:  D2.23\r\n\r\nSTARTUP POWER:  HIGH (HARD)\r\n"
                                          "DRIVE FREQUENCY:  PRECISION\r\nSYNCHRONOUS RECTIFICATION:  ENABLED";
  std::string lf = crlf;
  for (size_t p; (p = lf.find('\r')) != std::string::npos;) lf.erase(p, 1);
  const std::vector<SettingsValue> expected{{1, "HIGH (HARD)"}, {2, "PRECISION"}, {3, "ENABLED"}};
  EXPECT_EQ(cfg::ParseSettingsFile(crlf), expected);
  EXPECT_EQ(cfg::ParseSettingsFile(lf), expected);
}

TEST(ParseSettingsFile, ValuesStayOnTheirLineAndWithin97Bytes) {
  std::string text = std::string(kHead) + "FIRMWARE VERSION:  X\r\n";
  text += "A:  " + std::string(200, 'v') + "\r\n";  // long value
  text += "B:\r\n";                                  // nothing after the colon
  text += "C: \nD:";                                 // one blank, then a colon at the very end
  const auto values = cfg::ParseSettingsFile(text);
  ASSERT_EQ(values.size(), 4u);
  EXPECT_EQ(values[0].value, std::string(97, 'v'));
  EXPECT_EQ(values[1].value, "");
  EXPECT_EQ(values[2].value, "");
  EXPECT_EQ(values[3].value, "");

  std::string many = kHead;
  for (int k = 1; k <= 30; ++k) many += "K:  " + std::to_string(k) + "\r\n";
  const auto capped = cfg::ParseSettingsFile(many);
  ASSERT_EQ(capped.size(), 24u);
  EXPECT_EQ(capped.front(), (SettingsValue{1, "1"}));
  EXPECT_EQ(capped.back(), (SettingsValue{24, "24"}));
}

TEST(ApplySettings, ModeOtherThanRangeEmptiesAndDisablesTheRangeEdits) {
  DialogState before = stm32Controls();  // RANGE, 1100-1940, edits enabled
  const std::string file = std::string(kHead) + "STARTUP POWER:  DYNAMIC\r\nDRIVE FREQUENCY:  DYNAMIC\r\n"
                                                "SYNCHRONOUS RECTIFICATION:  ENABLED\r\nS.R. BRAKING ACTIVATION:  DYNAMIC\r\n"
                                                "THROTTLE CALIBRATION MODE:  MANUAL\r\nTHROTTLE CALIBRATION RANGE:  \r\n";
  DialogState after = loaded(before, file);
  EXPECT_EQ(after.selectedText(ctl::CalibrationMode), "MANUAL");
  for (int id : {ctl::RangeMin, ctl::RangeMax}) {
    EXPECT_EQ(after.text(id), "") << id;
    EXPECT_FALSE(after.enabled(id)) << id;
  }
  EXPECT_TRUE(after.flags.RangeResetPending);

  // RANGE: split at the first dash, later dashes dropped, edits enabled.
  after = loaded(before, std::string(kHead) + "A:  \r\nB:  \r\nC:  \r\nD:  \r\nE:  RANGE\r\nF:  900-2-100\r\n");
  EXPECT_EQ(after.text(ctl::RangeMin), "900");
  EXPECT_EQ(after.text(ctl::RangeMax), "2100");
  EXPECT_TRUE(after.enabled(ctl::RangeMin));
  EXPECT_FALSE(after.flags.RangeResetPending);
}

// Every key with a text no rule names: each list takes its "else" entry,
// the radio pairs their second button, and the number lists stay as they were.
TEST(ApplySettings, UnmatchedValuesTakeTheElseEntries) {
  std::string file = kHead;
  for (int k = 1; k <= 24; ++k) file += "KEY:  nonsense\r\n";
  const DialogState before = stm32Controls();
  const DialogState s = loaded(before, file);
  const std::pair<int, const char*> expected[] = {
      {ctl::StartupPower, "LOW (SOFT)"}, {ctl::DriveFrequency, "BALANCED"}, {ctl::SrBraking, "BALANCED"},
      {ctl::CalibrationMode, "RANGE"},   {ctl::CutoffLevel, "3.6 V/CELL"},  {ctl::AdvanceTiming, "PRECISION"},
      {ctl::ArmingTones, "INITIALIZE"},  {ctl::Adapter, "HEX"},             {ctl::CanBaud, "DISABLED"},
      {ctl::CanControl, "PWM SYNC"},     {ctl::Overload, "DISABLED"},       {ctl::Acceleration, "ULTRA-HIGH"},
      {ctl::DataLogSpeed, "DISABLED"},   {ctl::MotorEdition, ""},           {ctl::NodeId, "ID 09"},
      {ctl::DroneCanMotor, "ID 17"},     {ctl::DroneCanPoles, "14"}};
  for (const auto& [id, text] : expected) EXPECT_EQ(s.selectedText(id), text) << id;
  for (int id : {ctl::SyncRectDisabled, ctl::CutoffOff, ctl::DirectionReverse, ctl::PropHoldEnabled, ctl::StallEnabled,
                 ctl::NodeFixed})
    EXPECT_TRUE(s.checked(id)) << id;
  for (int id : {ctl::SyncRectEnabled, ctl::CutoffOn, ctl::DirectionForward, ctl::PropHoldDisabled,
                 ctl::StallDisabled, ctl::NodeInitial})
    EXPECT_FALSE(s.checked(id)) << id;
  EXPECT_FALSE(s.enabled(ctl::SrBraking));
  EXPECT_FALSE(s.enabled(ctl::CutoffLevel));
  EXPECT_TRUE(s.enabled(ctl::NodeId));
  EXPECT_FALSE(s.enabled(ctl::DroneCanMotor));
  EXPECT_EQ(s.text(ctl::RangeMin), "") << "RANGE is still the mode, but the edit takes digits only";
}

TEST(ApplySettings, NumberListsTakeOnlyTheirExactTwoDigitForms) {
  auto node = [](const char* value) {
    DialogState s = stm32Controls();
    cfg::RangeTexts r;
    cfg::ApplySettingsValue(s, {22, value}, kStm32, r);
    cfg::ApplySettingsValue(s, {23, value}, kStm32, r);
    cfg::ApplySettingsValue(s, {24, value + 3}, kStm32, r);
    return std::vector<int>{s.selection(ctl::NodeId), s.selection(ctl::DroneCanMotor), s.selection(ctl::DroneCanPoles)};
  };
  EXPECT_EQ(node("ID 02"), (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(node("ID 48"), (std::vector<int>{46, 47, 23}));
  EXPECT_EQ(node("ID 64"), (std::vector<int>{62, 63, 6}));   // 64 poles do not exist: poles unchanged
  EXPECT_EQ(node("ID 01"), (std::vector<int>{7, 0, 6}));     // node 1 is no fixed node; 1 pole no entry
  EXPECT_EQ(node("ID 5"), (std::vector<int>{7, 16, 6}));     // no leading zero: all unchanged
  EXPECT_EQ(node("ID 065"), (std::vector<int>{7, 16, 6}));
}

TEST(LoadAdvancedSettings, RefusesWithoutAnEscAndAsksForNoFile) {
  SharedControls controls;
  RecordingPrompter prompter;
  FixedChooser chooser("/dev/null");
  EXPECT_EQ(LoadAdvancedSettings(controls, prompter, chooser, {false, false, true}), SettingsLoadOutcome::NoDevice);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0], errorBox("Cannot Load Advanced Settings - \nPlease Verify the Device is Connected."));
  EXPECT_TRUE(chooser.requests.empty());
}

TEST(LoadAdvancedSettings, UnreadableFilesAreReportedAndChangeNothing) {
  TempDir dir;
  {
    std::ofstream big(dir.file("big.cfg"), std::ios::binary);
    big << std::string(cfg::kMaxFileSize + 1, ':');
  }
  ASSERT_EQ(::mkfifo(dir.file("fifo.cfg").c_str(), 0600), 0);  // would block a plain read
  for (const std::string& path : {dir.file("missing.cfg"), dir.path(), dir.file("big.cfg"), dir.file("fifo.cfg")}) {
    SharedControls controls;
    controls.update([](DialogState& s) { s = stm32Controls(); });
    controls.takeChanges();
    RecordingPrompter prompter;
    FixedChooser chooser(path);
    EXPECT_EQ(LoadAdvancedSettings(controls, prompter, chooser, kStm32), SettingsLoadOutcome::ReadFailed) << path;
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].icon, MsgIcon::Error);
    EXPECT_EQ(prompter.shown[0].text.rfind("Cannot Load Advanced Settings - \n", 0), 0u);
    EXPECT_TRUE(controls.takeChanges().empty()) << path;
  }
}

// The range edits take up to five digits; a file must not slip a CR or a ':'
// past that, or the next save reloads with every later key shifted.
TEST(LoadAdvancedSettings, RangeTextsTheEditsWouldNotTakeAreRefusedAndNamed) {
  TempDir dir;
  std::ofstream(dir.file("bad.cfg"), std::ios::binary)
      << kHead << "STARTUP POWER:  DYNAMIC\r\nDRIVE FREQUENCY:  DYNAMIC\r\nSYNCHRONOUS RECTIFICATION:  ENABLED\r\n"
      << "S.R. BRAKING ACTIVATION:  DYNAMIC\r\nTHROTTLE CALIBRATION MODE:  RANGE\r\n"
      << "THROTTLE CALIBRATION RANGE:  1\r2-2000\r\n";
  SharedControls controls;
  controls.update([](DialogState& s) { s = stm32Controls(); });
  RecordingPrompter prompter;
  FixedChooser chooser(dir.file("bad.cfg"));
  EXPECT_EQ(LoadAdvancedSettings(controls, prompter, chooser, kStm32), SettingsLoadOutcome::Loaded);
  const DialogState s = controls.read([](const DialogState& c) { return c; });
  EXPECT_EQ(s.text(ctl::RangeMin), "");
  EXPECT_EQ(s.text(ctl::RangeMax), "2000");
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, "Settings File Value Refused - \nTHROTTLE CALIBRATION RANGE MIN(LOW):  1?2");
  EXPECT_EQ(s.text(ctl::StatusLine), kSettingsLoadedStatus);
}
