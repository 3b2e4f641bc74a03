// A fake sysfs and /dev for adapter discovery, in a folder of its own.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "link/PortDiscovery.h"

namespace orx::test {

namespace fs = std::filesystem;

// A sysfs tree laid out as the kernel does: /sys/class/tty/<name>/device links
// into /sys/devices, below the USB device that carries idVendor/idProduct.
class FakeSys {
 public:
  FakeSys() {
    root_ = fs::path(testing::TempDir()) / ("orx_sys_" + std::to_string(::getpid()) + "_" + std::to_string(counter_++));
    fs::remove_all(root_);
    fs::create_directories(root_ / "sys/class/tty");
    fs::create_directories(root_ / "dev");
  }
  ~FakeSys() { fs::remove_all(root_); }

  // usb-serial (ttyUSB): device -> the port node below the interface.
  void addUsbSerial(const std::string& name, const std::string& usbDev, const std::string& vid, const std::string& pid) {
    const fs::path dev = usbDevice(usbDev, vid, pid);
    const fs::path port = dev / (usbDev + ":1.0") / name;
    fs::create_directories(port);
    link(name, port);
  }
  // cdc-acm (ttyACM): device -> the interface itself.
  void addAcm(const std::string& name, const std::string& usbDev, const std::string& vid, const std::string& pid) {
    const fs::path dev = usbDevice(usbDev, vid, pid);
    const fs::path iface = dev / (usbDev + ":1.0");
    fs::create_directories(iface / "tty" / name);
    link(name, iface);
  }
  // A built-in port with no USB device above it.
  void addPlatform(const std::string& name) {
    const fs::path dev = root_ / "sys/devices/platform/serial8250" / name;
    fs::create_directories(dev);
    link(name, dev);
  }
  void addVirtual(const std::string& name) { fs::create_directories(root_ / "sys/class/tty" / name); }

  DiscoveryRoots roots(std::string virtualPorts = "") const {
    return {(root_ / "sys").string(), (root_ / "dev").string(), virtualPorts};
  }
  std::string dev(const std::string& name) const { return (root_ / "dev" / name).string(); }

 private:
  fs::path usbDevice(const std::string& usbDev, const std::string& vid, const std::string& pid) {
    const fs::path dev = root_ / "sys/devices/pci0000:00/0000:00:14.0/usb1" / usbDev;
    fs::create_directories(dev);
    std::ofstream(dev / "idVendor") << vid << "\n";
    std::ofstream(dev / "idProduct") << pid << "\n";
    return dev;
  }
  void link(const std::string& name, const fs::path& target) {
    fs::create_directories(root_ / "sys/class/tty" / name);
    fs::create_directory_symlink(target, root_ / "sys/class/tty" / name / "device");
  }

  static inline int counter_ = 0;
  fs::path root_;
};

}  // namespace orx::test
