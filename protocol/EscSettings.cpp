#include "protocol/EscSettings.h"

namespace orx {
namespace {

struct Edition {
  int code;
  int accelerationByte;  // -1: none
};

// Indexed by MOTOR EDITION entry.
constexpr std::array<Edition, kMotorEditionCount> kEditions{{
    {0, 19},  {8, 31}, {9, 32}, {10, 33}, {1, 20}, {12, 18}, {2, 21},
    {3, 22},  {4, 23}, {5, 24}, {6, 25},  {7, 30}, {11, 40}, {13, -1},
}};

}  // namespace

uint8_t EscSettings::at(int pos) const {
  if (pos < 0 || pos >= length || pos >= static_cast<int>(block.size())) return 0;
  return block[static_cast<size_t>(pos)];
}

uint8_t EscSettings::d(int k) const { return k < 0 ? 0 : at(k + dataOffset()); }

bool EscSettings::setD(int k, uint8_t value) {
  const int pos = k + dataOffset();
  if (k < 0 || pos >= length || pos >= static_cast<int>(block.size())) return false;
  block[static_cast<size_t>(pos)] = value;
  return true;
}

int motorCodeOfEntry(int entry) {
  if (entry < 0 || entry >= kMotorEditionCount) return -1;
  return kEditions[static_cast<size_t>(entry)].code;
}

int motorEntryOfCode(int code) {
  for (size_t i = 0; i < kEditions.size(); ++i)
    if (kEditions[i].code == code) return static_cast<int>(i);
  return -1;
}

std::optional<int> accelerationByteOfEntry(int entry) {
  if (entry < 0 || entry >= kMotorEditionCount) return std::nullopt;
  const int b = kEditions[static_cast<size_t>(entry)].accelerationByte;
  if (b < 0) return std::nullopt;
  return b;
}

}  // namespace orx
