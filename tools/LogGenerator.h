// Writes believable flights into the NVQ series ESC's 64,768-byte log memory:
// several sessions (each a battery: take-off, hover, climbs, landing) at
// 8/4/2/1 Hz, one session that changes its rate half-way, filler records
// between sessions, and protection flags where a real flight would trip them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tools/SimTypes.h"

namespace orx::sim {

struct LogFill {
  std::size_t bytes = 22000;  // memory taken by records (whole records; at most 64,768)
  unsigned sessions = 4;      // 1..64
  std::uint32_t seed = 1;
  bool protectionEvents = true;  // an over-temperature moment and a low battery at the end
};

// The whole log memory: records, then (unless full) the end marker, the rest
// erased (0xFF).
Bytes generateLog(const LogFill& fill);

// Memory of an ESC that has logged nothing.
Bytes erasedLog();

}  // namespace orx::sim
