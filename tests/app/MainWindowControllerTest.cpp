// The main window's rules on the controls model, without any widget.
#include <gtest/gtest.h>

#include "Recorders.h"
#include "app/MainWindowController.h"
#include "base/MainWindowControls.h"
#include "base/StatusDisplay.h"
#include "base/ControlIds.h"
#include "base/ControlLists.h"

using namespace orx;
using namespace orx::test;

namespace {

struct Fixture : ::testing::Test {
  SharedControls controls;
  RecordingPrompter prompter;
  RecordingCommands commands;
  MainWindowController controller{controls, prompter, commands};

  void SetUp() override { controller.initialise(); }

  DialogState state() const {
    return controls.read([](const DialogState& s) { return s; });
  }
  void setStatus(const std::string& text, int progress) {
    controls.update([&](DialogState& s) {
      s.setText(ctl::StatusLine, text);
      s.setValue(ctl::Progress, progress);
    });
  }
  bool statusCleared() const {
    const DialogState s = state();
    return s.text(ctl::StatusLine).empty() && s.value(ctl::Progress) == 0;
  }
};

using StartUp = Fixture;
using ListRules = Fixture;
using RadioRules = Fixture;
using EditRules = Fixture;
using Commands = Fixture;

}  // namespace

TEST_F(StartUp, EveryListFilledWithoutSelection) {
  const DialogState s = state();
  for (int id : lists::allListIds()) {
    SCOPED_TRACE(id);
    EXPECT_EQ(s.items(id), lists::initialEntries(id));
    EXPECT_FALSE(s.items(id).empty());
    EXPECT_EQ(s.selection(id), -1);
  }
  EXPECT_EQ(s.items(ctl::NodeId).front(), "ID 02");
  EXPECT_EQ(s.items(ctl::NodeId).size(), 63u);
  EXPECT_EQ(s.items(ctl::DroneCanMotor).front(), "ID 01");
  EXPECT_EQ(s.items(ctl::DroneCanMotor).size(), 64u);
}

TEST_F(StartUp, RangeAndResponseEditsDisabledStatusEmpty) {
  const DialogState s = state();
  for (int id : {ctl::RangeMin, ctl::RangeMax, ctl::ResponseStarting, ctl::ResponseRunning}) {
    EXPECT_FALSE(s.enabled(id)) << id;
  }
  EXPECT_TRUE(s.enabled(ctl::AdcGain));
  EXPECT_TRUE(s.contains(ctl::StatusLine));
  EXPECT_EQ(s.text(ctl::StatusLine), "");
  EXPECT_EQ(s.value(ctl::Progress), 0);
  EXPECT_EQ(s.text(ctl::AdapterStatusLabel), "ADAPTER STATUS");
  EXPECT_EQ(s.text(ctl::DeviceStatusLabel), "DEVICE STATUS");
  EXPECT_EQ(s.text(ctl::UpdateFirmware), "UPDATE FIRMWARE");
  EXPECT_EQ(s.text(ctl::HelpText), kHelpTextA);
  EXPECT_FALSE(s.checked(ctl::AdapterIndicator));
  EXPECT_FALSE(s.checked(ctl::DeviceIndicator));
  EXPECT_EQ(s.flags, DialogFlags{});
}

TEST_F(StartUp, EveryControlOfTheTableHasItsStateAndCaption) {
  const DialogState s = state();
  for (const ControlInfo& c : mainWindowControls()) EXPECT_TRUE(s.contains(c.id)) << c.id;
  // A later change of one field (here: disabling SEND) must not blank its caption.
  controls.update([](DialogState& d) { d.setEnabled(ctl::SendSettings, false); });
  EXPECT_EQ(state().text(ctl::SendSettings), "SEND SETTINGS");
  EXPECT_EQ(state().text(ctl::SyncRectEnabled), "ENABLED");
}

