// One 11-byte record of the ESC's flight log, taken apart into its fields in
// the units the ESC stores them. Little-endian multi-byte values.
#pragma once

#include <cstdint>
#include <span>

namespace orx::datalog {

// Protection flags, bit k = flag k.
enum ProtectionFlag : unsigned {
  kStallProtection = 1u << 0,  // byte 7 bit 5
  kOverTemp = 1u << 1,         // byte 7 bit 6
  kOverload = 1u << 2,         // byte 7 bit 7
  kOverVoltage = 1u << 3,      // byte 9 bit 5
  kUnderVoltage = 1u << 4,     // byte 9 bit 6
  kVoltageCutoff = 1u << 5,    // byte 9 bit 7
};
inline constexpr unsigned kAllProtections = 0x3F;
inline constexpr int kProtectionCount = 6;

struct RawRecord {
  unsigned temperatureC = 0;       // byte 0
  unsigned currentCentiAmps = 0;   // bytes 1-2
  unsigned outputThrottle = 0;     // byte 3, percent
  unsigned speedValue = 0;         // bytes 4-5; electrical RPM / 60
  unsigned voltageCentiVolts = 0;  // 13 bits of bytes 6-7
  unsigned inputThrottleUs = 0;    // 13 bits of bytes 8-9
  unsigned protections = 0;        // 6 bits: byte 7 bits 5-7, byte 9 bits 5-7
  int session = 1;                 // byte 10 bits 0-5, plus one (1..64)
  int frequencyHz = 8;             // byte 10 bits 6-7: 8, 4, 2 or 1
};

// `bytes` must hold at least kRecordSize bytes; shorter input gives a zero record.
RawRecord decodeRecord(std::span<const std::uint8_t> bytes);

// Bytes 0, 1 and 3 are 0x88: a record the ESC wrote as padding.
bool isFillerRecord(std::span<const std::uint8_t> bytes);
// Bytes 0, 1 and 5 are 0xFF: erased memory, the end of the log.
bool isEndMarker(std::span<const std::uint8_t> bytes);

// Samples per second of a frequency code 0..3 (8, 4, 2, 1).
int frequencyOfCode(unsigned code);

}  // namespace orx::datalog
