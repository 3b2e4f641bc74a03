// The libusb backend of the DFU engine, on whatever this machine has plugged in.
#include <gtest/gtest.h>

#include "firmware/LibusbDfuBus.h"

namespace orx {
namespace {

TEST(LibusbDfuBus, NoDeviceIsFoundWithoutCrashing) {
  LibusbDfuBus bus;
  // Whatever this machine has plugged in, a made-up place holds no device.
  UsbResult result = UsbResult::Ok;
  EXPECT_EQ(bus.open("USB:250-9.9.9:7", result), nullptr);
  EXPECT_NE(result, UsbResult::Ok);
  for (const DfuDeviceInfo& info : bus.listDfuDevices()) EXPECT_FALSE(info.path.empty());
}

}  // namespace
}  // namespace orx
