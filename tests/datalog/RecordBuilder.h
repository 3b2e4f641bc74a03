// Log records written byte by byte for the tests, independently of the
// simulator's encoder.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace orx::datalog::test {

using Record = std::array<std::uint8_t, 11>;

struct RecordFields {
  unsigned tempC = 25;
  unsigned centiAmps = 0;
  unsigned outThrottle = 0;
  unsigned speedValue = 0;   // electrical RPM / 60
  unsigned centiVolts = 2000;
  unsigned inputUs = 1500;
  unsigned flags = 0;        // 6 bits
  unsigned session = 1;      // 1..64
  unsigned freqCode = 0;     // 0 = 8 Hz
};

inline Record makeRecord(const RecordFields& f) {
  Record r{};
  r[0] = static_cast<std::uint8_t>(f.tempC);
  r[1] = static_cast<std::uint8_t>(f.centiAmps & 0xFF);
  r[2] = static_cast<std::uint8_t>(f.centiAmps >> 8);
  r[3] = static_cast<std::uint8_t>(f.outThrottle);
  r[4] = static_cast<std::uint8_t>(f.speedValue & 0xFF);
  r[5] = static_cast<std::uint8_t>(f.speedValue >> 8);
  r[6] = static_cast<std::uint8_t>(f.centiVolts & 0xFF);
  r[7] = static_cast<std::uint8_t>(((f.centiVolts >> 8) & 0x1F) | ((f.flags & 7) << 5));
  r[8] = static_cast<std::uint8_t>(f.inputUs & 0xFF);
  r[9] = static_cast<std::uint8_t>(((f.inputUs >> 8) & 0x1F) | (((f.flags >> 3) & 7) << 5));
  r[10] = static_cast<std::uint8_t>(((f.session - 1) & 0x3F) | ((f.freqCode & 3) << 6));
  return r;
}

inline Record fillerRecord() { return {0x88, 0x88, 0x00, 0x88, 0, 0, 0, 0, 0, 0, 0}; }
inline Record endMarker() { return {0xFF, 0xFF, 0x12, 0x34, 0x56, 0xFF, 0, 0, 0, 0, 0}; }

inline void append(std::vector<std::uint8_t>& out, const Record& r) { out.insert(out.end(), r.begin(), r.end()); }

inline std::vector<std::uint8_t> recordsOf(const std::vector<RecordFields>& fields) {
  std::vector<std::uint8_t> out;
  for (const RecordFields& f : fields) append(out, makeRecord(f));
  return out;
}

}  // namespace orx::datalog::test
