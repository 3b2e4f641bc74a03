// What the serial firmware transfer needs from the CP210x link.
//
// Kept this small so the transfer runs against a scripted boot loader in the
// tests and against the real UsbUart through UsbUartBootLoaderLink. Every call
// blocks the calling thread (the link worker) for at most its time limit.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orx {

enum class ReplyResult {
  Complete,  // all n bytes came
  Short,     // fewer bytes than asked
  Failed,    // nothing within the time limit, or the read failed
};

class BootLoaderLink {
 public:
  virtual ~BootLoaderLink() = default;
  // Writes one byte and reads its echo; false only when the write failed.
  virtual bool sendByte(uint8_t b) = 0;
  // Waits up to `ms` for `n` reply bytes.
  virtual ReplyResult receiveReply(int n, int ms) = 0;
  // First byte of the receive buffer. After a failed receive it still holds
  // whatever was there before (usually the echo), so judge the result first.
  virtual uint8_t replyByte() const = 0;
  // Writes a block and reads back its echo; false only when the write failed.
  virtual bool writeEchoed(const uint8_t* data, size_t n) = 0;
  // Drops what is waiting in both directions.
  virtual void purge() = 0;
  virtual void busyWait(int ms) = 0;
  // The link worker was asked to stop: reads fail at once, no block goes out.
  virtual bool stopRequested() const { return false; }
};

}  // namespace orx
