#include "tools/LogRecord.h"

#include <algorithm>

namespace orx::sim {

RecordBytes encodeRecord(const LogRecord& r) {
  const unsigned current = std::min(r.currentCentiAmps, 0xFFFFu);
  const unsigned speed = std::min(r.speedValue, 0xFFFFu);
  const unsigned volts = std::min(r.voltageCentiVolts, 0x1FFFu);
  const unsigned input = std::min(r.inputThrottleUs, 0x1FFFu);
  const unsigned flags = r.protections & 0x3F;
  const unsigned session = (std::clamp(r.session, 1u, 64u) - 1) & 0x3F;
  RecordBytes b{};
  b[0] = static_cast<std::uint8_t>(std::min(r.temperatureC, 255u));
  b[1] = static_cast<std::uint8_t>(current & 0xFF);
  b[2] = static_cast<std::uint8_t>(current >> 8);
  b[3] = static_cast<std::uint8_t>(std::min(r.outputThrottle, 255u));
  b[4] = static_cast<std::uint8_t>(speed & 0xFF);
  b[5] = static_cast<std::uint8_t>(speed >> 8);
  b[6] = static_cast<std::uint8_t>(volts & 0xFF);
  b[7] = static_cast<std::uint8_t>((volts >> 8) | ((flags & 0x07) << 5));
  b[8] = static_cast<std::uint8_t>(input & 0xFF);
  b[9] = static_cast<std::uint8_t>((input >> 8) | ((flags >> 3) << 5));
  b[10] = static_cast<std::uint8_t>(session | ((r.frequencyCode & 0x03) << 6));
  return b;
}

LogRecord decodeRecord(const std::uint8_t* b) {
  LogRecord r;
  r.temperatureC = b[0];
  r.currentCentiAmps = b[1] | (b[2] << 8);
  r.outputThrottle = b[3];
  r.speedValue = b[4] | (b[5] << 8);
  r.voltageCentiVolts = b[6] | ((b[7] & 0x1F) << 8);
  r.inputThrottleUs = b[8] | ((b[9] & 0x1F) << 8);
  r.protections = (b[7] >> 5) | ((b[9] >> 5) << 3);
  r.session = (b[10] & 0x3F) + 1;
  r.frequencyCode = b[10] >> 6;
  return r;
}

RecordBytes fillerRecord() {
  RecordBytes b{};
  b.fill(0x88);
  return b;
}

bool isFiller(const std::uint8_t* b) { return b[0] == 0x88 && b[1] == 0x88 && b[3] == 0x88; }

bool isEndMarker(const std::uint8_t* b) { return b[0] == 0xFF && b[1] == 0xFF && b[5] == 0xFF; }

unsigned frequencyHz(unsigned code) {
  switch (code & 0x03) {
    case 0:
      return 8;
    case 1:
      return 4;
    case 2:
      return 2;
    default:
      return 1;
  }
}

}  // namespace orx::sim
