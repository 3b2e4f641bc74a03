// The Win32 backend of SerialPort: "\\.\COMn" opened without sharing, 8N1 by
// DCB, and every time limit a COMMTIMEOUTS read or write against a
// steady-clock deadline.
#pragma once

#include <memory>
#include <string>

#include "link/SerialPort.h"

namespace orx {

class Win32SerialPort final : public SerialPort {
 public:
  // Null when the port cannot be opened; `error` then gets the reason as an
  // errno value (ENOENT absent, EBUSY held by another program, EACCES, EIO),
  // so that the program names it the same way on every platform.
  static std::unique_ptr<Win32SerialPort> open(const std::string& path, int* error = nullptr);
  ~Win32SerialPort() override;
  Win32SerialPort(const Win32SerialPort&) = delete;
  Win32SerialPort& operator=(const Win32SerialPort&) = delete;

  PortRead read(std::span<uint8_t> into, int timeoutMs) override;
  bool write(std::span<const uint8_t> bytes) override;
  bool purge(PurgeWhat what) override;
  bool configure(int baud) override;

  // A write that the port takes no byte of for this long fails (see the POSIX
  // backend: a slow line is waited for, a stuck one is not).
  static constexpr int kWriteStallMs = 5000;

 private:
  explicit Win32SerialPort(void* handle) : handle_(handle) {}
  void* handle_;  // HANDLE; <windows.h> stays out of the headers
  int baud_ = 9600;
};

}  // namespace orx
