// The simulated DfuSe boot loader on an in-process bus, for the engine and
// flow tests.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "firmware/UsbTransport.h"
#include "tools/DfuSeDevice.h"

namespace orx::test {

inline constexpr const char* kF4Map = "@Internal Flash  /0x08000000/04*016Kg,01*064Kg,07*128Kg";
using sim::kSmallMap;
using FakeDfuDevice = sim::DfuSeDevice;

class FakeDfuHandle : public DfuDeviceHandle {
 public:
  explicit FakeDfuHandle(FakeDfuDevice& device) : device_(device) {}
  UsbResult setAlternate(uint8_t alternate) override {
    return alternate < device_.alternateNames.size() ? UsbResult::Ok : UsbResult::Stall;
  }
  std::vector<std::string> alternateNames() override { return device_.alternateNames; }
  UsbResult controlOut(DfuRequest request, uint16_t value, std::span<const uint8_t> data, int) override {
    return device_.out(request, value, data);
  }
  UsbResult controlIn(DfuRequest request, uint16_t, std::span<uint8_t> data, size_t& received, int) override {
    return device_.in(request, data, received);
  }

 private:
  FakeDfuDevice& device_;
};

class FakeDfuBus : public DfuBus {
 public:
  explicit FakeDfuBus(FakeDfuDevice& device) : device_(device) {}
  std::vector<DfuDeviceInfo> listDfuDevices() override {
    ++lists;
    if (!device_.present || appearAfterLists > lists) return {};
    DfuDeviceInfo info;
    info.path = "USB:1-4:0";
    info.description = device_.product;
    info.vendorId = 0x0483;
    info.productId = productId;
    info.transferSize = device_.transferSize;
    info.node = "/dev/bus/usb/001/007";
    if (refuse != UsbResult::Ok) {  // listed, but the product string needs it opened
      info.description.clear();
      info.openResult = refuse;
    }
    return {info};
  }
  std::unique_ptr<DfuDeviceHandle> open(const std::string& path, UsbResult& result) override {
    if (!device_.present || path != "USB:1-4:0" || refuse != UsbResult::Ok) {
      result = refuse != UsbResult::Ok ? refuse : UsbResult::NotFound;
      return nullptr;
    }
    ++device_.opens;
    device_.reset();
    result = UsbResult::Ok;
    return std::make_unique<FakeDfuHandle>(device_);
  }
  std::atomic<int> lists{0};  // the leave operation may list again on its own thread
  int appearAfterLists = 0;  // listed from this many searches on
  UsbResult refuse = UsbResult::Ok;  // how an open is refused (no permission, held elsewhere)
  uint16_t productId = 0xDF11;

 private:
  FakeDfuDevice& device_;
};

}  // namespace orx::test
