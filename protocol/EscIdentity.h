// What identification tells about an ESC: the hardware code that firmware files
// are checked against, the version text shown in Device Firmware Version (its
// first letter names the firmware family), the MCU id text, and the settings
// block layout of the NVQ series.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace orx {

// The code stored for every NVQ series ESC: its series letter "D".
inline constexpr int kNvqHardwareCode = 0x44;
inline constexpr int kShortBlockLength = 41;
inline constexpr int kExtendedBlockLength = 44;

// CP210x Identify byte 2 as stored: 0, 2, 10 and 215 become 15.
int Cp210xHardwareCode(uint8_t raw);

// "%X.%02X.%02X.%02d" of CP210x Identify reply bytes 2, 3, 4, 5 ("" when the
// reply is shorter than 6 bytes).
std::string Cp210xVersionText(std::span<const uint8_t> reply);

// "%c.%02X.%02X.%02X" of the series letter and the three version bytes, i.e.
// of STM32 Identify reply bytes 0..3 ("" when shorter than 4 bytes).
std::string Stm32VersionText(std::span<const uint8_t> reply);

// "%02X." x 8 of ReadMcuId reply bytes 8 down to 1 ("" when shorter than 9).
std::string McuIdText(std::span<const uint8_t> reply);

// Extended layout when the second version byte is above 2, or 2 with the
// third at least 22 (0x16).
bool LayoutFlagFor(uint8_t secondVersionByte, uint8_t thirdVersionByte);
inline int DefaultBlockLength(bool layoutFlag) { return layoutFlag ? kExtendedBlockLength : kShortBlockLength; }

struct Cp210xIdentity {
  bool answered = false;
  uint8_t raw[7] = {};     // the reply as received
  int hardwareCode = 0;    // Cp210xHardwareCode(raw[2])
  std::string versionText;
};

struct Stm32Identity {
  bool answered = false;   // reply byte 0 was the series letter 0x44
  uint8_t versionBytes[3] = {};  // reply bytes 1..3
  int hardwareCode = 0;    // kNvqHardwareCode when answered
  std::string versionText;
  bool LayoutFlag = false; // from version bytes 2 and 3
};

}  // namespace orx
