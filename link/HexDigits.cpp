#include "link/HexDigits.h"

namespace orx {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return static_cast<unsigned char>(c);
}

uint8_t HexPairValue(char first, char second) {
  return static_cast<uint8_t>((16 * HexDigitValue(first) + HexDigitValue(second)) % 256);
}

}  // namespace orx
