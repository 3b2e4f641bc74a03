#include "datalog/LogRecord.h"

#include "datalog/LogLayout.h"

namespace orx::datalog {

int frequencyOfCode(unsigned code) { return 8 >> (code & 3u); }

RawRecord decodeRecord(std::span<const std::uint8_t> b) {
  RawRecord r;
  if (b.size() < kRecordSize) return r;
  r.temperatureC = b[0];
  r.currentCentiAmps = b[1] | (unsigned{b[2]} << 8);
  r.outputThrottle = b[3];
  r.speedValue = b[4] | (unsigned{b[5]} << 8);
  r.voltageCentiVolts = b[6] | ((unsigned{b[7]} & 0x1Fu) << 8);
  r.inputThrottleUs = b[8] | ((unsigned{b[9]} & 0x1Fu) << 8);
  r.protections = (unsigned{b[7]} >> 5) | ((unsigned{b[9]} >> 5) << 3);
  r.session = static_cast<int>(b[10] & 0x3Fu) + 1;
  r.frequencyHz = frequencyOfCode(unsigned{b[10]} >> 6);
  return r;
}

bool isFillerRecord(std::span<const std::uint8_t> b) {
  return b.size() >= kRecordSize && b[0] == 0x88 && b[1] == 0x88 && b[3] == 0x88;
}

bool isEndMarker(std::span<const std::uint8_t> b) {
  return b.size() >= kRecordSize && b[0] == 0xFF && b[1] == 0xFF && b[5] == 0xFF;
}

}  // namespace orx::datalog
