// Finding the tty of an adapter by its USB id, the Linux way: every
// <sys>/class/tty/<name> whose device sits below a USB device with the wanted
// idVendor/idProduct maps to <dev>/<name>. Virtual ports come first.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orx {

struct UsbId {
  unsigned vendor = 0;
  unsigned product = 0;
  bool operator==(const UsbId&) const = default;
};

// "VID_10C4&PID_EA60" (any case, anywhere in the text) -> {0x10C4, 0xEA60}.
std::optional<UsbId> parseUsbId(const std::string& search);

struct DiscoveryRoots {
  std::string sys = "/sys";
  std::string dev = "/dev";
  // The ORX_VIRTUAL_PORTS text; nullopt reads the environment at each lookup.
  std::optional<std::string> virtualPorts;
};

// The tty names under <sys>/class/tty that belong to a USB device with `id`,
// in natural name order (ttyACM0 < ttyUSB2 < ttyUSB10).
std::vector<std::string> findUsbTtys(const std::string& sysRoot, UsbId id);

// The present virtual port listed for `search` (roots.virtualPorts, else
// the environment), on every platform.
std::optional<std::string> FindVirtualPortPath(const std::string& search, const DiscoveryRoots& roots);

// The device path for `search`: a present virtual port listed for it, else the
// first matching tty in natural name order; nullopt when there is none.
std::optional<std::string> FindPortPath(const std::string& search, const DiscoveryRoots& roots = {});

}  // namespace orx
