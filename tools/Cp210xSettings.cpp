#include "tools/Cp210xSettings.h"

namespace orx::sim {

namespace {

bool within(std::uint8_t v, std::uint8_t low, std::uint8_t high) { return v >= low && v <= high; }

}  // namespace

bool isSettingCode(std::uint8_t c) {
  return within(c, 0x10, 0x19) || within(c, 0x37, 0x3D) || within(c, 0x41, 0x42) || within(c, 0x61, 0x63) ||
         within(c, 0x70, 0x72) || within(c, 0x80, 0x81) || within(c, 0xA0, 0xA1) || within(c, 0xB0, 0xB3) ||
         within(c, 0xC0, 0xC1) || within(c, 0xE0, 0xE2) || within(c, 0xE5, 0xE7) || within(c, 0xF0, 0xF2);
}

bool isPairCode(std::uint8_t c) { return within(c, 0xF3, 0xF7) || c == 0xF9; }

void applySetting(Cp210xSettings& s, std::uint8_t c) {
  if (within(c, 0x10, 0x19)) s.motor = c;
  else if (c == 0x37 || c == 0x39 || c == 0x3B || c == 0x3D) s.cutoffLevel = c;
  else if (within(c, 0x41, 0x42)) s.cutoff = c;
  else if (c == 0x61 || c == 0x63) s.timing = c;
  else if (within(c, 0x70, 0x72)) s.frequency = c;
  else if (within(c, 0x80, 0x81)) s.direction = c;
  else if (within(c, 0xA0, 0xA1)) s.propellerHold = c;
  else if (within(c, 0xB0, 0xB3)) s.rectification = c;
  else if (within(c, 0xC0, 0xC1)) s.startup = c;
  else if (within(c, 0xE0, 0xE2)) s.tones = c;
  else if (within(c, 0xE5, 0xE7)) s.adapter = c;
  else if (within(c, 0xF0, 0xF2)) s.calibration = c;
}

void applyPair(Cp210xSettings& s, std::uint8_t c, std::uint8_t v) {
  switch (c) {
    case 0xF3:
      s.rangeMin2 = static_cast<std::uint16_t>((s.rangeMin2 & 0xFF00) | v);
      break;
    case 0xF4:
      s.rangeMin2 = static_cast<std::uint16_t>((s.rangeMin2 & 0x00FF) | (v << 8));
      break;
    case 0xF5:
      s.rangeMax2 = static_cast<std::uint16_t>((s.rangeMax2 & 0xFF00) | v);
      break;
    case 0xF6:
      s.rangeMax2 = static_cast<std::uint16_t>((s.rangeMax2 & 0x00FF) | (v << 8));
      break;
    case 0xF7:
      s.acceleration = v;
      break;
    case 0xF9:
      if (within(v, 117, 119)) s.overload = v;
      else if (within(v, 123, 124)) s.stall = v;
      break;
    default:
      break;
  }
}

Bytes settingsDump(const Cp210xSettings& s, bool overloadMarker) {
  Bytes d(31, 0x00);  // positions the ESC fills with nothing of interest stay 0
  d[0] = s.propellerHold;
  d[2] = s.motor;
  d[3] = s.cutoffLevel;
  d[4] = s.cutoff;
  d[6] = s.timing;
  d[7] = s.frequency;
  d[8] = s.direction;
  d[10] = s.startup;
  d[11] = s.rectification;
  d[12] = s.tones;
  d[13] = s.calibration;
  d[15] = 0xF3;
  d[16] = static_cast<std::uint8_t>(s.rangeMin2 & 0xFF);
  d[17] = 0xF4;
  d[18] = static_cast<std::uint8_t>(s.rangeMin2 >> 8);
  d[19] = 0xF5;
  d[20] = static_cast<std::uint8_t>(s.rangeMax2 & 0xFF);
  d[21] = 0xF6;
  d[22] = static_cast<std::uint8_t>(s.rangeMax2 >> 8);
  d[23] = 0xF7;
  d[24] = s.acceleration;
  if (overloadMarker) {
    d[25] = 0xF8;
    d[26] = 5;
    d[27] = 0xF9;
    d[28] = s.overload;
    d[29] = s.stall;
  } else {
    d[27] = s.stall;
  }
  d[30] = s.adapter;
  return d;
}

Bytes toBytes(const Cp210xSettings& s) {
  return {s.propellerHold,
          s.motor,
          s.cutoffLevel,
          s.cutoff,
          s.timing,
          s.frequency,
          s.direction,
          s.startup,
          s.rectification,
          s.tones,
          s.calibration,
          static_cast<std::uint8_t>(s.rangeMin2 & 0xFF),
          static_cast<std::uint8_t>(s.rangeMin2 >> 8),
          static_cast<std::uint8_t>(s.rangeMax2 & 0xFF),
          static_cast<std::uint8_t>(s.rangeMax2 >> 8),
          s.acceleration,
          s.overload,
          s.stall,
          s.adapter};
}

bool fromBytes(const Bytes& b, Cp210xSettings& out) {
  if (b.size() != 19) return false;
  Cp210xSettings s;
  s.propellerHold = b[0];
  s.motor = b[1];
  s.cutoffLevel = b[2];
  s.cutoff = b[3];
  s.timing = b[4];
  s.frequency = b[5];
  s.direction = b[6];
  s.startup = b[7];
  s.rectification = b[8];
  s.tones = b[9];
  s.calibration = b[10];
  s.rangeMin2 = static_cast<std::uint16_t>(b[11] | (b[12] << 8));
  s.rangeMax2 = static_cast<std::uint16_t>(b[13] | (b[14] << 8));
  s.acceleration = b[15];
  s.overload = b[16];
  s.stall = b[17];
  s.adapter = b[18];
  out = s;
  return true;
}

}  // namespace orx::sim
