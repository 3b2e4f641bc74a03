// What both simulated ESC kinds offer to the serve loop: bytes in, replies
// out, with no I/O of their own so they can be driven directly in tests.
// Not thread-safe: the simulated ESC calls them under its mutex.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "tools/FaultPlan.h"
#include "tools/StateFile.h"

namespace orx::sim {

using Clock = std::chrono::steady_clock;

class EscModel {
 public:
  virtual ~EscModel() = default;

  // One byte from the program; `lineBaud` is the rate the program set the
  // line to (an ESC on another rate cannot hear it).
  virtual void onByte(std::uint8_t byte, unsigned lineBaud, Clock::time_point now, Output& out) = 0;
  // Called when the line has been quiet for a while, for time-outs.
  virtual void onIdle(Clock::time_point now) = 0;

  // What a restart must not lose (settings, log, use time, firmware).
  virtual StateMap saveState() const = 0;
  // Takes over a saved state; false with `error` (and nothing changed) when
  // it does not fit this ESC.
  virtual bool loadState(const StateMap& state, std::string& error) = 0;

  // True once after something the state file keeps has changed.
  bool takeDirty() {
    const bool d = dirty_;
    dirty_ = false;
    return d;
  }
  // True once after the ESC left its serial port (the NVQ boot loader).
  bool takeLeftPort() {
    const bool l = leftPort_;
    leftPort_ = false;
    return l;
  }

  FaultPlan& faults() { return faults_; }

 protected:
  void markDirty() { dirty_ = true; }
  void markLeftPort() { leftPort_ = true; }
  FaultPlan faults_;

 private:
  bool dirty_ = false;
  bool leftPort_ = false;
};

}  // namespace orx::sim
