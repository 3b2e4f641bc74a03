// A DFU bus whose one device is a simulated boot loader behind a Unix socket
// (orx-esc-sim's), named by ORX_VIRTUAL_DFU='PATH'. The device is present
// while the socket accepts; every request is one exchange in the format of
// VirtualDfuWire.h. A reply that is late, short, too long or malformed is a
// USB failure, never a crash or a read past what was sent. POSIX only.
#pragma once

#include <string>

#include "firmware/UsbTransport.h"

namespace orx {

inline constexpr const char* kVirtualDfuVariable = "ORX_VIRTUAL_DFU";

class SocketDfuBus : public DfuBus {
 public:
  explicit SocketDfuBus(std::string socketPath) : socketPath_(std::move(socketPath)) {}

  std::vector<DfuDeviceInfo> listDfuDevices() override;
  std::unique_ptr<DfuDeviceHandle> open(const std::string& path, UsbResult& result) override;

  // The bus path the one device is listed under.
  std::string devicePath() const { return "VIRTUAL:" + socketPath_; }

 private:
  std::string socketPath_;
};

}  // namespace orx
