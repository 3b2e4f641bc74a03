// An older ESC behind the CP210x adapter, scripted on a pty for the flow
// tests: the line echoes every byte (the adapter does that even with no ESC),
// the ESC answers Ping, Identify, the boot request, the dump, defaults and
// every setting command, and can be told to stay silent or to leave one
// setting unacknowledged.
#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "PtyPeer.h"

namespace orx::test {

class FakeCp210xEsc {
 public:
  FakeCp210xEsc();
  ~FakeCp210xEsc();

  const std::string& path() const { return peer_.slavePath(); }
  PtyPeer& peer() { return peer_; }

  void setAnswering(bool on);
  // Answers the boot request 0xD6 with 0xD7 (an ESC in its boot loader).
  void setBootLoader(bool on);
  // Byte 2 of the Identify reply: the raw hardware byte.
  void setHardwareByte(uint8_t raw);
  void setDump(Bytes dump);
  // The setting command (one byte, or the prefix of a pair) gets no acknowledgement.
  void refuse(uint8_t code);

  // Setting commands the ESC acknowledged, in order (one or two bytes each).
  std::vector<Bytes> applied() const;
  int defaultsRestored() const;

 private:
  std::optional<PeerReply> handle(Bytes& pending);

  PtyPeer peer_;
  mutable std::mutex mutex_;
  bool answering_ = true;
  bool bootLoader_ = false;
  Bytes identify_{0x00, 0x01, 0x0B, 0x02, 0x15, 0x07, 0x00};
  Bytes dump_;
  std::set<uint8_t> refused_;
  std::vector<Bytes> applied_;
  int defaults_ = 0;
};

// A dump as an ESC with the overload marker would send it: propeller hold
// enabled, MOTOR-01 with rate entry 2, BALANCED, HIGH (HARD), 3.4 V, cutoff ON,
// PRECISION timing, REVERSE, S.R. braking entry 1, ARM ONLY, DYNAMIC
// calibration, overload STANDARD, stall ENABLED, adapter TRIPLE.
Bytes sampleCp210xDump();

}  // namespace orx::test
