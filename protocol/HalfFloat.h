// IEEE 754 binary16, the format of the CURRENT ADC values in the settings block.
#pragma once

#include <cstdint>

namespace orx {

// Round to nearest, ties away from zero; too large -> infinity (0x7C00 with
// the sign); any NaN -> 0x7FFF.
uint16_t toHalf(double value);
// Exact; infinities and NaNs kept.
double fromHalf(uint16_t half);

}  // namespace orx
