// The faults a test asked for, and how each one spoils a reply.
// Not thread-safe: the simulated ESC guards it with its own mutex.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <vector>

#include "tools/SimTypes.h"

namespace orx::sim {

// What the ESC puts on the line after a command, and whether the device
// disappears while doing so.
struct Output {
  Bytes bytes;
  std::optional<std::size_t> vanishAt;  // vanish once this many of `bytes` went out
};

class FaultPlan {
 public:
  void add(const Fault& fault) { faults_.push_back(fault); }
  void clear();

  // Appends `reply` to `out`, spoiled by the first live fault for `command`.
  // `pageNumberAt` marks a log page whose wrong reply changes that byte.
  // True when a fault changed the reply.
  bool reply(Command command, const Bytes& reply, Output& out,
             std::optional<std::size_t> pageNumberAt = std::nullopt);

  // Boot loader answers for block `index` (0 = first block of a transfer):
  // one entry per attempt, -1 for no answer; once used up the block is
  // accepted.
  void setBlockReplies(int index, std::vector<int> replies);
  // The answer for this attempt at block `index`: an ack byte, or -1 for none.
  int blockReply(int index, int acceptByte);

  std::size_t pending() const { return faults_.size(); }

 private:
  std::vector<Fault> faults_;
  std::map<int, std::vector<int>> blockReplies_;
};

}  // namespace orx::sim
