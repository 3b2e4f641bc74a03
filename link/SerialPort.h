// One open serial port, as the links see it: timed reads, whole writes,
// purges and the line settings. The backends are PosixSerialPort (termios)
// and Win32SerialPort (COM ports), one per platform; tests can put their own
// port behind the same interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stop_token>

namespace orx {

enum class PurgeWhat { Receive, Transmit, Both };

enum class ReadStatus {
  Complete,  // every byte asked for arrived
  Short,     // the time limit passed after at least one byte: success with fewer bytes
  TimedOut,  // nothing arrived within the time limit
  Failed,    // the device reported an error or vanished
  Stopped,   // the link worker was asked to stop; bytes that came are kept
};

struct PortRead {
  ReadStatus status = ReadStatus::Failed;
  size_t count = 0;  // bytes stored from the start of the buffer

  bool succeeded() const { return status == ReadStatus::Complete || status == ReadStatus::Short; }
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Waits at most timeoutMs for into.size() bytes, storing them from into[0].
  virtual PortRead read(std::span<uint8_t> into, int timeoutMs) = 0;
  // True only when every byte was written. A vanished device fails at once.
  virtual bool write(std::span<const uint8_t> bytes) = 0;
  virtual bool purge(PurgeWhat what) = 0;
  // Raw 8 data bits, no parity, one stop bit at `baud` (any rate, standard or
  // not). False leaves the previous settings in place.
  virtual bool configure(int baud) = 0;
  // Reads end with Stopped as soon as a stop is requested on `stop`. Ports
  // without a way to wake a read may ignore it (their reads then run out).
  virtual void watchStop(std::stop_token stop) { (void)stop; }
};

}  // namespace orx
