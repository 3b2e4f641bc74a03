// The CP210x link: a single-wire line to an older ESC, on which every byte
// written comes back as an echo that the link reads and discards.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "link/SerialLink.h"

namespace orx {

// ReceiveReply's outcome; the numbers are the ones callers know.
enum class ReceiveResult {
  Complete = 0,  // exactly the bytes asked for
  Failed = 2,    // nothing came (time limit) or the read failed; the link was purged
  Short = 3,     // fewer bytes than asked for
};

// Something came, all of it or a part: the reply's first byte can be judged.
inline bool Received(ReceiveResult r) {
  switch (r) {
    case ReceiveResult::Complete:
    case ReceiveResult::Short: return true;
    case ReceiveResult::Failed: return false;
  }
  return false;
}

class UsbUart : public SerialLink {
 public:
  static constexpr size_t kReceiveSize = 250;
  static constexpr int kEchoMs = 1000;
  static constexpr int kAckMs = 2000;
  // The baud cycle's rates, selected by BaudStep 3..6.
  static constexpr int kBaudCycle[4] = {9600, 1200, 4800, 19200};

  explicit UsbUart(PortOpener opener = systemPortOpener());
  ~UsbUart() override;

  // 0 when open (also when it already was, or when the line settings could not
  // be applied), 1 when the port cannot be opened. The rate is this link's
  // baud, or 256000 when the STM32 port's id is searched for.
  int OpenLink(const std::string& search);

  // Purge the receive side, write `b`, read its echo (1000 ms, not judged).
  // True when the byte was written.
  bool SendByte(uint8_t b);
  // Purge the transmit side, read `n` bytes within `ms`. PurgeAll after a failure.
  ReceiveResult ReceiveReply(size_t n, int ms);
  // PurgeAll, SendByte, ReceiveReply(1, 2000); true when the byte received is 1.
  bool CommandExpectAck(uint8_t b);
  // PurgeAll, write, read the echo (1000 ms), ReceiveReply(1, 2000); true when
  // the write succeeded and the acknowledgement 1 came.
  bool SendExpectAck(std::span<const uint8_t> bytes);
  // Write, wait 1000 ms at 1200 baud, read the echo (500 ms, then 300 ms for
  // what is missing). Fails only when the write fails.
  bool WriteEchoed(std::span<const uint8_t> bytes);
  // Baud cycle: the new baud, or 0 when it stays. A new baud closes the port
  // (state fields untouched) so the next OpenLink uses it.
  int NextBaud();

  // Set when the last write of SendByte/SendExpectAck/WriteEchoed failed, so
  // callers can tell a dead link from a refused command.
  bool lastWriteFailed() const { return lastWriteFailed_; }

  // Windows 95/98/Me wrote synchronously and waited 100 ms before each reply;
  // kept for the same behaviour should a backend need it.
  bool synchronousWrite = false;

 private:
  bool lastWriteFailed_ = false;
};

}  // namespace orx
