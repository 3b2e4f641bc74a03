// Logs for orx-bench: the full 64,768-byte log memory of the simulated ESC,
// decoded, and longer logs made of several such logs one after the other.
#pragma once

#include <cstdint>
#include <vector>

#include "datalog/LogDecode.h"
#include "tools/LogGenerator.h"

namespace orx::bench {

inline constexpr std::size_t kFullLogBytes = 64768;

inline std::vector<std::uint8_t> fullLogBytes(std::uint32_t seed = 1) {
  sim::LogFill fill;
  fill.bytes = kFullLogBytes;
  fill.sessions = 6;
  fill.seed = seed;
  return sim::generateLog(fill);
}

// `copies` full logs played one after the other (times carried on).
inline datalog::LogData longLog(int copies) {
  datalog::LogData out = *datalog::decodeLog(fullLogBytes(1));
  const datalog::LogData one = out;
  for (int c = 1; c < copies; ++c) {
    const double offset = out.duration;
    for (datalog::LogSample s : one.samples) {
      s.time += offset;
      out.samples.push_back(s);
    }
    out.duration += one.duration;
  }
  return out;
}

}  // namespace orx::bench
