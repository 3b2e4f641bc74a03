// One 11-byte record of the NVQ series ESC's flight log, and the log memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "tools/SimTypes.h"

namespace orx::sim {

constexpr std::size_t kRecordSize = 11;
constexpr std::size_t kPageSize = 253;
constexpr std::size_t kPageCount = 256;
constexpr std::size_t kLogMemorySize = kPageSize * kPageCount;  // 64,768
constexpr std::size_t kMaxRecords = kLogMemorySize / kRecordSize;  // 5,888

// Protection flag bits (0..5).
enum ProtectionFlag : std::uint8_t {
  kStall = 1u << 0,
  kOverTemp = 1u << 1,
  kOverload = 1u << 2,
  kOverVoltage = 1u << 3,
  kUnderVoltage = 1u << 4,
  kVoltageCutoff = 1u << 5,
};

struct LogRecord {
  unsigned temperatureC = 0;    // 0..255
  unsigned currentCentiAmps = 0;  // 0..65535
  unsigned outputThrottle = 0;  // percent
  unsigned speedValue = 0;      // electrical RPM / 60
  unsigned voltageCentiVolts = 0;  // 13 bits
  unsigned inputThrottleUs = 0;    // 13 bits
  unsigned protections = 0;     // 6 bits
  unsigned session = 1;         // 1..64
  unsigned frequencyCode = 0;   // 0 = 8 Hz, 1 = 4 Hz, 2 = 2 Hz, 3 = 1 Hz
};

using RecordBytes = std::array<std::uint8_t, kRecordSize>;

// Out-of-range fields are clipped to what their bits can hold.
RecordBytes encodeRecord(const LogRecord& record);
LogRecord decodeRecord(const std::uint8_t* bytes);

// A record the ESC skips when reading its log (bytes 0, 1 and 3 are 0x88).
RecordBytes fillerRecord();
bool isFiller(const std::uint8_t* bytes);
// Erased memory reads 0xFF; a record with 0xFF in bytes 0, 1 and 5 ends the log.
bool isEndMarker(const std::uint8_t* bytes);

// Samples per second for a frequency code.
unsigned frequencyHz(unsigned code);

}  // namespace orx::sim
