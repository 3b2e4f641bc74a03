// Controls and blocks that the settings tests start from.
#pragma once

#include <cstdint>
#include <vector>

#include "base/ControlIds.h"
#include "base/ControlLists.h"
#include "base/DialogState.h"
#include "protocol/EscSettings.h"
#include "tests/support/StartControls.h"

namespace orx::test {

// The controls right after the window starts: every list filled, nothing selected.
inline DialogState windowAfterStart() {
  DialogState s;
  fillStartLists(s);
  for (int id : {ctl::ResponseStarting, ctl::ResponseRunning, ctl::RangeMin, ctl::RangeMax})
    s.setEnabled(id, false);
  s.takeChanged();
  return s;
}

// Settings data d[0..45] of a valid block: every setting at a value the
// decoding maps to an entry, so that decoding and encoding give it back.
inline std::vector<uint8_t> sampleData() {
  std::vector<uint8_t> d(46, 0);
  d[0] = 1;     // propeller hold enabled
  d[1] = 0xAB;  // no control owns d[1], d[2]
  d[2] = 0xCD;
  d[3] = 1;     // cutoff on
  d[4] = 34;    // 3.4 V/CELL
  d[5] = 1;     // DYNAMIC
  d[6] = 0;     // PRECISION
  d[7] = 5;     // DroneCAN motor ID 06
  d[8] = 1;     // forward
  d[9] = 2;     // S.R. enabled, braking DYNAMIC
  d[10] = 2;    // LOW (SOFT)
  d[11] = 40;
  d[12] = 1;    // ARM ONLY
  d[13] = 2;    // RANGE
  d[14] = 0;    // STANDARD
  d[15] = 12;   // MOTOR-05
  d[16] = 60;
  d[17] = 6;    // 14 poles
  d[18] = 2;    // MOTOR-05 acceleration: HIGH
  d[19] = 3;    // DEFAULT acceleration: ULTRA-HIGH
  for (int k = 20; k <= 25; ++k) d[k] = 1;
  d[26] = 0x7E; d[27] = 0x04;  // 1150
  d[28] = 0x6C; d[29] = 0x07;  // 1900
  for (int k = 30; k <= 33; ++k) d[k] = 0;
  d[34] = 2;    // 2HZ
  d[35] = 1;    // stall enabled
  d[36] = 3;    // DRONECAN
  d[37] = 1;    // TRIPLE
  d[38] = 9;    // node 9
  d[39] = 2;    // 250K
  d[40] = 0x11;
  d[41] = 0x77;
  return d;
}

inline uint8_t sum8(const uint8_t* p, int n) {
  unsigned s = 0;
  for (int i = 0; i < n; ++i) s += p[i];
  return static_cast<uint8_t>(s);
}

// A short block of 41 bytes: d[0..39] and the sum (d[40]).
inline EscSettings shortBlock(std::vector<uint8_t> d = sampleData()) {
  EscSettings k;
  k.LayoutFlag = false;
  k.length = 41;
  for (int i = 0; i < 40; ++i) k.block[static_cast<size_t>(i)] = d[static_cast<size_t>(i)];
  k.block[40] = sum8(k.block.data(), 40);
  return k;
}

// An extended block of `length` bytes: byte 0, the count, d[0..], the sum last.
// With a length above 48, block[44..47] carry the CURRENT ADC 17.5 / +21.6.
inline EscSettings extendedBlock(int length = 49, std::vector<uint8_t> d = sampleData()) {
  EscSettings k;
  k.LayoutFlag = true;
  k.length = length;
  k.block[0] = 0x55;
  k.block[1] = static_cast<uint8_t>(length);
  for (int i = 2; i < length - 1 && i - 2 < static_cast<int>(d.size()); ++i)
    k.block[static_cast<size_t>(i)] = d[static_cast<size_t>(i - 2)];
  if (length > 48) {
    k.block[44] = 0x4C; k.block[45] = 0x60;
    k.block[46] = 0x4D; k.block[47] = 0x66;
  }
  k.block[static_cast<size_t>(length - 1)] = sum8(k.block.data() + 2, length - 3);
  return k;
}

// A block whose settings are d, in the given layout (extended: 44 bytes).
inline EscSettings blockOf(bool extended, std::vector<uint8_t> d) {
  return extended ? extendedBlock(44, std::move(d)) : shortBlock(std::move(d));
}

}  // namespace orx::test
