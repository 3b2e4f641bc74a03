#include "protocol/SettingsDumpCodec.h"

#include <optional>

#include "base/ControlIds.h"
#include "base/ControlLists.h"
#include "base/Format.h"
#include "protocol/EscSettings.h"

namespace orx {
namespace {

class Dump {
 public:
  explicit Dump(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  std::optional<uint8_t> at(size_t pos) const {
    if (pos >= bytes_.size()) return std::nullopt;
    return bytes_[pos];
  }
  bool is(size_t pos, uint8_t value) const { return at(pos) == value; }

 private:
  std::span<const uint8_t> bytes_;
};

void tickPair(DialogState& s, int on, int off) {
  s.setChecked(on, true);
  s.setChecked(off, false);
}

// Selects entry (byte - first) when byte lies in [first, first + count).
void selectByCode(DialogState& s, int id, std::optional<uint8_t> byte, int first, int count) {
  if (byte && *byte >= first && *byte < first + count) s.select(id, *byte - first);
}

void decodeOverload(DialogState& s, const Dump& d) {
  const bool marker = d.is(25, 0xF8) && d.is(26, 5);
  s.select(ctl::DataLogSpeed, 4);
  if (marker) {
    s.setEnabled(ctl::Overload, true);
    if (d.is(27, 0xF9)) {
      if (auto v = d.at(28)) {
        const int entry = *v == 118 ? 0 : *v == 117 ? 1 : *v - 117;
        if (entry >= 0 && entry <= 2) s.select(ctl::Overload, entry);
      }
    }
    return;
  }
  s.selectText(ctl::Overload, "ULTRA-HIGH");
  s.setEnabled(ctl::Overload, false);
  if (d.is(25, 0xF8) && d.at(26)) s.setEnabled(ctl::MotorEdition, true);
}

void decodeMotorEdition(DialogState& s, const Dump& d) {
  const auto code = d.at(2);
  if (!code) return;
  for (size_t i = 0; i < kCp210xMotorCodes.size(); ++i) {
    if (kCp210xMotorCodes[i] != *code) continue;
    s.select(ctl::MotorEdition, static_cast<int>(i));
    if (auto rate = d.at(24); rate && (*rate & 0x0F) >= 1 && (*rate & 0x0F) <= 4)
      s.select(ctl::Acceleration, (*rate & 0x0F) - 1);
    return;
  }
}

void decodeCalibration(DialogState& s, const Dump& d) {
  selectByCode(s, ctl::CalibrationMode, d.at(13), 0xF0, 3);
  const auto mode = d.at(13);
  if (!mode || *mode < 0xF0 || *mode > 0xF2) return;
  if (*mode != 0xF2) {
    // As after a block read: the edits only mean something in RANGE mode.
    s.setText(ctl::RangeMin, "");
    s.setText(ctl::RangeMax, "");
    s.setEnabled(ctl::RangeMin, false);
    s.setEnabled(ctl::RangeMax, false);
    return;
  }
  if (d.at(16) && d.at(18)) {
    s.setText(ctl::RangeMin, strprintf("%d", *d.at(18) * 128 + (*d.at(16) >> 1)));
    s.setEnabled(ctl::RangeMin, true);
  }
  if (d.at(20) && d.at(22)) {
    s.setText(ctl::RangeMax, strprintf("%d", *d.at(22) * 128 + (*d.at(20) >> 1)));
    s.setEnabled(ctl::RangeMax, true);
  }
}

void decodePositions(DialogState& s, const Dump& d) {
  if (auto v = d.at(0)) {
    if (*v == 0xA1) tickPair(s, ctl::PropHoldEnabled, ctl::PropHoldDisabled);
    else tickPair(s, ctl::PropHoldDisabled, ctl::PropHoldEnabled);
  }
  decodeMotorEdition(s, d);
  if (d.is(7, 0x70)) s.select(ctl::DriveFrequency, 2);
  else if (d.is(7, 0x71)) s.select(ctl::DriveFrequency, 1);
  else if (d.is(7, 0x72)) s.select(ctl::DriveFrequency, 0);
  selectByCode(s, ctl::StartupPower, d.at(10), 0xC0, 2);
  for (int i = 0; i < 4; ++i)
    if (d.is(3, static_cast<uint8_t>(0x37 + 2 * i))) s.select(ctl::CutoffLevel, i);
  if (d.is(4, 0x41)) {
    tickPair(s, ctl::CutoffOn, ctl::CutoffOff);
    s.setEnabled(ctl::CutoffLevel, true);
  } else if (d.is(4, 0x42)) {
    tickPair(s, ctl::CutoffOff, ctl::CutoffOn);
    s.setEnabled(ctl::CutoffLevel, false);
  }
  if (d.is(6, 0x61)) s.select(ctl::AdvanceTiming, 0);
  else if (d.is(6, 0x63)) s.select(ctl::AdvanceTiming, 1);
  if (d.is(8, 0x80)) tickPair(s, ctl::DirectionForward, ctl::DirectionReverse);
  else if (d.is(8, 0x81)) tickPair(s, ctl::DirectionReverse, ctl::DirectionForward);
  if (auto v = d.at(11)) {
    if (*v == 0xB0) {
      tickPair(s, ctl::SyncRectDisabled, ctl::SyncRectEnabled);
      s.setEnabled(ctl::SrBraking, false);
    } else if (*v >= 0xB1 && *v <= 0xB3) {
      tickPair(s, ctl::SyncRectEnabled, ctl::SyncRectDisabled);
      s.select(ctl::SrBraking, *v - 0xB1);
      s.setEnabled(ctl::SrBraking, true);
    }
  }
  selectByCode(s, ctl::ArmingTones, d.at(12), 0xE0, 3);
  decodeCalibration(s, d);
  const auto stall = d.is(25, 0xF8) ? d.at(29) : d.at(27);
  if (stall == 123) tickPair(s, ctl::StallDisabled, ctl::StallEnabled);
  else if (stall == 124) tickPair(s, ctl::StallEnabled, ctl::StallDisabled);
  if (auto v = d.at(30); v && *v >= 0xE5 && *v <= 0xE7) {
    // ADAPTER may still hold the single "DEFAULT" of an earlier read.
    if (s.items(ctl::Adapter) != lists::adapterEntries()) s.setItems(ctl::Adapter, lists::adapterEntries());
    s.setEnabled(ctl::Adapter, true);
    s.select(ctl::Adapter, *v - 0xE5);
  }
}

}  // namespace

void prepareCp210xRead(DialogState& s) {
  s.setText(ctl::StatusLine, "");
  s.setItems(ctl::MotorEdition, lists::motorEditionsCp210x());
  s.setItems(ctl::StartupPower, lists::startupPowerCp210x());
  s.setEnabled(ctl::ResponseRunning, false);
  s.setEnabled(ctl::ResponseStarting, false);
  s.setEnabled(ctl::Acceleration, true);
}

std::string dumpProgressText(size_t index) {
  return strprintf("READING PARAMETERS...%d%%", dumpProgressValue(index));
}

int dumpProgressValue(size_t index) {
  return static_cast<int>(index < 100000 ? index * 2 : 200000);
}

void decodeSettingsDump(DialogState& s, std::span<const uint8_t> bytes) {
  const Dump d(bytes);
  s.setValue(ctl::Progress, 100);
  for (int id : {ctl::DataLogSpeed, ctl::NodeInitial, ctl::NodeFixed, ctl::NodeId, ctl::DroneCanMotor,
                 ctl::DroneCanPoles, ctl::AdcGain, ctl::AdcOffset})
    s.setEnabled(id, false);

  decodeOverload(s, d);
  decodePositions(s, d);

  if (s.selection(ctl::MotorEdition) == 0) {
    s.setItems(ctl::Adapter, lists::adapterDefaultOnly());
    s.select(ctl::Adapter, 0);
    s.setEnabled(ctl::Adapter, false);
  }
  s.select(ctl::CanControl, 0);
  s.setEnabled(ctl::CanControl, false);
  s.select(ctl::CanBaud, 5);
  s.setEnabled(ctl::CanBaud, false);
}

}  // namespace orx
