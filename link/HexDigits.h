// Hexadecimal text as the firmware image files write it, decoded the lenient
// way the program always has: only "0"-"9" and "A"-"F" are digits, any other
// character stands for its own code.
#pragma once

#include <cstdint>

namespace orx {

int HexDigitValue(char c);
// (16 x first + second) modulo 256.
uint8_t HexPairValue(char first, char second);

}  // namespace orx
