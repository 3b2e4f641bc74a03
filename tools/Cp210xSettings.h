// Settings of the older ESC behind the CP210x adapter. The ESC takes each
// setting as its own command byte (or a two-byte frame) and replays them all
// as such bytes in its settings dump.
#pragma once

#include <cstdint>

#include "tools/SimTypes.h"

namespace orx::sim {

struct Cp210xSettings {
  std::uint8_t propellerHold = 0xA0;  // 0xA0 disabled, 0xA1 enabled
  std::uint8_t motor = 0x10;          // 0x10-0x19
  std::uint8_t cutoffLevel = 0x39;    // 0x37, 0x39, 0x3B, 0x3D
  std::uint8_t cutoff = 0x41;         // 0x41 on, 0x42 off
  std::uint8_t timing = 0x61;         // 0x61 dynamic, 0x63 precision
  std::uint8_t frequency = 0x71;      // 0x70-0x72
  std::uint8_t direction = 0x80;      // 0x80 forward, 0x81 reverse
  std::uint8_t startup = 0xC0;        // 0xC0, 0xC1
  std::uint8_t rectification = 0xB1;  // 0xB0 off, 0xB1-0xB3 braking levels
  std::uint8_t tones = 0xE0;          // 0xE0-0xE2
  std::uint8_t calibration = 0xF0;    // 0xF0-0xF2
  std::uint16_t rangeMin2 = 2200;     // twice the minimum in us, as the 0xF3/0xF4 frames carry it
  std::uint16_t rangeMax2 = 3880;     // twice the maximum in us (0xF5/0xF6)
  std::uint8_t acceleration = 2;      // 0xF7 value: list entry + 1
  std::uint8_t overload = 118;        // 0xF9 value 117-119
  std::uint8_t stall = 124;           // 0xF9 value 123 disabled, 124 enabled
  std::uint8_t adapter = 0xE5;        // 0xE5-0xE7

  bool operator==(const Cp210xSettings&) const = default;
};

// True for every one-byte setting code the ESC acknowledges.
bool isSettingCode(std::uint8_t code);
// True for the first byte of a two-byte setting frame (0xF3-0xF7, 0xF9).
bool isPairCode(std::uint8_t code);

// Applies a setting command; codes inside an accepted range that name no
// value (e.g. 0x38) are acknowledged and change nothing, as the ESC does.
void applySetting(Cp210xSettings& settings, std::uint8_t code);
void applyPair(Cp210xSettings& settings, std::uint8_t code, std::uint8_t value);

// The dump as the ESC sends it: 31 command bytes. With the overload marker
// (0xF8, 5 at 25/26) the overload level follows at 27/28 and the stall
// setting at 29; without it the stall setting sits at 27.
Bytes settingsDump(const Cp210xSettings& settings, bool overloadMarker);

// Fixed-size form for the state file.
Bytes toBytes(const Cp210xSettings& settings);
bool fromBytes(const Bytes& bytes, Cp210xSettings& out);

}  // namespace orx::sim
