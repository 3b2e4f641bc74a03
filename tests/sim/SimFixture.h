// Starts a simulated ESC and opens its line the way the program would.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "PtyClient.h"
#include "tools/LogRecord.h"
#include "tools/SimulatedEsc.h"

namespace orx::simtest {

using sim::Bytes;

template <class Config>
std::unique_ptr<sim::SimulatedEsc> startSim(const Config& config) {
  auto esc = std::make_unique<sim::SimulatedEsc>(config);
  EXPECT_TRUE(esc->start()) << esc->error();
  return esc;
}

// 8-bit sum of frame[2 .. size-2], as the program computes it.
inline std::uint8_t frameSum(const Bytes& frame) {
  unsigned sum = 0;
  for (std::size_t i = 2; i + 1 < frame.size(); ++i) sum += frame[i];
  return static_cast<std::uint8_t>(sum);
}

// True when the reply starts with the log's end marker (false when too short).
inline bool startsWithEndMarker(const Bytes& reply) {
  return reply.size() >= sim::kRecordSize && sim::isEndMarker(reply.data());
}

}  // namespace orx::simtest
