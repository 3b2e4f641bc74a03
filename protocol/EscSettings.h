// The settings block as the ESC last sent it. A send starts from this copy, so
// bytes that no control owns travel back to the ESC unchanged.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace orx {

struct EscSettings {
  // Short layout: the count bytes after the count byte. Extended layout: the whole reply.
  std::array<uint8_t, 257> block{};
  int length = 0;           // 0 until the first read; 41 short / 44 extended by default
  bool LayoutFlag = false;  // extended layout; kept with the block, used both ways

  // Data byte d[k]: block[k] (short) or block[k+2] (extended); 0 outside the block.
  uint8_t d(int k) const;
  // Writes d[k] when it lies inside the block; returns whether it did.
  bool setD(int k, uint8_t value);
  // Block position of d[k].
  int dataOffset() const { return LayoutFlag ? 2 : 0; }
  // block[pos] when pos lies inside the block, else 0.
  uint8_t at(int pos) const;
};

// Motor editions of the NVQ series list (entries 0..13 of MOTOR EDITION).
inline constexpr int kCustomMotorEntry = 13;
inline constexpr int kMotorEditionCount = 14;
// The code an entry stores in d[15]; -1 for an entry outside the list.
int motorCodeOfEntry(int entry);
// The entry of a d[15] code; -1 for codes above 13.
int motorEntryOfCode(int code);
// The data byte that holds the acceleration rate of an entry; nullopt for
// CUSTOM MOTOR and for entries outside the list.
std::optional<int> accelerationByteOfEntry(int entry);

// CP210x motor codes, in the order of the ten-entry CP210x MOTOR EDITION list.
inline constexpr std::array<uint8_t, 10> kCp210xMotorCodes{0x10, 0x17, 0x18, 0x19, 0x11,
                                                           0x12, 0x13, 0x14, 0x16, 0x15};

}  // namespace orx
