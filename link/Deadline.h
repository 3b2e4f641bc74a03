// Time left until a steady-clock deadline, for the port backends' timed reads
// and writes. No Qt.
#pragma once

#include <chrono>

namespace orx {

// Milliseconds left until `deadline`, rounded up so a timed wait never ends early.
inline int remainingMs(std::chrono::steady_clock::time_point deadline) {
  const auto left = deadline - std::chrono::steady_clock::now();
  if (left <= std::chrono::steady_clock::duration::zero()) return 0;
  return static_cast<int>((std::chrono::duration_cast<std::chrono::microseconds>(left).count() + 999) / 1000);
}

}  // namespace orx
