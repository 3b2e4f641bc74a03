// Finding the adapter's tty in a fake sysfs tree, and the virtual-port hook.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "PtyPeer.h"
#include "tests/support/FakeSys.h"
#include "link/EscLinks.h"
#include "link/PortDiscovery.h"
#include "link/UsbIds.h"
#include "link/VirtualPorts.h"

namespace orx {
namespace {

using test::FakeSys;

namespace fs = std::filesystem;

TEST(PortDiscovery, FindsTheCp210xAndTheStm32PortsByTheirIds) {
  FakeSys sys;
  sys.addPlatform("ttyS0");
  sys.addVirtual("tty1");
  sys.addUsbSerial("ttyUSB0", "1-2", "10c4", "ea60");
  sys.addAcm("ttyACM0", "1-3", "0483", "5740");
  EXPECT_EQ(FindPortPath(kCp210xId, sys.roots()), sys.dev("ttyUSB0"));
  EXPECT_EQ(FindPortPath(kStm32Id, sys.roots()), sys.dev("ttyACM0"));
}

TEST(PortDiscovery, OtherDevicesAndNoDeviceGiveNothing) {
  FakeSys sys;
  EXPECT_EQ(FindPortPath(kCp210xId, sys.roots()), std::nullopt);
  sys.addPlatform("ttyS0");
  sys.addUsbSerial("ttyUSB0", "1-2", "10c4", "ea61");  // another product of the same maker
  sys.addAcm("ttyACM0", "1-3", "0403", "5740");
  EXPECT_EQ(FindPortPath(kCp210xId, sys.roots()), std::nullopt);
  EXPECT_EQ(FindPortPath(kStm32Id, sys.roots()), std::nullopt);
  EXPECT_EQ(FindPortPath("VID_10C4", sys.roots()), std::nullopt);  // no product id to match
  EXPECT_EQ(FindPortPath(kCp210xId, DiscoveryRoots{"/nonexistent", "/dev", std::string()}), std::nullopt);
}

TEST(PortDiscovery, TwoMatchingDevicesGiveTheFirstInNaturalNameOrder) {
  FakeSys sys;
  sys.addUsbSerial("ttyUSB10", "1-4", "10C4", "EA60");
  sys.addUsbSerial("ttyUSB2", "1-2", "10C4", "EA60");
  sys.addUsbSerial("ttyUSB1", "1-5", "1a86", "7523");
  EXPECT_EQ(findUsbTtys(sys.roots().sys, {0x10C4, 0xEA60}), (std::vector<std::string>{"ttyUSB2", "ttyUSB10"}));
  EXPECT_EQ(FindPortPath(kCp210xId, sys.roots()), sys.dev("ttyUSB2"));
}

TEST(PortDiscovery, UsbIdsAreReadFromTheSearchText) {
  EXPECT_EQ(parseUsbId(kCp210xId), (UsbId{0x10C4, 0xEA60}));
  EXPECT_EQ(parseUsbId("usb\\vid_0483&pid_5740\\0001"), (UsbId{0x0483, 0x5740}));
  EXPECT_EQ(parseUsbId("VID_10C&PID_EA60"), std::nullopt);
  EXPECT_EQ(parseUsbId("VID_XYZW&PID_EA60"), std::nullopt);
  EXPECT_EQ(parseUsbId(""), std::nullopt);
}

TEST(VirtualPorts, AListedPathThatExistsComesBeforeRealDevices) {
  FakeSys sys;
  sys.addUsbSerial("ttyUSB0", "1-2", "10c4", "ea60");
  test::PtyPeer peer;
  const std::string text = std::string(kStm32Id) + "=/nonexistent/x, " + kCp210xId + " = " + peer.slavePath();
  EXPECT_EQ(FindPortPath(kCp210xId, sys.roots(text)), peer.slavePath());
  EXPECT_EQ(FindPortPath(kStm32Id, sys.roots(text)), std::nullopt);  // listed but absent
  const std::string gone = std::string(kCp210xId) + "=/nonexistent/x";
  EXPECT_EQ(FindPortPath(kCp210xId, sys.roots(gone)), sys.dev("ttyUSB0"));
}

TEST(VirtualPorts, MalformedEntriesAreSkipped) {
  const auto entries = parseVirtualPorts(",A=1,,noequals,=2,B=,  C = /x/y ,D=a=b");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], (std::pair<std::string, std::string>{"A", "1"}));
  EXPECT_EQ(entries[1], (std::pair<std::string, std::string>{"C", "/x/y"}));
  EXPECT_EQ(entries[2], (std::pair<std::string, std::string>{"D", "a=b"}));
  EXPECT_TRUE(parseVirtualPorts("").empty());
}

TEST(VirtualPorts, TheEnvironmentVariableOpensALinkOnAPty) {
  test::PtyPeer peer;
  const std::string value = std::string(kStm32Id) + "=" + peer.slavePath();
  ASSERT_EQ(::setenv(kVirtualPortsVariable, value.c_str(), 1), 0);
  DiscoveryRoots roots{"/nonexistent", "/dev", std::nullopt};
  ST32UsbUart link(systemPortOpener(roots));
  EXPECT_EQ(link.OpenLink(kStm32Id), 0);
  EXPECT_EQ(peer.slaveBaud(), 9600);
  UsbUart other(systemPortOpener(roots));
  EXPECT_EQ(other.OpenLink(kCp210xId), 1);  // not listed, no real device
  ::unsetenv(kVirtualPortsVariable);
  link.Close();
  EXPECT_EQ(link.OpenLink(kStm32Id), 1);
}

}  // namespace
}  // namespace orx
