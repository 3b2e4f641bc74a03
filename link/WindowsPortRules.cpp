#include "link/WindowsPortRules.h"

#include <cctype>
#include <climits>
#include <cstdlib>

#include "base/Format.h"

namespace orx {

namespace {

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::string ComPortPath(int port) {
  if (port > 9) return strprintf("\\\\.\\COM%02d", port);
  return strprintf("\\\\.\\COM%01X", static_cast<unsigned>(port));
}

int PortNumberFromName(const std::string& portName) {
  std::string text = portName;
  for (size_t i = 0; i < 3 && i < text.size(); ++i) text[i] = '0';
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

bool InstanceIdMatches(const std::string& instanceId, const std::string& search) {
  if (search.empty()) return false;
  const auto at = upper(instanceId).find(search);
  return at != std::string::npos && at > 0;
}

std::string FindInstanceId(const std::vector<std::string>& instanceIds, const std::string& search) {
  std::string list;
  for (const auto& raw : instanceIds) {
    const std::string id = upper(raw);
    if (id.rfind("USB", 0) == 0) list += id + "\r\n";
    if (InstanceIdMatches(id, search)) return id;
  }
  return list;
}

std::string DeviceParametersKey(const std::string& instanceId) {
  const std::string key = instanceId + "\\Device Parameters\\";
  return key.size() > 4 ? key.substr(4) : std::string();
}

int FindComPort(const std::vector<std::string>& instanceIds, const std::string& search,
                const PortNameReader& readPortName) {
  // Not found, FindInstanceId gives the list of ids, whose key does not exist.
  const auto value = readPortName(DeviceParametersKey(FindInstanceId(instanceIds, search)));
  if (!value || value->size() + 1 > kPortNameBufferSize) return -1;
  return PortNumberFromName(*value);
}

}  // namespace orx
