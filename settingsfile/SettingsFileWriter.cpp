#include "settingsfile/SettingsFileWriter.h"

#include <array>

#include "base/ControlIds.h"
#include "base/Format.h"
#include "settingsfile/SettingsFileLayout.h"

namespace orx::cfg {
namespace {

const char* choice(bool ticked, const char* yes, const char* no) { return ticked ? yes : no; }

// Formatted by hand: Windows' strftime refuses a time with a field out of
// range (day 0, say) and gives nothing, which would drop the line.
std::string formatDate(const std::tm& t) {
  return strprintf(kDateFormat, t.tm_mon + 1, t.tm_mday, t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
}

std::string rangeText(const DialogState& c) {
  const std::string& min = c.text(ctl::RangeMin);
  const std::string& max = c.text(ctl::RangeMax);
  if (min.empty() || max.empty()) return {};
  return min + "-" + max;
}

// The values of key 1..24, in file order.
std::array<std::string, kKeyCount> values(const DialogState& c) {
  const bool initial = c.checked(ctl::NodeInitial);
  return {
      c.selectedText(ctl::StartupPower),
      c.selectedText(ctl::DriveFrequency),
      choice(c.checked(ctl::SyncRectEnabled), "ENABLED", "DISABLED"),
      c.selectedText(ctl::SrBraking),
      c.selectedText(ctl::CalibrationMode),
      rangeText(c),
      choice(c.checked(ctl::CutoffOn), "ON", "OFF"),
      c.selectedText(ctl::CutoffLevel),
      c.selectedText(ctl::AdvanceTiming),
      choice(c.checked(ctl::DirectionForward), "FORWARD", "REVERSE"),
      c.selectedText(ctl::ArmingTones),
      choice(c.checked(ctl::PropHoldEnabled), "ENABLED", "DISABLED"),
      c.selectedText(ctl::MotorEdition),
      c.selectedText(ctl::Adapter),
      c.selectedText(ctl::CanBaud),
      c.selectedText(ctl::CanControl),
      c.selectedText(ctl::Overload),
      c.selectedText(ctl::Acceleration),
      c.selectedText(ctl::DataLogSpeed),
      choice(c.checked(ctl::StallEnabled), "ENABLED", "DISABLED"),
      choice(initial, "INITIALIZE", "FIXED"),
      initial ? std::string("ID 01") : c.selectedText(ctl::NodeId),
      c.selectedText(ctl::DroneCanMotor),
      c.selectedText(ctl::DroneCanPoles),
  };
}

}  // namespace

std::string FormatSettingsFile(const DialogState& controls, const std::tm& savedAt) {
  std::string out;
  out.reserve(1024);
  auto line = [&out](const std::string& text) {
    out += text;
    out += kLineEnd;
  };
  line(kHeader1);
  line(kHeader2);
  line(std::string(kDateKey) + formatDate(savedAt));
  line(std::string(kFirmwareKey) + controls.text(ctl::FirmwareVersion));
  line("");
  const auto v = values(controls);
  for (int k = 0; k < kKeyCount; ++k) line(std::string(kKeyTexts[static_cast<size_t>(k)]) + v[static_cast<size_t>(k)]);
  return out;
}

std::vector<int> EmptyRequiredFields(const DialogState& controls) {
  static const std::array<int, 14> required{
      ctl::StartupPower, ctl::DriveFrequency, ctl::SrBraking,   ctl::CalibrationMode, ctl::CutoffLevel,
      ctl::AdvanceTiming, ctl::ArmingTones,   ctl::MotorEdition, ctl::Acceleration,   ctl::Overload,
      ctl::DataLogSpeed,  ctl::Adapter,       ctl::CanBaud,      ctl::CanControl};
  const bool customMotor = controls.selectedText(ctl::MotorEdition) == "CUSTOM MOTOR";
  std::vector<int> empty;
  for (int id : required) {
    if (id == ctl::Acceleration && customMotor) continue;
    if (controls.selectedText(id).empty()) empty.push_back(id);
  }
  return empty;
}

}  // namespace orx::cfg