TEST_F(ListRules, DroneCanEntryAloneEnablesMotorAndPoles) {
  setStatus("SETTINGS UPDATED", 100);
  controller.selectionChanged(ctl::CanControl, 3);
  EXPECT_TRUE(state().enabled(ctl::DroneCanMotor));
  EXPECT_TRUE(state().enabled(ctl::DroneCanPoles));
  EXPECT_TRUE(statusCleared());
  for (int other : {0, 1, 2}) {
    controller.selectionChanged(ctl::CanControl, 3);
    controller.selectionChanged(ctl::CanControl, other);
    EXPECT_FALSE(state().enabled(ctl::DroneCanMotor)) << other;
    EXPECT_FALSE(state().enabled(ctl::DroneCanPoles)) << other;
    EXPECT_EQ(state().selection(ctl::CanControl), other);
  }
}

TEST_F(ListRules, SettingListsClearTheStatusAndBaudDoesNot) {
  for (int id : {ctl::CutoffLevel, ctl::AdvanceTiming, ctl::StartupPower, ctl::DriveFrequency,
                 ctl::ArmingTones, ctl::SrBraking, ctl::Acceleration, ctl::Overload, ctl::Adapter,
                 ctl::DataLogSpeed, ctl::NodeId, ctl::DroneCanMotor, ctl::DroneCanPoles}) {
    setStatus("READ SETTINGS COMPLETED", 100);
    controller.selectionChanged(id, 1);
    EXPECT_TRUE(statusCleared()) << id;
    EXPECT_EQ(state().selection(id), 1) << id;
  }
  setStatus("READ SETTINGS COMPLETED", 100);
  controller.selectionChanged(ctl::CanBaud, 2);
  EXPECT_EQ(state().selection(ctl::CanBaud), 2);
  EXPECT_EQ(state().text(ctl::StatusLine), "READ SETTINGS COMPLETED");
  EXPECT_EQ(state().value(ctl::Progress), 100);
}

TEST_F(ListRules, CalibrationModeOpensRangeOrSchedulesItsReset) {
  setStatus("SETTINGS UPDATED", 100);
  controller.selectionChanged(ctl::CalibrationMode, 2);
  DialogState s = state();
  EXPECT_TRUE(s.enabled(ctl::RangeMin));
  EXPECT_TRUE(s.enabled(ctl::RangeMax));
  EXPECT_EQ(s.text(ctl::RangeMin), "1100");
  EXPECT_EQ(s.text(ctl::RangeMax), "1940");
  EXPECT_FALSE(s.flags.RangeResetPending);
  EXPECT_TRUE(statusCleared());

  controller.selectionChanged(ctl::CalibrationMode, 0);
  s = state();
  EXPECT_FALSE(s.enabled(ctl::RangeMin));
  EXPECT_EQ(s.text(ctl::RangeMin), "");
  EXPECT_TRUE(s.flags.RangeResetPending);
}

TEST_F(ListRules, MotorEditionWithoutNvqEscSetsAdapterAndResponse) {
  controller.selectionChanged(ctl::MotorEdition, 0);
  DialogState s = state();
  EXPECT_EQ(s.items(ctl::Adapter), lists::adapterDefaultOnly());
  EXPECT_EQ(s.selection(ctl::Adapter), 0);
  EXPECT_FALSE(s.enabled(ctl::Adapter));

  controller.selectionChanged(ctl::MotorEdition, 13);
  s = state();
  EXPECT_EQ(s.items(ctl::Adapter), lists::adapterEntries());
  EXPECT_TRUE(s.enabled(ctl::Adapter));
  EXPECT_TRUE(s.enabled(ctl::ResponseRunning));
  EXPECT_EQ(s.text(ctl::ResponseRunning), "50");
  EXPECT_EQ(s.text(ctl::ResponseStarting), "50");
  EXPECT_FALSE(s.enabled(ctl::Acceleration));
}

TEST_F(ListRules, MotorEditionWithNvqEscReadsTheKeptAccelerationByte) {
  EscSettings kept;
  kept.length = 41;
  kept.block[18] = 3;  // MOTOR-05's acceleration byte: "ULTRA-HIGH"
  int asked = 0;
  controller.setContext({[&] {
                           ++asked;
                           return kept;
                         },
                         [] { return true; }});
  controller.selectionChanged(ctl::MotorEdition, 5);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(state().selection(ctl::Acceleration), 3);
}

