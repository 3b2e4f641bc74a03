// The serial boot loader of the older ESC: a byte handshake (0xD6 answered
// by 0xD7, 0xD7 by 0xD8), then firmware blocks of two big-endian length bytes
// and a payload, each acknowledged by 0x11.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tools/EscModel.h"

namespace orx::sim {

class SerialBootLoader {
 public:
  enum class Step {
    Waiting,   // running, not yet synchronised
    Synced,    // answered 0xD7 with 0xD8
    Transfer,  // answered 0xD6 with 0xD7 after the sync: blocks follow
  };
  enum class Event {
    None,
    Finished,  // the transfer is over: the new image is in received()
  };

  void restart();  // entered afresh (power-up in the loader, or a boot request)
  Step step() const { return step_; }

  // One byte at the loader's baud. `Finished` means the byte was not for the
  // loader but for the new application, which the caller starts and hands
  // the byte to.
  Event onByte(std::uint8_t byte, Clock::time_point now, FaultPlan& faults, Output& out);
  // A long silence after blocks ends the transfer as well.
  Event onIdle(Clock::time_point now);

  // Blocks accepted so far, laid end to end as they came (length bytes
  // included): the image file's decoded bytes.
  const Bytes& received() const { return image_; }
  int blocksAccepted() const { return blocks_; }

 private:
  Step step_ = Step::Waiting;
  Bytes image_;
  Bytes block_;  // block being received
  int blocks_ = 0;
  Clock::time_point lastByte_{};
};

}  // namespace orx::sim
