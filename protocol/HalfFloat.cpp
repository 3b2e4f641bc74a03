#include "protocol/HalfFloat.h"

#include <cmath>

namespace orx {
namespace {

// Nearest integer of a non-negative value, halves away from zero. x - floor(x)
// is exact, so no double rounding creeps in.
double roundHalfAway(double x) {
  const double r = std::floor(x);
  return (x - r >= 0.5) ? r + 1.0 : r;
}

}  // namespace

uint16_t toHalf(double value) {
  if (std::isnan(value)) return 0x7FFF;
  const uint16_t sign = std::signbit(value) ? 0x8000 : 0;
  const double m = std::fabs(value);
  // 65520 is halfway between the largest half (65504) and 2^16: it and above round to infinity.
  if (m >= 65520.0) return sign | 0x7C00;
  if (m < std::ldexp(1.0, -14)) {
    // Subnormal: units of 2^-24. Rounding up to 1024 yields the smallest normal, encoded alike.
    return sign | static_cast<uint16_t>(roundHalfAway(std::ldexp(m, 24)));
  }
  int e = 0;
  std::frexp(m, &e);  // m = f * 2^e, f in [0.5, 1)
  int exponent = e - 1;
  double mantissa = roundHalfAway((std::ldexp(m, -exponent) - 1.0) * 1024.0);
  if (mantissa >= 1024.0) {
    mantissa = 0.0;
    ++exponent;
  }
  return sign | static_cast<uint16_t>(((exponent + 15) << 10) | static_cast<int>(mantissa));
}

double fromHalf(uint16_t half) {
  const bool negative = (half & 0x8000) != 0;
  const int exponent = (half >> 10) & 0x1F;
  const int mantissa = half & 0x3FF;
  double m = 0.0;
  if (exponent == 0) {
    m = std::ldexp(static_cast<double>(mantissa), -24);
  } else if (exponent == 31) {
    m = mantissa == 0 ? INFINITY : NAN;
  } else {
    m = std::ldexp(static_cast<double>(mantissa + 1024), exponent - 25);
  }
  return negative ? -m : m;
}

}  // namespace orx