TEST_F(RadioRules, AClickTicksTheButtonAndUnticksItsPartner) {
  for (const ControlInfo& c : mainWindowControls()) {
    if (c.kind != ControlKind::Radio) continue;
    const int partner = radioPartner(c.id);
    ASSERT_NE(partner, 0) << c.id;
    controls.update([&](DialogState& s) { s.setChecked(partner, true); });
    controller.clicked(c.id);
    EXPECT_TRUE(state().checked(c.id)) << c.id;
    EXPECT_FALSE(state().checked(partner)) << c.id;
    controller.clicked(c.id);  // clicking a ticked one leaves it ticked
    EXPECT_TRUE(state().checked(c.id)) << c.id;
  }
}

TEST_F(RadioRules, InitialDisablesAndClearsNodeListFixedSelectsKeptNode) {
  EscSettings kept;
  kept.length = 41;
  kept.block[38] = 9;
  controller.setContext({[&] { return kept; }, [] { return false; }});
  controller.selectionChanged(ctl::NodeId, 4);

  controller.clicked(ctl::NodeInitial);
  DialogState s = state();
  EXPECT_FALSE(s.enabled(ctl::NodeId));
  EXPECT_EQ(s.selection(ctl::NodeId), -1);

  controller.clicked(ctl::NodeFixed);
  s = state();
  EXPECT_TRUE(s.enabled(ctl::NodeId));
  EXPECT_EQ(s.selectedText(ctl::NodeId), "ID 09");
  EXPECT_TRUE(s.checked(ctl::NodeFixed));
  EXPECT_FALSE(s.checked(ctl::NodeInitial));
}

TEST_F(RadioRules, CutoffAndSyncRectEnableTheirLists) {
  setStatus("SETTINGS UPDATED", 100);
  controller.clicked(ctl::CutoffOff);
  EXPECT_FALSE(state().enabled(ctl::CutoffLevel));
  EXPECT_EQ(state().text(ctl::StatusLine), "SETTINGS UPDATED");  // cutoff leaves the status
  controller.clicked(ctl::CutoffOn);
  EXPECT_TRUE(state().enabled(ctl::CutoffLevel));

  controller.clicked(ctl::SyncRectDisabled);
  EXPECT_FALSE(state().enabled(ctl::SrBraking));
  EXPECT_TRUE(statusCleared());
  setStatus("SETTINGS UPDATED", 100);
  controller.clicked(ctl::SyncRectEnabled);
  EXPECT_TRUE(state().enabled(ctl::SrBraking));
  EXPECT_TRUE(statusCleared());

  for (int id : {ctl::DirectionForward, ctl::DirectionReverse, ctl::PropHoldEnabled, ctl::PropHoldDisabled}) {
    setStatus("SETTINGS UPDATED", 100);
    controller.clicked(id);
    EXPECT_TRUE(statusCleared()) << id;
  }
}

TEST_F(EditRules, TypingMarksTheRangeEditedAndFocusLossChecksIt) {
  controller.selectionChanged(ctl::CalibrationMode, 2);
  controller.textEdited(ctl::RangeMin, "700");
  EXPECT_TRUE(state().flags.MinRangeEdited);
  EXPECT_EQ(state().text(ctl::RangeMin), "700");
  EXPECT_FALSE(state().flags.MaxRangeEdited);

  EXPECT_EQ(controller.focusLost(ctl::RangeMin), ctl::RangeMax);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].icon, MsgIcon::Error);
  EXPECT_EQ(prompter.shown[0].text,
            "Minimum (LOW) Calibration Range Allowed:  800 - 1250\r\nPlease Enter New Value.");
  EXPECT_EQ(state().text(ctl::StatusLine), "CALIBRATION RANGE INCORRECT");
  EXPECT_FALSE(state().flags.MinRangeEdited);

  // Not edited again: leaving the edit checks nothing.
  EXPECT_EQ(controller.focusLost(ctl::RangeMin), 0);
  EXPECT_EQ(prompter.shown.size(), 1u);
}

