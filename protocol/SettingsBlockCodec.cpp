#include "protocol/SettingsBlockCodec.h"

#include <algorithm>
#include <span>

#include "base/ControlIds.h"
#include "base/ControlLists.h"
#include "base/Format.h"
#include "protocol/BlockFrame.h"
#include "protocol/EditInteger.h"

namespace orx {
namespace {

void tickPair(DialogState& s, int on, int off) {
  s.setChecked(on, true);
  s.setChecked(off, false);
}

// A byte outside its table leaves its control blank rather than as an earlier
// read left it: the encoding keeps the byte of a blank control, where it would
// write the stale value of another ESC back to this one.
void untick(DialogState& s, int a, int b) {
  s.setChecked(a, false);
  s.setChecked(b, false);
}

// Selects entry `value` when it lies in [0, count); returns whether it did.
bool selectIfIn(DialogState& s, int id, int value, int count) {
  if (value < 0 || value >= count) return false;
  s.select(id, value);
  return true;
}

// ADAPTER holds only "DEFAULT" after a DEFAULT motor edition; a later read of
// another edition must offer the real entries again before selecting one.
void ensureAdapterEntries(DialogState& s) {
  if (s.items(ctl::Adapter) != lists::adapterEntries()) s.setItems(ctl::Adapter, lists::adapterEntries());
  s.setEnabled(ctl::Adapter, true);
}

void showDefaultAdapter(DialogState& s) {
  s.setItems(ctl::Adapter, lists::adapterDefaultOnly());
  s.select(ctl::Adapter, 0);
  s.setEnabled(ctl::Adapter, false);
}

void showThrottleResponse(DialogState& s, const std::string& running, const std::string& starting) {
  s.setEnabled(ctl::ResponseRunning, true);
  s.setEnabled(ctl::ResponseStarting, true);
  s.setText(ctl::ResponseRunning, running);
  s.setText(ctl::ResponseStarting, starting);
  s.select(ctl::Acceleration, -1);
  s.setEnabled(ctl::Acceleration, false);
}

void showAcceleration(DialogState& s) {
  s.setEnabled(ctl::Acceleration, true);
  s.setText(ctl::ResponseRunning, "");
  s.setText(ctl::ResponseStarting, "");
  s.setEnabled(ctl::ResponseRunning, false);
  s.setEnabled(ctl::ResponseStarting, false);
}

// Step 3 of the decoding: d[0] .. d[13]. False when any byte is outside its table.
bool decodeFirstBytes(DialogState& s, const EscSettings& k, bool& stop) {
  bool valid = true;
  if (k.d(0) == 1) tickPair(s, ctl::PropHoldEnabled, ctl::PropHoldDisabled);
  else tickPair(s, ctl::PropHoldDisabled, ctl::PropHoldEnabled);

  switch (k.d(3)) {
    case 1: tickPair(s, ctl::CutoffOn, ctl::CutoffOff); s.setEnabled(ctl::CutoffLevel, true); break;
    case 0: tickPair(s, ctl::CutoffOff, ctl::CutoffOn); s.setEnabled(ctl::CutoffLevel, false); break;
    default: valid = false;
  }
  switch (k.d(4)) {
    case 30: s.select(ctl::CutoffLevel, 0); break;
    case 32: s.select(ctl::CutoffLevel, 1); break;
    case 34: s.select(ctl::CutoffLevel, 2); break;
    case 36: s.select(ctl::CutoffLevel, 3); break;
    default: valid = false;
  }
  if (!selectIfIn(s, ctl::DriveFrequency, k.d(5), 3)) valid = false;
  switch (k.d(6)) {
    case 1: s.select(ctl::AdvanceTiming, 0); break;
    case 0: s.select(ctl::AdvanceTiming, 1); break;
    default: valid = false;
  }
  s.select(ctl::DroneCanMotor, k.d(7));
  s.select(ctl::DroneCanPoles, k.d(17));
  if (k.d(8) == 1) tickPair(s, ctl::DirectionForward, ctl::DirectionReverse);
  else if (k.d(8) == 0) tickPair(s, ctl::DirectionReverse, ctl::DirectionForward);
  else untick(s, ctl::DirectionForward, ctl::DirectionReverse);

  const int sr = k.d(9);
  if (sr == 0) {
    tickPair(s, ctl::SyncRectDisabled, ctl::SyncRectEnabled);
    s.select(ctl::SrBraking, 0);
    s.setEnabled(ctl::SrBraking, false);
  } else if (sr <= 3) {
    tickPair(s, ctl::SyncRectEnabled, ctl::SyncRectDisabled);
    s.select(ctl::SrBraking, sr - 1);
    s.setEnabled(ctl::SrBraking, true);
  } else {
    valid = false;
  }
  if (!selectIfIn(s, ctl::StartupPower, k.d(10), 3)) valid = false;
  if (!selectIfIn(s, ctl::ArmingTones, k.d(12), 3)) valid = false;
  if (!selectIfIn(s, ctl::CalibrationMode, k.d(13), 3)) {
    stop = true;
    return false;
  }
  return valid;
}

void decodeMotorEdition(DialogState& s, const EscSettings& k) {
  const int entry = motorEntryOfCode(k.d(15));
  if (entry == kCustomMotorEntry) {
    s.select(ctl::MotorEdition, entry);
    showThrottleResponse(s, strprintf("%d", k.d(16)), strprintf("%d", k.d(11)));
    return;
  }
  s.select(ctl::MotorEdition, entry);  // a code above 13 leaves it blank
  if (entry >= 0) {
    if (auto b = accelerationByteOfEntry(entry)) s.select(ctl::Acceleration, k.d(*b));
  }
  showAcceleration(s);
}

void decodeCan(DialogState& s, const EscSettings& k) {
  const int control = k.d(36);
  s.select(ctl::CanControl, (control >= 1 && control <= 3) ? control : 0);
  const bool droneCan = s.selection(ctl::CanControl) == 3;
  s.setEnabled(ctl::DroneCanMotor, droneCan);
  s.setEnabled(ctl::DroneCanPoles, droneCan);

  if (k.d(37) <= 2) {
    ensureAdapterEntries(s);
    s.select(ctl::Adapter, k.d(37));
  } else {
    s.select(ctl::Adapter, -1);
  }

  const int node = k.d(38);
  if (node == 1) {
    tickPair(s, ctl::NodeInitial, ctl::NodeFixed);
    s.select(ctl::NodeId, -1);
    s.setEnabled(ctl::NodeId, false);
  } else {
    tickPair(s, ctl::NodeFixed, ctl::NodeInitial);
    s.select(ctl::NodeId, node - 2);
    s.setEnabled(ctl::NodeId, true);
  }
  s.setText(ctl::EscId, node < 2 ? std::string("---") : strprintf("%02d", node));

  const int baud = k.d(39);
  s.select(ctl::CanBaud, baud <= 4 ? baud : 5);
}

void decodeAdc(DialogState& s, const EscSettings& k) {
  if (k.length > 44) {
    s.setText(ctl::AdcGain, adcGainText(static_cast<uint16_t>(k.at(44) << 8 | k.at(45))));
    s.setText(ctl::AdcOffset, adcOffsetText(static_cast<uint16_t>(k.at(46) << 8 | k.at(47))));
  } else {
    s.setText(ctl::AdcGain, kDefaultAdcGainText);
    s.setText(ctl::AdcOffset, kDefaultAdcOffsetText);
  }
}

}  // namespace

void refillNvqLists(DialogState& s) {
  s.setItems(ctl::MotorEdition, lists::motorEditionsNvq());
  s.setItems(ctl::StartupPower, lists::startupPowerNvq());
}

bool decodeSettingsBlock(DialogState& s, const EscSettings& k) {
  refillNvqLists(s);

  for (int id : {ctl::DataLogSpeed, ctl::MotorEdition, ctl::NodeInitial, ctl::NodeFixed})
    s.setEnabled(id, true);
  tickPair(s, ctl::NodeInitial, ctl::NodeFixed);
  s.select(ctl::NodeId, -1);
  s.setEnabled(ctl::NodeId, false);
  for (int id : {ctl::CanControl, ctl::DroneCanMotor, ctl::DroneCanPoles}) {
    s.select(id, -1);
    s.setEnabled(id, true);
  }
  s.setEnabled(ctl::AdcGain, true);
  s.setEnabled(ctl::AdcOffset, true);

  bool stop = false;
  if (!decodeFirstBytes(s, k, stop)) return false;

  if (k.d(13) == 2) {
    s.setText(ctl::RangeMin, strprintf("%d", k.d(26) | k.d(27) << 8));
    s.setText(ctl::RangeMax, strprintf("%d", k.d(28) | k.d(29) << 8));
    s.setEnabled(ctl::RangeMin, true);
    s.setEnabled(ctl::RangeMax, true);
  } else {
    s.setText(ctl::RangeMin, "");
    s.setText(ctl::RangeMax, "");
    s.setEnabled(ctl::RangeMin, false);
    s.setEnabled(ctl::RangeMax, false);
  }

  switch (k.d(14)) {
    case 1: s.select(ctl::Overload, 0); break;
    case 0: s.select(ctl::Overload, 1); break;
    case 2: s.select(ctl::Overload, 2); break;
    default: s.select(ctl::Overload, -1); break;
  }
  s.setEnabled(ctl::Overload, true);

  decodeMotorEdition(s, k);

  const int logSpeed = k.d(34);
  if (logSpeed <= 3) s.select(ctl::DataLogSpeed, logSpeed);
  else s.select(ctl::DataLogSpeed, logSpeed == 255 ? 4 : -1);
  if (k.d(35) == 1) tickPair(s, ctl::StallEnabled, ctl::StallDisabled);
  else if (k.d(35) == 0) tickPair(s, ctl::StallDisabled, ctl::StallEnabled);
  else untick(s, ctl::StallEnabled, ctl::StallDisabled);
  decodeCan(s, k);

  decodeAdc(s, k);

  if (s.selection(ctl::MotorEdition) == 0) showDefaultAdapter(s);
  s.setEnabled(ctl::CanBaud, true);
  return true;
}

namespace {

// The selected entry of a list, or nullopt without a selection. An unselected
// list leaves its byte as the ESC sent it: writing 255 would store a value the
// next read rejects as an invalid block.
std::optional<int> entryOf(const DialogState& s, int id) {
  const int sel = s.selection(id);
  if (sel < 0) return std::nullopt;
  return sel;
}

void putEntry(EscSettings& b, int k, const DialogState& s, int id) {
  if (auto e = entryOf(s, id)) b.setD(k, static_cast<uint8_t>(*e));
}

void putLe16(EscSettings& b, int k, int value) {
  b.setD(k, static_cast<uint8_t>(value & 0xFF));
  b.setD(k + 1, static_cast<uint8_t>((value >> 8) & 0xFF));
}

void encodeMotorEdition(DialogState& s, EscSettings& b) {
  const auto edition = entryOf(s, ctl::MotorEdition);
  const bool custom = edition == kCustomMotorEntry;
  if (custom) {
    s.setEnabled(ctl::ResponseRunning, true);
    s.setEnabled(ctl::ResponseStarting, true);
    s.select(ctl::Acceleration, -1);
    s.setEnabled(ctl::Acceleration, false);
  } else {
    showAcceleration(s);
  }
  if (!edition) return;
  b.setD(15, static_cast<uint8_t>(motorCodeOfEntry(*edition)));
  if (custom) {
    // Only values the focus check accepts reach the ESC; others keep what was read.
    const int running = editInteger(s.text(ctl::ResponseRunning));
    const int starting = editInteger(s.text(ctl::ResponseStarting));
    if (running >= 1 && running <= 100) b.setD(16, static_cast<uint8_t>(running));
    if (starting >= 1 && starting <= 100) b.setD(11, static_cast<uint8_t>(starting));
    return;
  }
  const auto accelerationByte = accelerationByteOfEntry(*edition);
  const auto rate = entryOf(s, ctl::Acceleration);
  if (accelerationByte && rate) b.setD(*accelerationByte, static_cast<uint8_t>(*rate));
}

}  // namespace

BlockEncoding encodeSettingsBlock(DialogState& s, const EscSettings& kept) {
  BlockEncoding out;
  out.settings = kept;
  EscSettings& b = out.settings;

  b.setD(0, s.checked(ctl::PropHoldDisabled) ? 0 : 1);
  b.setD(3, s.checked(ctl::CutoffOff) ? 0 : 1);
  if (auto level = entryOf(s, ctl::CutoffLevel); level && *level <= 3)
    b.setD(4, static_cast<uint8_t>(30 + 2 * *level));

  putEntry(b, 5, s, ctl::DriveFrequency);
  if (auto timing = entryOf(s, ctl::AdvanceTiming)) b.setD(6, *timing == 0 ? 1 : 0);

  if (s.selection(ctl::CanControl) == 3) {
    putEntry(b, 7, s, ctl::DroneCanMotor);
    putEntry(b, 17, s, ctl::DroneCanPoles);
  }

  if (s.checked(ctl::DirectionForward)) b.setD(8, 1);
  else if (s.checked(ctl::DirectionReverse)) b.setD(8, 0);
  if (s.checked(ctl::SyncRectEnabled)) {
    const auto braking = entryOf(s, ctl::SrBraking);
    b.setD(9, static_cast<uint8_t>(braking ? *braking + 1 : 1));
  } else {
    b.setD(9, 0);
  }

  putEntry(b, 10, s, ctl::StartupPower);
  putEntry(b, 12, s, ctl::ArmingTones);
  putEntry(b, 13, s, ctl::CalibrationMode);

  if (auto overload = entryOf(s, ctl::Overload)) {
    static constexpr uint8_t kOverloadByte[] = {1, 0, 2};
    if (*overload <= 2) b.setD(14, kOverloadByte[*overload]);
  }

  encodeMotorEdition(s, b);

  bool resetCarried = false;
  if (b.d(13) == 2) {
    const int min = editInteger(s.text(ctl::RangeMin));
    const int max = editInteger(s.text(ctl::RangeMax));
    if (min < kRangeMinLow || min > kRangeMinHigh || max < kRangeMaxLow || max > kRangeMaxHigh) {
      out.status = BlockEncodeStatus::RangeIncorrect;
      return out;
    }
    putLe16(b, 26, min);
    putLe16(b, 28, max);
  } else if (s.flags.RangeResetPending) {
    putLe16(b, 26, kRangeResetMin);
    putLe16(b, 28, kRangeResetMax);
    resetCarried = true;
  }

  if (auto speed = entryOf(s, ctl::DataLogSpeed)) {
    if (*speed <= 3) b.setD(34, static_cast<uint8_t>(*speed));
    else if (*speed == 4) b.setD(34, 255);
  }
  if (s.checked(ctl::StallEnabled)) b.setD(35, 1);
  else if (s.checked(ctl::StallDisabled)) b.setD(35, 0);
  const int control = s.selection(ctl::CanControl);
  b.setD(36, static_cast<uint8_t>(control >= 1 && control <= 3 ? control : 0));
  // Under MOTOR EDITION DEFAULT the ADAPTER list shows only "DEFAULT". An ESC
  // that came with DEFAULT keeps its adapter byte; choosing DEFAULT writes entry 0.
  const bool adapterHidden = s.items(ctl::Adapter) == lists::adapterDefaultOnly() && kept.d(15) == 0 && b.d(15) == 0;
  if (auto adapter = entryOf(s, ctl::Adapter); adapter && *adapter <= 2 && !adapterHidden)
    b.setD(37, static_cast<uint8_t>(*adapter));
  if (s.checked(ctl::NodeInitial)) {
    b.setD(38, 1);
  } else if (auto node = entryOf(s, ctl::NodeId)) {
    b.setD(38, static_cast<uint8_t>(*node + 2));
  }
  putEntry(b, 39, s, ctl::CanBaud);

  // A text still showing what the read decoded goes back as the ESC's own half
  // value: "%.1f" drops digits (6.125 shows "6.1", which parses to 6.1016), so
  // parsing it would change the value on every send.
  const uint16_t keptGain = static_cast<uint16_t>(kept.at(44) << 8 | kept.at(45));
  const uint16_t keptOffset = static_cast<uint16_t>(kept.at(46) << 8 | kept.at(47));
  const bool gainAsRead = s.text(ctl::AdcGain) == adcGainText(keptGain);
  const bool offsetAsRead = s.text(ctl::AdcOffset) == adcOffsetText(keptOffset);
  if (b.length > 44 && !(gainAsRead && offsetAsRead)) {
    const AdcParse adc = parseAdcTexts(s.text(ctl::AdcGain), s.text(ctl::AdcOffset));
    if (!adc.values) {
      switch (adc.error) {
        case AdcError::GainFormat: out.status = BlockEncodeStatus::AdcGainFormat; break;
        case AdcError::OffsetFormat: out.status = BlockEncodeStatus::AdcOffsetFormat; break;
        case AdcError::GainNotPositive: out.status = BlockEncodeStatus::AdcGainNotPositive; break;
      }
      return out;
    }
    // Block positions 44-47 in both layouts: the same bytes the decoding reads.
    const uint16_t gain = gainAsRead ? keptGain : adc.values->gain;
    const uint16_t offset = offsetAsRead ? keptOffset : adc.values->offset;
    const uint8_t bytes[4] = {static_cast<uint8_t>(gain >> 8), static_cast<uint8_t>(gain & 0xFF),
                              static_cast<uint8_t>(offset >> 8), static_cast<uint8_t>(offset & 0xFF)};
    for (int i = 0; i < 4; ++i)
      if (44 + i < b.length) b.block[static_cast<size_t>(44 + i)] = bytes[i];
  }

  // Cleared only now, so that a send stopped by a bad ADC text still carries the reset later.
  if (resetCarried) s.flags.RangeResetPending = false;
  return out;
}

std::optional<Message> blockEncodeMessage(BlockEncodeStatus status) {
  switch (status) {
    case BlockEncodeStatus::Ok: return std::nullopt;
    case BlockEncodeStatus::RangeIncorrect: return std::nullopt;
    case BlockEncodeStatus::AdcGainFormat: return adcErrorMessage(AdcError::GainFormat);
    case BlockEncodeStatus::AdcOffsetFormat: return adcErrorMessage(AdcError::OffsetFormat);
    case BlockEncodeStatus::AdcGainNotPositive: return adcErrorMessage(AdcError::GainNotPositive);
  }
  return std::nullopt;
}

std::vector<uint8_t> settingsWriteFrame(const EscSettings& b) {
  if (b.length <= 0) return {};
  const size_t n = std::min(static_cast<size_t>(b.length), b.block.size());
  return WriteBlockFrame(std::span<const uint8_t>(b.block.data(), n), b.length, b.LayoutFlag);
}

}  // namespace orx
