// The Windows lookup rules kept as pure functions, and the hex-digit decoding.
#include <gtest/gtest.h>

#include <map>

#include "link/HexDigits.h"
#include "link/WindowsPortRules.h"

namespace orx {
namespace {

TEST(WindowsPortRules, PortPathUsesHexUpToNineAndTwoDecimalsAbove) {
  EXPECT_EQ(ComPortPath(7), "\\\\.\\COM7");
  EXPECT_EQ(ComPortPath(3), "\\\\.\\COM3");
  EXPECT_EQ(ComPortPath(9), "\\\\.\\COM9");
  EXPECT_EQ(ComPortPath(10), "\\\\.\\COM10");
  EXPECT_EQ(ComPortPath(12), "\\\\.\\COM12");
  EXPECT_EQ(ComPortPath(123), "\\\\.\\COM123");
}

TEST(WindowsPortRules, PortNameBecomesANumberThroughTheZeroOverwrite) {
  EXPECT_EQ(PortNumberFromName("COM12"), 12);
  EXPECT_EQ(PortNumberFromName("COM3"), 3);
  EXPECT_EQ(PortNumberFromName("COM10"), 10);
  EXPECT_EQ(PortNumberFromName("XYZ7"), 7);  // whatever the first three characters were
  EXPECT_EQ(PortNumberFromName("COM"), 0);
  EXPECT_EQ(PortNumberFromName(""), 0);
  EXPECT_EQ(PortNumberFromName("COMX1"), 0);
  EXPECT_EQ(PortNumberFromName("COM99999999999999"), 2147483647);
}

TEST(WindowsPortRules, SearchTextMustFollowTheStartOfTheId) {
  const std::string search = "VID_10C4&PID_EA60";
  EXPECT_TRUE(InstanceIdMatches("USB\\VID_10C4&PID_EA60\\0001", search));
  EXPECT_TRUE(InstanceIdMatches("usb\\vid_10c4&pid_ea60\\0001", search));
  EXPECT_FALSE(InstanceIdMatches("VID_10C4&PID_EA60\\0001", search));  // only at position 0
  EXPECT_FALSE(InstanceIdMatches("USB\\VID_0483&PID_5740\\0001", search));
  EXPECT_FALSE(InstanceIdMatches("USB\\VID_10C4&PID_EA60\\0001", ""));
}

TEST(WindowsPortRules, FirstMatchingInstanceWinsElseTheUsbIdsAreListed) {
  const std::vector<std::string> ids = {"ROOT\\SYSTEM\\0000", "USB\\ROOT_HUB30\\4&1", "VID_10C4&PID_EA60\\AT_START",
                                        "USB\\VID_10C4&PID_EA60\\FIRST", "USB\\VID_10C4&PID_EA60\\SECOND"};
  EXPECT_EQ(FindInstanceId(ids, "VID_10C4&PID_EA60"), "USB\\VID_10C4&PID_EA60\\FIRST");
  EXPECT_EQ(FindInstanceId(ids, "VID_0483&PID_5740"),
            "USB\\ROOT_HUB30\\4&1\r\nUSB\\VID_10C4&PID_EA60\\FIRST\r\nUSB\\VID_10C4&PID_EA60\\SECOND\r\n");
  EXPECT_EQ(DeviceParametersKey("USB\\VID_10C4&PID_EA60\\0001"), "VID_10C4&PID_EA60\\0001\\Device Parameters\\");
}

TEST(WindowsPortRules, FindComPortReadsThePortNameOfTheFoundDevice) {
  const std::vector<std::string> ids = {"USB\\ROOT_HUB30\\4&1", "USB\\VID_10C4&PID_EA60\\0001"};
  std::vector<std::string> keysAsked;
  const std::map<std::string, std::string> registry = {
      {"VID_10C4&PID_EA60\\0001\\Device Parameters\\", "COM12"}};
  const PortNameReader reader = [&](const std::string& key) -> std::optional<std::string> {
    keysAsked.push_back(key);
    const auto it = registry.find(key);
    if (it == registry.end()) return std::nullopt;
    return it->second;
  };
  EXPECT_EQ(FindComPort(ids, "VID_10C4&PID_EA60", reader), 12);
  EXPECT_EQ(keysAsked.back(), "VID_10C4&PID_EA60\\0001\\Device Parameters\\");
  EXPECT_EQ(FindComPort(ids, "VID_0483&PID_5740", reader), -1);  // no such device: no such key
  EXPECT_EQ(FindComPort({}, "VID_10C4&PID_EA60", reader), -1);
  const PortNameReader tooLong = [](const std::string&) { return std::optional<std::string>(std::string(100, '7')); };
  EXPECT_EQ(FindComPort(ids, "VID_10C4&PID_EA60", tooLong), -1);
  const PortNameReader fits = [](const std::string&) { return std::optional<std::string>("COM" + std::string(95, '0') + "5"); };
  EXPECT_EQ(FindComPort(ids, "VID_10C4&PID_EA60", fits), 5);  // 99 characters and the zero
}

TEST(HexDigits, OnlyDigitsAndCapitalsDecodeOthersKeepTheirCode) {
  EXPECT_EQ(HexDigitValue('0'), 0);
  EXPECT_EQ(HexDigitValue('9'), 9);
  EXPECT_EQ(HexDigitValue('A'), 10);
  EXPECT_EQ(HexDigitValue('F'), 15);
  EXPECT_EQ(HexDigitValue('a'), 97);
  EXPECT_EQ(HexDigitValue('G'), 71);
  EXPECT_EQ(HexDigitValue('\xB0'), 0xB0);
  EXPECT_EQ(HexPairValue('F', 'F'), 255);
  EXPECT_EQ(HexPairValue('1', 'A'), 26);
  EXPECT_EQ(HexPairValue('0', '0'), 0);
  EXPECT_EQ(HexPairValue('a', '0'), (16 * 97) % 256);
  EXPECT_EQ(HexPairValue('G', '1'), (16 * 71 + 1) % 256);
}

}  // namespace
}  // namespace orx