TEST_F(EditRules, ResponseCheckAndOtherEdits) {
  controller.textEdited(ctl::ResponseStarting, "150");
  EXPECT_EQ(controller.focusLost(ctl::ResponseStarting), 0);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text,
            "Error. Range Allowed: 1 - 100\r\nValue represents throttle % / 100ms\r\nPlease Enter New Value");
  EXPECT_EQ(state().text(ctl::ResponseStarting), "150");  // not corrected

  controller.textEdited(ctl::AdcGain, "17.5");
  EXPECT_EQ(state().text(ctl::AdcGain), "17.5");
  EXPECT_EQ(controller.focusLost(ctl::AdcGain), 0);
  EXPECT_EQ(prompter.shown.size(), 1u);
}

TEST_F(Commands, ButtonsAndInfoIconsReachTheirTargets) {
  controller.clicked(ctl::SendSettings);
  controller.clicked(ctl::DefaultSettings);
  controller.clicked(ctl::UpdateFirmware);
  controller.clicked(ctl::RepairMode, true);
  EXPECT_TRUE(state().checked(ctl::RepairMode));  // the flow reads the new state
  EXPECT_EQ(commands.calls,
            (std::vector<std::string>{"sendSettings", "defaultSettings", "updateFirmware", "repairModeClicked"}));

  controller.clicked(ctl::InfoStarting);
  controller.clicked(ctl::InfoRunning);
  ASSERT_EQ(prompter.shown.size(), 2u);
  EXPECT_NE(prompter.shown[0].text.find("Starting Throttle Response"), std::string::npos);
  EXPECT_NE(prompter.shown[1].text.find("Running Throttle Response"), std::string::npos);
}

TEST_F(Commands, EveryMenuItemReachesItsCommandAndExitEndsTheDialog) {
  const std::pair<int, const char*> routes[] = {
      {cmd::SaveAdvancedSettings, "saveAdvancedSettings"}, {cmd::LoadAdvancedSettings, "loadAdvancedSettings"},
      {cmd::DataLog, "openDataLog"},                       {cmd::ReadSettings, "readSettings"},
      {cmd::SendSettings, "sendSettings"},                 {cmd::DefaultSettings, "defaultSettings"},
      {cmd::UseTime, "useTime"},                           {cmd::Protections, "protections"},
      {cmd::Help, "help"},                                 {cmd::Version, "version"}};
  for (const auto& [id, name] : routes) {
    commands.calls.clear();
    EXPECT_EQ(controller.command(id), AfterCommand::Stay);
    EXPECT_EQ(commands.calls, std::vector<std::string>{name}) << id;
  }
  commands.calls.clear();
  EXPECT_EQ(controller.command(cmd::Exit), AfterCommand::EndDialog);
  EXPECT_EQ(controller.command(12345), AfterCommand::Stay);
  EXPECT_TRUE(commands.calls.empty());
  EXPECT_EQ(mainWindowMenu().size(), std::size(routes) + 1);
}

TEST(StatusDisplay, HelpTextBOnlyWithAdapterAndDevice) {
  EXPECT_STREQ(HelpTextFor(false, false), kHelpTextA);
  EXPECT_STREQ(HelpTextFor(true, false), kHelpTextA);
  EXPECT_STREQ(HelpTextFor(false, true), kHelpTextA);
  EXPECT_STREQ(HelpTextFor(true, true), kHelpTextB);
  EXPECT_NE(std::string(kHelpTextA).find("The \n(USB) Adapter"), std::string::npos);

  DialogState s;
  ShowConnectionStatus(s, true, false);
  EXPECT_TRUE(s.checked(ctl::AdapterIndicator));
  EXPECT_FALSE(s.checked(ctl::DeviceIndicator));
  EXPECT_EQ(s.text(ctl::HelpText), kHelpTextA);
  EXPECT_EQ(IndicatorColour(true), (Rgb{0, 255, 0}));
  EXPECT_EQ(IndicatorColour(false), (Rgb{255, 0, 0}));
}
