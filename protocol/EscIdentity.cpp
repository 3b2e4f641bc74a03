#include "protocol/EscIdentity.h"

#include "base/Format.h"

namespace orx {

int Cp210xHardwareCode(uint8_t raw) {
  switch (raw) {
    case 0:
    case 2:
    case 10:
    case 215: return 15;
    default: return raw;
  }
}

std::string Cp210xVersionText(std::span<const uint8_t> reply) {
  if (reply.size() < 6) return {};
  return strprintf("%X.%02X.%02X.%02d", reply[2], reply[3], reply[4], reply[5]);
}

std::string Stm32VersionText(std::span<const uint8_t> reply) {
  if (reply.size() < 4) return {};
  return strprintf("%c.%02X.%02X.%02X", static_cast<char>(reply[0]), reply[1], reply[2], reply[3]);
}

std::string McuIdText(std::span<const uint8_t> reply) {
  if (reply.size() < 9) return {};
  return strprintf("%02X.%02X.%02X.%02X.%02X.%02X.%02X.%02X", reply[8], reply[7], reply[6], reply[5], reply[4],
                   reply[3], reply[2], reply[1]);
}

bool LayoutFlagFor(uint8_t secondVersionByte, uint8_t thirdVersionByte) {
  return secondVersionByte > 2 || (secondVersionByte == 2 && thirdVersionByte >= 22);
}

}  // namespace orx
