#include "settingsfile/SettingsApply.h"

#include <initializer_list>

#include "base/ControlIds.h"
#include "base/ControlLists.h"
#include "base/Format.h"
#include "base/InputRules.h"
#include "settingsfile/SettingsFileLayout.h"

namespace orx::cfg {
namespace {

// Index of `value` among `texts`, else `texts.size()` (the rule's "else" entry).
int indexOr(const std::string& value, std::initializer_list<const char*> texts) {
  int i = 0;
  for (const char* t : texts) {
    if (value == t) return i;
    ++i;
  }
  return i;
}

// A pair of radio buttons: `first` ticked when `value` equals `match`.
void tickPair(DialogState& c, const std::string& value, const char* match, int first, int second) {
  const bool on = value == match;
  c.setChecked(first, on);
  c.setChecked(second, !on);
}

// "ID 02".."ID 64" style numbers, as the lists show them: the index of the
// number within first..last (step apart), or -1.
int numberedIndex(const std::string& value, const char* prefix, int first, int last, int step) {
  for (int n = first, i = 0; n <= last; n += step, ++i)
    if (value == strprintf("%s%02d", prefix, n)) return i;
  return -1;
}

void applyMotorEdition(DialogState& c, const std::string& value, const LoadContext& ctx) {
  c.setItems(ctl::MotorEdition, ctx.stm32EscActive ? lists::motorEditionsNvq() : lists::motorEditionsFileCp210x());
  c.selectText(ctl::MotorEdition, value);
}

void applyAdapter(DialogState& c, const std::string& value) {
  if (value == "DEFAULT") {
    c.setItems(ctl::Adapter, lists::adapterDefaultOnly());
    c.select(ctl::Adapter, 0);
    c.setEnabled(ctl::Adapter, false);
    return;
  }
  // A list left at the single "DEFAULT" entry would otherwise show "DEFAULT"
  // for "DUAL" and nothing at all for the others.
  if (c.items(ctl::Adapter) != lists::adapterEntries()) c.setItems(ctl::Adapter, lists::adapterEntries());
  c.select(ctl::Adapter, indexOr(value, {"DUAL", "TRIPLE"}));
  c.setEnabled(ctl::Adapter, true);
}

void splitRange(const std::string& value, RangeTexts& range) {
  range = {};
  const size_t dash = value.find('-');
  if (dash == std::string::npos) {
    range.min = value;
    return;
  }
  range.min = value.substr(0, dash);
  for (size_t i = dash + 1; i < value.size(); ++i)
    if (value[i] != '-') range.max += value[i];
}

}  // namespace

void ApplySettingsValue(DialogState& c, const SettingsValue& sv, const LoadContext& ctx, RangeTexts& range) {
  const std::string& v = sv.value;
  switch (sv.key) {
    case StartupPower:
      c.setItems(ctl::StartupPower, lists::startupPowerNvq());
      c.select(ctl::StartupPower, indexOr(v, {"DYNAMIC", "HIGH (HARD)"}));
      break;
    case DriveFrequency:
      c.select(ctl::DriveFrequency, indexOr(v, {"PRECISION", "DYNAMIC"}));
      break;
    case SyncRectification:
      tickPair(c, v, "ENABLED", ctl::SyncRectEnabled, ctl::SyncRectDisabled);
      c.setEnabled(ctl::SrBraking, v == "ENABLED");
      break;
    case SrBraking:
      c.select(ctl::SrBraking, indexOr(v, {"PRECISION", "DYNAMIC"}));
      break;
    case CalibrationMode:
      c.select(ctl::CalibrationMode, indexOr(v, {"DYNAMIC", "MANUAL"}));
      break;
    case CalibrationRange:
      if (c.selectedText(ctl::CalibrationMode) == "RANGE") splitRange(v, range);
      break;
    case CutoffOnOff:
      tickPair(c, v, "ON", ctl::CutoffOn, ctl::CutoffOff);
      c.setEnabled(ctl::CutoffLevel, v == "ON");
      break;
    case CutoffLevel:
      c.select(ctl::CutoffLevel, indexOr(v, {"3.0 V/CELL", "3.2 V/CELL", "3.4 V/CELL"}));
      break;
    case AdvanceTiming:
      c.select(ctl::AdvanceTiming, indexOr(v, {"DYNAMIC"}));
      break;
    case MotorDirection:
      tickPair(c, v, "FORWARD", ctl::DirectionForward, ctl::DirectionReverse);
      break;
    case ArmingTones:
      c.select(ctl::ArmingTones, indexOr(v, {"STANDARD", "ARM ONLY"}));
      break;
    case PropellerHold:
      tickPair(c, v, "DISABLED", ctl::PropHoldDisabled, ctl::PropHoldEnabled);
      break;
    case MotorEdition:
      applyMotorEdition(c, v, ctx);
      break;
    case Adapter:
      applyAdapter(c, v);
      break;
    case CanBaud:
      c.select(ctl::CanBaud, indexOr(v, {"1000K", "500K", "250K", "125K", "100K"}));
      break;
    case CanControl:
      if (v == "DRONECAN") c.select(ctl::CanControl, 3);
      else if (v == "ORXCAN" || v == "CAN BUS") c.select(ctl::CanControl, 1);
      else if (v == "PWM ONLY") c.select(ctl::CanControl, 2);
      else c.select(ctl::CanControl, 0);
      break;
    case Overload:
      c.select(ctl::Overload, indexOr(v, {"ULTRA-HIGH", "STANDARD"}));
      break;
    case Acceleration:
      c.select(ctl::Acceleration, indexOr(v, {"MEDIUM", "MEDIUM-HIGH", "HIGH"}));
      break;
    case DataLogSpeed:
      if (ctx.stm32AdapterConnected) c.select(ctl::DataLogSpeed, indexOr(v, {"8HZ", "4HZ", "2HZ", "1HZ"}));
      break;
    case StallProtection:
      tickPair(c, v, "DISABLED", ctl::StallDisabled, ctl::StallEnabled);
      break;
    case DefaultEscId:
      tickPair(c, v, "INITIALIZE", ctl::NodeInitial, ctl::NodeFixed);
      if (v == "INITIALIZE") c.select(ctl::NodeId, -1);
      c.setEnabled(ctl::NodeId, v != "INITIALIZE");
      break;
    case NodeId:
      if (int i = numberedIndex(v, "ID ", 2, 64, 1); i >= 0) c.select(ctl::NodeId, i);
      break;
    case DroneCanMotor:
      if (int i = numberedIndex(v, "ID ", 1, 64, 1); i >= 0) c.select(ctl::DroneCanMotor, i);
      break;
    case DroneCanPoles:
      if (int i = numberedIndex(v, "", 2, 48, 2); i >= 0) c.select(ctl::DroneCanPoles, i);
      break;
    default:
      break;  // key indexes past the table carry nothing
  }
}

std::vector<RefusedValue> FinishSettingsLoad(DialogState& c, const RangeTexts& range) {
  std::vector<RefusedValue> refused;
  auto fill = [&](int id, const std::string& text, const char* what) {
    c.setEnabled(id, true);
    if (rules::FitsNumberEdit(text)) {
      c.setText(id, text);
      return;
    }
    c.setText(id, "");
    refused.push_back({what, text});
  };
  fill(ctl::RangeMin, range.min, "THROTTLE CALIBRATION RANGE MIN(LOW)");
  fill(ctl::RangeMax, range.max, "THROTTLE CALIBRATION RANGE MAX(HIGH)");
  if (c.selectedText(ctl::CalibrationMode) != "RANGE") {
    c.setEnabled(ctl::RangeMin, false);
    c.setEnabled(ctl::RangeMax, false);
    c.flags.RangeResetPending = true;
  }
  const bool droneCan = c.selectedText(ctl::CanControl) == "DRONECAN";
  c.setEnabled(ctl::DroneCanMotor, droneCan);
  c.setEnabled(ctl::DroneCanPoles, droneCan);
  return refused;
}

std::vector<RefusedValue> ApplySettingsFile(DialogState& controls, const std::vector<SettingsValue>& values,
                                            const LoadContext& context) {
  RangeTexts range;
  for (const SettingsValue& v : values) ApplySettingsValue(controls, v, context, range);
  return FinishSettingsLoad(controls, range);
}

}  // namespace orx::cfg
