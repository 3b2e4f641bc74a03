#include "protocol/SettingsHandlers.h"

#include "base/ControlIds.h"
#include "base/ControlLists.h"
#include "protocol/EditInteger.h"
#include "protocol/SettingsBlockCodec.h"

namespace orx {
namespace {

void setThrottleResponseMode(DialogState& s, bool custom) {
  s.setEnabled(ctl::ResponseRunning, custom);
  s.setEnabled(ctl::ResponseStarting, custom);
  if (custom) {
    s.setText(ctl::ResponseRunning, "50");
    s.setText(ctl::ResponseStarting, "50");
    s.select(ctl::Acceleration, -1);
    s.setEnabled(ctl::Acceleration, false);
  } else {
    s.setEnabled(ctl::Acceleration, true);
    s.setText(ctl::ResponseRunning, "");
    s.setText(ctl::ResponseStarting, "");
  }
}

HandlerOutcome rangeOutcome(DialogState& s, bool inRange, const char* text, int focus) {
  HandlerOutcome out;
  if (inRange) {
    s.setText(ctl::StatusLine, "");
    return out;
  }
  out.message = errorBox(text);
  out.moveFocusTo = focus;
  s.setText(ctl::StatusLine, kRangeIncorrectStatus);
  return out;
}

}  // namespace

void ClearStatus(DialogState& s) {
  s.setText(ctl::StatusLine, "");
  s.setValue(ctl::Progress, 0);
}

void ResetControls(DialogState& s) {
  ClearStatus(s);
  for (int id : lists::allListIds()) s.select(id, -1);
  for (int id : {ctl::StallDisabled, ctl::StallEnabled, ctl::NodeInitial, ctl::NodeFixed,
                 ctl::SyncRectDisabled, ctl::SyncRectEnabled, ctl::DirectionForward,
                 ctl::DirectionReverse, ctl::CutoffOn, ctl::CutoffOff, ctl::PropHoldDisabled,
                 ctl::PropHoldEnabled})
    s.setChecked(id, false);
  for (int id : {ctl::RangeMax, ctl::RangeMin, ctl::AdcGain, ctl::AdcOffset, ctl::FirmwareVersion,
                 ctl::McuId, ctl::EscId})
    s.setText(id, "");
}

void OnCalibrationModeChange(DialogState& s) {
  if (s.selection(ctl::CalibrationMode) == 2) {
    s.setEnabled(ctl::RangeMin, true);
    s.setEnabled(ctl::RangeMax, true);
    s.setText(ctl::RangeMin, "1100");
    s.setText(ctl::RangeMax, "1940");
  } else {
    s.setText(ctl::RangeMin, "");
    s.setText(ctl::RangeMax, "");
    s.setEnabled(ctl::RangeMin, false);
    s.setEnabled(ctl::RangeMax, false);
    s.flags.RangeResetPending = true;
  }
  ClearStatus(s);
}

void OnMotorEditionChange(DialogState& s, const EscSettings& kept, bool nvqAnswering) {
  const int entry = s.selection(ctl::MotorEdition);
  if (entry != 0) {
    s.setItems(ctl::Adapter, lists::adapterEntries());
    s.select(ctl::Adapter, 0);
    s.setEnabled(ctl::Adapter, true);
  } else {
    s.setItems(ctl::Adapter, lists::adapterDefaultOnly());
    s.select(ctl::Adapter, 0);
    s.setEnabled(ctl::Adapter, false);
  }

  const bool custom = entry == kCustomMotorEntry;
  if (!nvqAnswering) {
    // No block to consult: the editions' factory rates.
    s.select(ctl::Acceleration, (entry == 1 || entry == 8 || entry == 9) ? 0 : 1);
    setThrottleResponseMode(s, custom);
    ClearStatus(s);
    return;
  }
  setThrottleResponseMode(s, custom);
  if (!custom) {
    if (auto b = accelerationByteOfEntry(entry)) s.select(ctl::Acceleration, kept.d(*b));
  }
}

void OnFixedClick(DialogState& s, const EscSettings& kept) {
  s.setChecked(ctl::NodeFixed, true);
  s.setChecked(ctl::NodeInitial, false);
  s.setEnabled(ctl::NodeId, true);
  s.select(ctl::NodeId, kept.d(38) - 2);
}

HandlerOutcome OnRangeMinFocusLost(DialogState& s) {
  if (s.selection(ctl::CalibrationMode) != 2 || !s.flags.MinRangeEdited) return {};
  s.flags.MinRangeEdited = false;
  const int v = editInteger(s.text(ctl::RangeMin));
  return rangeOutcome(s, v >= kRangeMinLow && v <= kRangeMinHigh,
                      "Minimum (LOW) Calibration Range Allowed:  800 - 1250\r\nPlease Enter New Value.",
                      ctl::RangeMax);
}

HandlerOutcome OnRangeMaxFocusLost(DialogState& s) {
  if (s.selection(ctl::CalibrationMode) != 2 || !s.flags.MaxRangeEdited) return {};
  s.flags.MaxRangeEdited = false;
  const int v = editInteger(s.text(ctl::RangeMax));
  return rangeOutcome(s, v >= kRangeMaxLow && v <= kRangeMaxHigh,
                      "Maximum (HIGH) Calibration Range Allowed:  1750 - 2200\r\nPlease Enter New Value.",
                      0);
}

HandlerOutcome OnThrottleResponseFocusLost(DialogState& s, int controlId) {
  HandlerOutcome out;
  const int v = editInteger(s.text(controlId));
  if (v < 1 || v > 100) {
    out.message = errorBox(
        "Error. Range Allowed: 1 - 100\r\nValue represents throttle % / 100ms\r\nPlease Enter New Value");
    return out;
  }
  s.setText(ctl::StatusLine, "");
  return out;
}

Message StartingResponseInfo() {
  return warningBox(
      "Starting Throttle Response\r\nRange Allowed: 1 - 100\r\nValue represents throttle % / 100ms\r\n\r\n"
      "This feature is only available for the NVQ Series ESC with the Custom Motor Edition Selected. "
      "This is an advanced setting, Use at your own risk!");
}

Message RunningResponseInfo() {
  return warningBox(
      "Running Throttle Response\r\nRange Allowed: 1 - 100\r\nValue represents throttle % / 100ms\r\n\r\n"
      "This feature is only available for the NVQ Series ESC with the Custom Motor Edition Selected. "
      "This is an advance setting, Use at your own risk!");
}

void OnCanControlChange(DialogState& s) {
  const bool droneCan = s.selection(ctl::CanControl) == 3;
  s.setEnabled(ctl::DroneCanMotor, droneCan);
  s.setEnabled(ctl::DroneCanPoles, droneCan);
  ClearStatus(s);
}

void OnCutoffClick(DialogState& s, int controlId) {
  s.setEnabled(ctl::CutoffLevel, controlId == ctl::CutoffOn);
}

void OnSyncRectClick(DialogState& s, int controlId) {
  s.setEnabled(ctl::SrBraking, controlId == ctl::SyncRectEnabled);
  ClearStatus(s);
}

void OnStallClick(DialogState& s, int controlId) {
  s.setChecked(controlId == ctl::StallEnabled ? ctl::StallDisabled : ctl::StallEnabled, false);
}

void OnInitialClick(DialogState& s) {
  s.setChecked(ctl::NodeFixed, false);
  s.setEnabled(ctl::NodeId, false);
  s.select(ctl::NodeId, -1);
}

}  // namespace orx
