#include "base/MainWindowControls.h"

#include <utility>

#include "base/StatusDisplay.h"
#include "base/ControlIds.h"
#include "base/ControlLists.h"

namespace orx {

const std::vector<ControlInfo>& mainWindowControls() {
  using K = ControlKind;
  static const std::vector<ControlInfo> controls{
      {ctl::FirmwareVersion, K::Static, ""},
      {ctl::McuId, K::Static, ""},
      {ctl::EscId, K::Static, ""},
      {ctl::AdapterStatusLabel, K::Static, "ADAPTER STATUS"},
      {ctl::DeviceStatusLabel, K::Static, "DEVICE STATUS"},
      {ctl::AdapterIndicator, K::Indicator, ""},
      {ctl::DeviceIndicator, K::Indicator, ""},
      {ctl::UpdateFirmware, K::PushButton, "UPDATE FIRMWARE"},
      {ctl::RepairMode, K::CheckBox, "REPAIR MODE"},
      {ctl::StatusLine, K::ReadOnlyEdit, ""},
      {ctl::Progress, K::Progress, ""},
      {ctl::HelpText, K::Static, kHelpTextA},
      {ctl::StartupPower, K::DropList, ""},
      {ctl::DriveFrequency, K::DropList, ""},
      {ctl::SyncRectEnabled, K::Radio, "ENABLED"},
      {ctl::SyncRectDisabled, K::Radio, "DISABLED"},
      {ctl::SrBraking, K::DropList, ""},
      {ctl::CalibrationMode, K::DropList, ""},
      {ctl::RangeMin, K::Edit, ""},
      {ctl::RangeMax, K::Edit, ""},
      {ctl::CutoffOn, K::Radio, "ON"},
      {ctl::CutoffOff, K::Radio, "OFF"},
      {ctl::CutoffLevel, K::DropList, ""},
      {ctl::AdvanceTiming, K::DropList, ""},
      {ctl::DirectionForward, K::Radio, "FORWARD"},
      {ctl::DirectionReverse, K::Radio, "REVERSE"},
      {ctl::ArmingTones, K::DropList, ""},
      {ctl::PropHoldEnabled, K::Radio, "ENABLED"},
      {ctl::PropHoldDisabled, K::Radio, "DISABLED"},
      {ctl::MotorEdition, K::DropList, ""},
      {ctl::NodeInitial, K::Radio, "INITIAL"},
      {ctl::NodeFixed, K::Radio, "FIXED"},
      {ctl::NodeId, K::DropList, ""},
      {ctl::CanBaud, K::DropList, ""},
      {ctl::CanControl, K::DropList, ""},
      {ctl::DataLogSpeed, K::DropList, ""},
      {ctl::Adapter, K::DropList, ""},
      {ctl::Acceleration, K::DropList, ""},
      {ctl::DroneCanMotor, K::DropList, ""},
      {ctl::DroneCanPoles, K::DropList, ""},
      {ctl::StallEnabled, K::Radio, "ENABLED"},
      {ctl::StallDisabled, K::Radio, "DISABLED"},
      {ctl::Overload, K::DropList, ""},
      {ctl::ResponseRunning, K::Edit, ""},
      {ctl::ResponseStarting, K::Edit, ""},
      {ctl::InfoRunning, K::InfoButton, ""},
      {ctl::InfoStarting, K::InfoButton, ""},
      {ctl::AdcGain, K::Edit, ""},
      {ctl::AdcOffset, K::Edit, ""},
      {ctl::SendSettings, K::PushButton, "SEND SETTINGS"},
      {ctl::DefaultSettings, K::PushButton, "DEFAULT SETTINGS"},
  };
  return controls;
}

const ControlInfo* findControl(int id) {
  for (const ControlInfo& c : mainWindowControls()) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

int radioPartner(int id) {
  static const std::pair<int, int> pairs[] = {
      {ctl::SyncRectEnabled, ctl::SyncRectDisabled}, {ctl::CutoffOn, ctl::CutoffOff},
      {ctl::DirectionForward, ctl::DirectionReverse}, {ctl::PropHoldEnabled, ctl::PropHoldDisabled},
      {ctl::NodeInitial, ctl::NodeFixed},             {ctl::StallEnabled, ctl::StallDisabled},
  };
  for (const auto& [a, b] : pairs) {
    if (id == a) return b;
    if (id == b) return a;
  }
  return 0;
}

void WriteInitialControls(DialogState& s) {
  for (const ControlInfo& c : mainWindowControls()) {
    ControlState state;
    state.text = c.text;
    state.items = lists::initialEntries(c.id);
    s.set(c.id, state);
  }
  for (int id : {ctl::RangeMin, ctl::RangeMax, ctl::ResponseStarting, ctl::ResponseRunning}) {
    s.setEnabled(id, false);
  }
  ShowConnectionStatus(s, false, false);
}

const std::vector<MenuItem>& mainWindowMenu() {
  static const std::vector<MenuItem> items{
      {cmd::SaveAdvancedSettings, "File", "Save Advanced Settings"},
      {cmd::LoadAdvancedSettings, "File", "Load Advanced Settings"},
      {cmd::DataLog, "File", "NVQ Series Data Log", true},
      {cmd::Exit, "File", "Exit", true},
      {cmd::ReadSettings, "Options", "Read Settings"},
      {cmd::SendSettings, "Options", "Send Settings"},
      {cmd::DefaultSettings, "Options", "Default Settings"},
      {cmd::UseTime, "Options", "ESC Use Time", true},
      {cmd::Protections, "Options", "Protections"},
      {cmd::Help, "Help", "Help"},
      {cmd::Version, "Help", "Version"},
  };
  return items;
}

}  // namespace orx
