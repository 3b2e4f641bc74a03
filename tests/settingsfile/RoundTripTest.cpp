#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "CfgTestSupport.h"
#include "settingsfile/AdvancedSettingsFlows.h"
#include "settingsfile/SettingsApply.h"
#include "settingsfile/SettingsFileParser.h"
#include "settingsfile/SettingsFileWriter.h"

using namespace orx;
using namespace orx::test;

namespace {

const cfg::LoadContext kStm32{true, true, true};
const cfg::LoadContext kCp210x{true, false, false};

// The controls a settings file carries (the firmware version is not loaded back).
const int kFileControls[] = {
    ctl::StartupPower,  ctl::DriveFrequency,   ctl::SyncRectEnabled, ctl::SyncRectDisabled, ctl::SrBraking,
    ctl::CalibrationMode, ctl::RangeMin,       ctl::RangeMax,        ctl::CutoffOn,         ctl::CutoffOff,
    ctl::CutoffLevel,   ctl::AdvanceTiming,    ctl::DirectionForward, ctl::DirectionReverse, ctl::ArmingTones,
    ctl::PropHoldEnabled, ctl::PropHoldDisabled, ctl::MotorEdition,   ctl::Adapter,          ctl::CanBaud,
    ctl::CanControl,    ctl::Overload,         ctl::Acceleration,    ctl::DataLogSpeed,     ctl::StallEnabled,
    ctl::StallDisabled, ctl::NodeInitial,      ctl::NodeFixed,       ctl::NodeId,           ctl::DroneCanMotor,
    ctl::DroneCanPoles};

// Every setting different from stm32Controls(), with the enabled states a
// read would give them.
DialogState otherStm32() {
  DialogState s = stm32Controls();
  auto sel = [&](int id, const char* text) { ASSERT_TRUE(s.selectText(id, text)) << text; };
  sel(ctl::StartupPower, "DYNAMIC");
  sel(ctl::DriveFrequency, "PRECISION");
  sel(ctl::SrBraking, "PRECISION");
  sel(ctl::CalibrationMode, "DYNAMIC");
  sel(ctl::CutoffLevel, "3.0 V/CELL");
  sel(ctl::AdvanceTiming, "DYNAMIC");
  sel(ctl::ArmingTones, "STANDARD");
  sel(ctl::MotorEdition, "DEFAULT");
  s.setItems(ctl::Adapter, lists::adapterDefaultOnly());
  sel(ctl::Adapter, "DEFAULT");
  sel(ctl::CanBaud, "1000K");
  sel(ctl::CanControl, "ORXCAN");
  sel(ctl::Overload, "ULTRA-HIGH");
  sel(ctl::Acceleration, "MEDIUM");
  sel(ctl::DataLogSpeed, "8HZ");
  s.select(ctl::NodeId, -1);
  sel(ctl::DroneCanMotor, "ID 64");
  sel(ctl::DroneCanPoles, "48");
  s.setText(ctl::RangeMin, "");
  s.setText(ctl::RangeMax, "");
  s.flags.RangeResetPending = true;
  for (int id : {ctl::RangeMin, ctl::RangeMax, ctl::SrBraking, ctl::CutoffLevel, ctl::NodeId, ctl::Adapter,
                 ctl::DroneCanMotor, ctl::DroneCanPoles})
    s.setEnabled(id, false);
  for (auto [on, off] : {std::pair{ctl::SyncRectDisabled, ctl::SyncRectEnabled}, {ctl::CutoffOff, ctl::CutoffOn},
                         {ctl::DirectionForward, ctl::DirectionReverse}, {ctl::PropHoldDisabled, ctl::PropHoldEnabled},
                         {ctl::StallEnabled, ctl::StallDisabled}, {ctl::NodeInitial, ctl::NodeFixed}}) {
    s.setChecked(on, true);
    s.setChecked(off, false);
  }
  return s;
}

DialogState roundTrip(const DialogState& saved, DialogState target, const cfg::LoadContext& ctx) {
  std::tm t{};
  cfg::ApplySettingsFile(target, cfg::ParseSettingsFile(cfg::FormatSettingsFile(saved, t)), ctx);
  return target;
}

void expectSameFileControls(const DialogState& want, const DialogState& got) {
  for (int id : kFileControls) {
    const ControlState& w = want.get(id);
    const ControlState& g = got.get(id);
    EXPECT_EQ(w.items, g.items) << id;
    EXPECT_EQ(w.selection, g.selection) << id;
    EXPECT_EQ(w.checked, g.checked) << id;
    EXPECT_EQ(w.enabled, g.enabled) << id;
    EXPECT_EQ(w.text, g.text) << id;
  }
  // The loader only ever sets the flag; a stale one is harmless while RANGE is the mode.
  if (want.selectedText(ctl::CalibrationMode) != "RANGE") {
    EXPECT_TRUE(got.flags.RangeResetPending);
  }
}

}  // namespace

TEST(RoundTrip, Stm32LinkRestoresEveryControlBothWays) {
  expectSameFileControls(stm32Controls(), roundTrip(stm32Controls(), otherStm32(), kStm32));
  expectSameFileControls(otherStm32(), roundTrip(otherStm32(), stm32Controls(), kStm32));
}

