// The few USB calls the DFU engine needs, so that the engine can be run
// against a fake device in tests and against libusb in the program.
//
// Threading: a DfuBus may be called from any one thread at a time; a handle
// belongs to the thread that opened it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace orx {

enum class UsbResult { Ok, NotFound, Access, Busy, Timeout, Stall, Gone, Error };

// One DFU-class interface (class 0xFE, subclass 1) of a present device.
struct DfuDeviceInfo {
  std::string path;         // where it sits on the bus, e.g. "USB:1-4:0"; stable while plugged
  std::string description;  // the product string; empty when the device gives none
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint8_t interfaceNumber = 0;
  uint16_t transferSize = 0;  // from the DFU functional descriptor; 0 when not given
  std::string node;           // its device node, e.g. "/dev/bus/usb/001/007"
  UsbResult openResult = UsbResult::Ok;  // why the description could not be read
};

// DFU class requests (bRequest).
enum class DfuRequest : uint8_t { Detach = 0, Download = 1, Upload = 2, GetStatus = 3, ClearStatus = 4, GetState = 5, Abort = 6 };

// An opened device with its DFU interface claimed.
class DfuDeviceHandle {
 public:
  virtual ~DfuDeviceHandle() = default;
  virtual UsbResult setAlternate(uint8_t alternate) = 0;
  // The interface string descriptor of every alternate setting of the DFU
  // interface, indexed by alternate number ("" where there is none).
  virtual std::vector<std::string> alternateNames() = 0;
  // Class requests to the claimed interface (host to device / device to host).
  virtual UsbResult controlOut(DfuRequest request, uint16_t value, std::span<const uint8_t> data, int timeoutMs) = 0;
  virtual UsbResult controlIn(DfuRequest request, uint16_t value, std::span<uint8_t> data, size_t& received,
                              int timeoutMs) = 0;
};

class DfuBus {
 public:
  virtual ~DfuBus() = default;
  virtual std::vector<DfuDeviceInfo> listDfuDevices() = 0;
  // Opens the device at `path` and claims its DFU interface; null with the
  // reason in `result` when that cannot be done.
  virtual std::unique_ptr<DfuDeviceHandle> open(const std::string& path, UsbResult& result) = 0;
};

const char* UsbResultText(UsbResult result);

}  // namespace orx
