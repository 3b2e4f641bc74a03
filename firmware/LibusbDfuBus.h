// The DFU bus over libusb-1.0: lists the DFU-class interfaces (class 0xFE,
// subclass 1) of present devices and opens one with its interface claimed.
// A missing library context, a vanished device or a permission problem is a
// result, never a crash.
#pragma once

#include "firmware/UsbTransport.h"

struct libusb_context;

namespace orx {

class LibusbDfuBus : public DfuBus {
 public:
  LibusbDfuBus();
  ~LibusbDfuBus() override;
  LibusbDfuBus(const LibusbDfuBus&) = delete;
  LibusbDfuBus& operator=(const LibusbDfuBus&) = delete;

  bool available() const { return context_ != nullptr; }
  std::vector<DfuDeviceInfo> listDfuDevices() override;
  std::unique_ptr<DfuDeviceHandle> open(const std::string& path, UsbResult& result) override;

 private:
  libusb_context* context_ = nullptr;
};

}  // namespace orx