// Each entry of each list saved and loaded on its own, so no text in the
// loader's tables can be misspelt without notice.
TEST(RoundTrip, Stm32LinkRestoresEveryEntryOfEveryList) {
  for (int id : lists::allListIds()) {
    DialogState saved = stm32Controls();
    const size_t n = saved.items(id).size();
    for (size_t i = 0; i < n; ++i) {
      saved.select(id, static_cast<int>(i));
      const DialogState got = roundTrip(saved, otherStm32(), kStm32);
      EXPECT_EQ(got.selectedText(id), saved.selectedText(id)) << id << " entry " << i;
    }
  }
}

TEST(RoundTrip, Cp210xLinkOffersSevenMotorsAndKeepsDataLogSpeed) {
  DialogState target = cp210xControls();
  target.selectText(ctl::DataLogSpeed, "1HZ");
  const DialogState got = roundTrip(cp210xControls(), target, kCp210x);
  EXPECT_EQ(got.items(ctl::MotorEdition), lists::motorEditionsFileCp210x());
  EXPECT_EQ(got.selectedText(ctl::MotorEdition), "MOTOR-09");
  EXPECT_EQ(got.items(ctl::StartupPower), lists::startupPowerNvq());
  EXPECT_EQ(got.selectedText(ctl::StartupPower), "HIGH (HARD)");
  EXPECT_EQ(got.selectedText(ctl::DataLogSpeed), "1HZ") << "DATA LOG SPEED needs the STM32 adapter";
  for (int id : kFileControls) {
    if (id == ctl::MotorEdition || id == ctl::StartupPower || id == ctl::DataLogSpeed) continue;
    EXPECT_EQ(got.selectedText(id), cp210xControls().selectedText(id)) << id;
    EXPECT_EQ(got.checked(id), cp210xControls().checked(id)) << id;
  }

  // Editions the seven-entry list lacks load without a selection.
  DialogState saved = cp210xControls();
  saved.selectText(ctl::MotorEdition, "MOTOR-02");
  EXPECT_EQ(roundTrip(saved, cp210xControls(), kCp210x).selection(ctl::MotorEdition), -1);
  // The same file with an NVQ series ESC on the STM32 link finds it.
  EXPECT_EQ(roundTrip(saved, cp210xControls(), kStm32).selectedText(ctl::MotorEdition), "MOTOR-02");

  // STM32 adapter plugged in but its ESC silent, the ESC on the CP210x link:
  // the motor list follows the ESC, DATA LOG SPEED the adapter.
  saved.selectText(ctl::DataLogSpeed, "4HZ");
  const DialogState mixed = roundTrip(saved, cp210xControls(), {true, false, true});
  EXPECT_EQ(mixed.items(ctl::MotorEdition), lists::motorEditionsFileCp210x());
  EXPECT_EQ(mixed.selectedText(ctl::DataLogSpeed), "4HZ");
}

TEST(RoundTrip, CustomMotorThroughTheFlowsOverALongerFile) {
  TempDir dir;
  const std::string path = dir.file("custom.cfg");
  {
    std::ofstream old(path, std::ios::binary);
    old << std::string(5000, 'X');
  }
  SharedControls controls;
  controls.update([](DialogState& s) {
    s = stm32Controls();
    s.selectText(ctl::MotorEdition, "CUSTOM MOTOR");
    s.select(ctl::Acceleration, -1);
    s.setEnabled(ctl::Acceleration, false);
  });
  RecordingPrompter prompter;
  FixedChooser chooser(path);
  ASSERT_EQ(SaveAdvancedSettings(controls, prompter, chooser, [] { return std::tm{}; }), SettingsSaveOutcome::Saved);
  std::stringstream written;
  written << std::ifstream(path, std::ios::binary).rdbuf();
  EXPECT_EQ(written.str().find("XX"), std::string::npos);
  EXPECT_EQ(written.str().size(), written.str().rfind("DRONECAN POLES:  14\r\n") + 21);

  controls.update([](DialogState& s) {
    s = otherStm32();
    s.setItems(ctl::MotorEdition, lists::motorEditionsCp210x());
    s.setValue(ctl::Progress, 0);
  });
  controls.takeChanges();
  ASSERT_EQ(LoadAdvancedSettings(controls, prompter, chooser, kStm32), SettingsLoadOutcome::Loaded);
  EXPECT_TRUE(prompter.shown.empty());
  controls.read([](const DialogState& s) {
    EXPECT_EQ(s.items(ctl::MotorEdition), lists::motorEditionsNvq());
    EXPECT_EQ(s.selectedText(ctl::MotorEdition), "CUSTOM MOTOR");
    EXPECT_EQ(s.value(ctl::Progress), 100);
    EXPECT_EQ(s.text(ctl::StatusLine), "SETTINGS LOADED - PLEASE SEND");
  });
  EXPECT_EQ(chooser.requests.back().kind, FileDialogRequest::Kind::Open);
  EXPECT_EQ(chooser.requests.back().filter, "Config Files (*.cfg)|*.cfg||");

  // Over the CP210x adapter the seven-entry list has no CUSTOM MOTOR.
  ASSERT_EQ(LoadAdvancedSettings(controls, prompter, chooser, kCp210x), SettingsLoadOutcome::Loaded);
  EXPECT_EQ(controls.read([](const DialogState& s) { return s.selection(ctl::MotorEdition); }), -1);
}
