// When a paced line lets each byte out: ten bit times a byte, and a byte
// handed over while the line is still busy waits for the one before it. The
// schedule runs on across writes, so neither a new write nor a late wake-up
// of the writer adds its delay to every byte.
#pragma once

#include <algorithm>
#include <chrono>

#include "tools/EscModel.h"

namespace orx::sim {

class LinePacer {
 public:
  // The time the byte handed over at `handed` is out on the line.
  Clock::time_point next(Clock::time_point handed, unsigned baud) {
    freeAt_ = std::max(handed, freeAt_) + std::chrono::nanoseconds(10'000'000'000LL / baud);
    return freeAt_;
  }

 private:
  Clock::time_point freeAt_{};
};

}  // namespace orx::sim
