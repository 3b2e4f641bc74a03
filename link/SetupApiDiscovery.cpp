#include "link/SetupApiDiscovery.h"

#include <windows.h>
// <windows.h> first: setupapi.h needs its types.
#include <setupapi.h>

#include "link/WindowsPortRules.h"

namespace orx {

namespace {

constexpr DWORD kInstanceIdChars = 260;
constexpr const char* kSetFailed = "INVALID_HANDLE_VALUE";
constexpr const char* kIdFailed = "Error could not read device information set";

std::string systemText(DWORD error) {
  char* buffer = nullptr;
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = n != 0 && buffer != nullptr ? std::string(buffer, n) : std::string();
  LocalFree(buffer);
  return text;
}

void tell(const DiscoveryMessageListener& onMessage, const char* what, DWORD error) {
  if (!onMessage) return;
  for (const Message& box : EnumerationFailureBoxes(what, error)) onMessage(box);
}

// Closes a registry key when it leaves scope.
struct Key {
  HKEY handle = nullptr;
  ~Key() {
    if (handle != nullptr) RegCloseKey(handle);
  }
};

}  // namespace

std::vector<Message> EnumerationFailureBoxes(const char* what, unsigned long error) {
  return {{kDefaultCaption, MsgIcon::None, MsgButtons::Ok, what},
          {kDefaultCaption, MsgIcon::None, MsgButtons::Ok, systemText(error)}};
}

std::vector<std::string> PresentInstanceIds(const std::string& search, const DiscoveryMessageListener& onMessage) {
  std::vector<std::string> ids;
  HDEVINFO set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
  if (set == INVALID_HANDLE_VALUE) {
    tell(onMessage, kSetFailed, GetLastError());
    return ids;
  }
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
    char id[kInstanceIdChars] = {};
    if (!SetupDiGetDeviceInstanceIdA(set, &device, id, kInstanceIdChars, nullptr)) {
      tell(onMessage, kIdFailed, GetLastError());
      break;
    }
    ids.emplace_back(id);
    if (InstanceIdMatches(ids.back(), search)) break;
  }
  SetupDiDestroyDeviceInfoList(set);
  return ids;
}

std::optional<std::string> ReadUsbPortName(const std::string& key) {
  // A 64-bit view always: a 32-bit build on 64-bit Windows would otherwise
  // look in a redirected copy of the key.
  const REGSAM access = KEY_READ | KEY_WOW64_64KEY;
  Key control, usb, device;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\", 0, access, &control.handle) != ERROR_SUCCESS ||
      RegOpenKeyExA(control.handle, "Enum\\USB\\", 0, access, &usb.handle) != ERROR_SUCCESS ||
      RegOpenKeyExA(usb.handle, key.c_str(), 0, access, &device.handle) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  char value[kPortNameBufferSize] = {};
  DWORD size = sizeof value - 1;  // room for the terminating zero the value may lack
  DWORD type = 0;
  if (RegQueryValueExA(device.handle, "PortName", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  return std::string(value);
}

int FindComPortNumber(const std::string& search, const DiscoveryMessageListener& onMessage) {
  return FindComPort(PresentInstanceIds(search, onMessage), search, ReadUsbPortName);
}

}  // namespace orx
