// The flow target's virtual monotonic clock (see VirtualClock.cpp).
#pragma once

namespace orx::fuzz {

// Moves the clock on, as time spent waiting on the port would.
void AdvanceClock(long long ms);

}  // namespace orx::fuzz
