// The settings block as the ESC last sent it. A send starts from this copy, so
// bytes that no control owns travel back to the ESC unchanged.
#pragma once

#include <array>
#include <cstdint>

namespace orx {

struct EscSettings {
  // Short layout: the count bytes after the count byte. Extended layout: the whole reply.
  std::array<uint8_t, 257> block{};
  int length = 0;           // 0 until the first read; 41 short / 44 extended by default
  bool LayoutFlag = false;  // extended layout; kept with the block, used both ways

  // Data byte d[k]: block[k] (short) or block[k+2] (extended); 0 outside the block.
  uint8_t d(int k) const;
};

}  // namespace orx
