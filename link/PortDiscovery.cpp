#include "link/PortDiscovery.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "link/VirtualPorts.h"

namespace orx {

namespace fs = std::filesystem;

namespace {

std::optional<unsigned> hexAfter(const std::string& upper, const std::string& key) {
  const auto at = upper.find(key);
  if (at == std::string::npos) return std::nullopt;
  const auto digits = upper.substr(at + key.size(), 4);
  if (digits.size() != 4 || !std::all_of(digits.begin(), digits.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c)) != 0;
      })) {
    return std::nullopt;
  }
  return static_cast<unsigned>(std::strtoul(digits.c_str(), nullptr, 16));
}

std::optional<unsigned> readHexFile(const fs::path& file) {
  std::ifstream in(file);
  std::string text;
  if (!(in >> text) || text.empty() || text.size() > 4) return std::nullopt;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 16);
  if (*end != '\0') return std::nullopt;
  return static_cast<unsigned>(value);
}

// Walks from the tty's device up to the first directory carrying idVendor and
// idProduct (the USB device); stops at the sysfs root.
std::optional<UsbId> usbIdOf(const fs::path& ttyDir, const fs::path& sysRoot) {
  std::error_code ec;
  fs::path dir = fs::canonical(ttyDir / "device", ec);
  if (ec) return std::nullopt;
  const fs::path root = fs::canonical(sysRoot, ec);
  if (ec) return std::nullopt;
  for (int depth = 0; depth < 32 && dir.has_relative_path() && dir != root; ++depth) {
    if (fs::exists(dir / "idVendor", ec) && fs::exists(dir / "idProduct", ec)) {
      const auto vendor = readHexFile(dir / "idVendor");
      const auto product = readHexFile(dir / "idProduct");
      if (!vendor || !product) return std::nullopt;
      return UsbId{*vendor, *product};
    }
    dir = dir.parent_path();
  }
  return std::nullopt;
}

// Name order with the trailing number compared as a number.
bool naturalLess(const std::string& a, const std::string& b) {
  auto split = [](const std::string& s) {
    size_t i = s.size();
    while (i > 0 && std::isdigit(static_cast<unsigned char>(s[i - 1]))) --i;
    const std::string digits = s.substr(i);
    const unsigned long number = digits.empty() || digits.size() > 9 ? 0 : std::strtoul(digits.c_str(), nullptr, 10);
    return std::make_tuple(s.substr(0, i), digits.empty() ? 0 : 1, number, s);
  };
  return split(a) < split(b);
}

}  // namespace

std::optional<UsbId> parseUsbId(const std::string& search) {
  std::string upper = search;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const auto vendor = hexAfter(upper, "VID_");
  const auto product = hexAfter(upper, "PID_");
  if (!vendor || !product) return std::nullopt;
  return UsbId{*vendor, *product};
}

std::vector<std::string> findUsbTtys(const std::string& sysRoot, UsbId id) {
  std::vector<std::string> names;
  std::error_code ec;
  const fs::path classDir = fs::path(sysRoot) / "class" / "tty";
  for (fs::directory_iterator it(classDir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const auto found = usbIdOf(it->path(), sysRoot);
    if (found && *found == id) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), naturalLess);
  return names;
}

std::optional<std::string> FindVirtualPortPath(const std::string& search, const DiscoveryRoots& roots) {
  std::string virtualText;
  if (roots.virtualPorts) {
    virtualText = *roots.virtualPorts;
  } else if (const char* env = std::getenv(kVirtualPortsVariable)) {
    virtualText = env;
  }
  return findVirtualPort(virtualText, search);
}

std::optional<std::string> FindPortPath(const std::string& search, const DiscoveryRoots& roots) {
  if (auto path = FindVirtualPortPath(search, roots)) return path;

  const auto id = parseUsbId(search);
  if (!id) return std::nullopt;
  const auto names = findUsbTtys(roots.sys, *id);
  if (names.empty()) return std::nullopt;
  return (fs::path(roots.dev) / names.front()).string();
}

}  // namespace orx
