// The Windows lookup: the SetupAPI walk and the registry's "PortName".
#include <windows.h>

#include <gtest/gtest.h>

#include "link/SetupApiDiscovery.h"
#include "link/UsbIds.h"
#include "link/WindowsPortRules.h"

namespace orx {
namespace {

// A device key below "Enum\USB\" with a "PortName", removed again after the test.
struct FakeDeviceKey {
  static constexpr const char* kRoot = "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_10C4&PID_EA60\\ORXTEST";
  explicit FakeDeviceKey(const std::string& portName) {
    HKEY key = nullptr;
    const std::string path = std::string(kRoot) + "\\Device Parameters";
    created = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
                  ERROR_SUCCESS &&
              RegSetValueExA(key, "PortName", 0, REG_SZ, reinterpret_cast<const BYTE*>(portName.c_str()),
                             static_cast<DWORD>(portName.size() + 1)) == ERROR_SUCCESS;
    if (key != nullptr) RegCloseKey(key);
  }
  ~FakeDeviceKey() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRoot); }
  bool created = false;
};

TEST(SetupApiDiscovery, ThePortNumberComesFromTheFoundDevicesKey) {
  FakeDeviceKey device("COM12");
  ASSERT_TRUE(device.created);
  const std::vector<std::string> ids = {"ROOT\\LEGACY\\0000", "USB\\VID_10C4&PID_EA60\\ORXTEST"};
  EXPECT_EQ(ReadUsbPortName(DeviceParametersKey(ids[1])), "COM12");
  EXPECT_EQ(FindComPort(ids, kCp210xId, ReadUsbPortName), 12);
  EXPECT_EQ(FindComPort(ids, kStm32Id, ReadUsbPortName), -1);  // no such device: no such key
}

TEST(SetupApiDiscovery, APortNamePastItsBufferIsNotRead) {
  FakeDeviceKey device("COM" + std::string(kPortNameBufferSize, '1'));
  ASSERT_TRUE(device.created);
  EXPECT_EQ(ReadUsbPortName("VID_10C4&PID_EA60\\ORXTEST\\Device Parameters\\"), std::nullopt);
}

TEST(SetupApiDiscovery, TheWalkShowsNoBoxAndFindsNoAdapterThatIsNotThere) {
  std::vector<Message> boxes;
  const auto ids = PresentInstanceIds(kCp210xId, [&](const Message& m) { boxes.push_back(m); });
  EXPECT_TRUE(boxes.empty());
  for (const auto& id : ids) EXPECT_FALSE(InstanceIdMatches(id, kCp210xId)) << id;
  EXPECT_EQ(FindComPortNumber(kStm32Id, {}), -1);
}

TEST(SetupApiDiscovery, AFailedWalkNamesItselfThenTheSystemsReason) {
  const auto boxes = EnumerationFailureBoxes("INVALID_HANDLE_VALUE", ERROR_ACCESS_DENIED);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "INVALID_HANDLE_VALUE");
  EXPECT_FALSE(boxes[1].text.empty());
  EXPECT_EQ(boxes[1].caption, kDefaultCaption);
}

}  // namespace
}  // namespace orx
