// The termios backend of SerialPort: a tty (USB serial adapter, ACM port or a
// pseudo-terminal slave) opened exclusively and non-blocking; every time limit
// is a poll() against a steady-clock deadline.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "link/SerialPort.h"

namespace orx {

class PosixSerialPort final : public SerialPort {
 public:
  // nullptr when the path cannot be opened or is already held exclusively.
  // Null when the port cannot be opened; `error` then gets the reason (errno).
  static std::unique_ptr<PosixSerialPort> open(const std::string& path, int* error = nullptr);
  ~PosixSerialPort() override;
  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  PortRead read(std::span<uint8_t> into, int timeoutMs) override;
  bool write(std::span<const uint8_t> bytes) override;
  bool purge(PurgeWhat what) override;
  bool configure(int baud) override;
  void watchStop(std::stop_token stop) override;

  int fd() const { return fd_; }

  // A write whose output queue takes no byte for this long (flow control
  // stuck) fails rather than blocking the link worker for good. A slow line
  // that keeps draining is waited for, however long the write.
  static constexpr int kWriteStallMs = 5000;

 private:
  explicit PosixSerialPort(int fd) : fd_(fd) {}
  int fd_;
  // Readable once a stop is requested: every read polls it beside the port.
  int stopFd_ = -1;
  std::unique_ptr<std::stop_callback<std::function<void()>>> onStop_;
};

}  // namespace orx
