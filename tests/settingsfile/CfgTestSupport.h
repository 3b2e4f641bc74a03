// Controls as a read leaves them, and the support stand-ins the settings file
// tests use.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/ControlIds.h"
#include "base/ControlLists.h"
#include "base/DialogState.h"
#include "tests/support/FixedChooser.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/StartControls.h"
#include "tests/support/TempDir.h"

namespace orx::test {

// An NVQ series ESC just read: every list filled and showing an entry.
inline DialogState stm32Controls() {
  DialogState s;
  fillStartLists(s);
  auto sel = [&](int id, const char* text) { s.selectText(id, text); };
  sel(ctl::StartupPower, "LOW (SOFT)");
  sel(ctl::DriveFrequency, "DYNAMIC");
  sel(ctl::SrBraking, "BALANCED");
  sel(ctl::CalibrationMode, "RANGE");
  sel(ctl::CutoffLevel, "3.4 V/CELL");
  sel(ctl::AdvanceTiming, "PRECISION");
  sel(ctl::ArmingTones, "ARM ONLY");
  sel(ctl::MotorEdition, "MOTOR-07");
  sel(ctl::Adapter, "TRIPLE");
  sel(ctl::CanBaud, "250K");
  sel(ctl::CanControl, "DRONECAN");
  sel(ctl::Overload, "STANDARD");
  sel(ctl::Acceleration, "HIGH");
  sel(ctl::DataLogSpeed, "2HZ");
  sel(ctl::NodeId, "ID 09");
  sel(ctl::DroneCanMotor, "ID 17");
  sel(ctl::DroneCanPoles, "14");
  s.setText(ctl::FirmwareVersion, "D2.23");
  s.setText(ctl::RangeMin, "1100");
  s.setText(ctl::RangeMax, "1940");
  s.setChecked(ctl::SyncRectEnabled, true);
  s.setChecked(ctl::CutoffOn, true);
  s.setChecked(ctl::DirectionReverse, true);
  s.setChecked(ctl::PropHoldEnabled, true);
  s.setChecked(ctl::StallDisabled, true);
  s.setChecked(ctl::NodeFixed, true);
  s.takeChanged();
  return s;
}

// An older ESC read over the CP210x adapter.
inline DialogState cp210xControls() {
  DialogState s = stm32Controls();
  s.setItems(ctl::MotorEdition, lists::motorEditionsCp210x());
  s.selectText(ctl::MotorEdition, "MOTOR-09");
  s.setItems(ctl::StartupPower, lists::startupPowerCp210x());
  s.selectText(ctl::StartupPower, "HIGH (HARD)");
  s.selectText(ctl::DataLogSpeed, "DISABLED");
  s.selectText(ctl::CanControl, "PWM SYNC");
  s.selectText(ctl::CanBaud, "DISABLED");
  for (int id : {ctl::DataLogSpeed, ctl::NodeInitial, ctl::NodeFixed, ctl::NodeId, ctl::DroneCanMotor,
                 ctl::DroneCanPoles, ctl::CanControl, ctl::CanBaud})
    s.setEnabled(id, false);
  s.takeChanged();
  return s;
}

}  // namespace orx::test
