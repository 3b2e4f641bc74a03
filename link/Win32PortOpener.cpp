// The Windows variant of PortOpener.cpp: virtual ports first, then SetupAPI
// and the registry, and the port opened through the Win32 backend.
#include "link/PortOpener.h"

#include "link/SetupApiDiscovery.h"
#include "link/Win32SerialPort.h"
#include "link/WindowsPortRules.h"

namespace orx {

PortOpener systemPortOpener(DiscoveryRoots roots, OpenFailureListener onOpenFailure,
                            DiscoveryMessageListener onMessage) {
  return [roots = std::move(roots), onOpenFailure = std::move(onOpenFailure), onMessage = std::move(onMessage)](
             const std::string& search) -> std::unique_ptr<SerialPort> {
    std::string path;
    if (auto listed = FindVirtualPortPath(search, roots)) {
      path = *listed;
    } else {
      const int number = FindComPortNumber(search, onMessage);
      if (number < 0) return nullptr;  // not plugged in: no box, the monitor tries again
      path = ComPortPath(number);
    }
    int error = 0;
    auto port = Win32SerialPort::open(path, &error);
    if (!port && onOpenFailure) onOpenFailure(path, error);
    return port;
  };
}

PortOpener fixedPathOpener(std::string path) {
  return [path = std::move(path)](const std::string&) -> std::unique_ptr<SerialPort> {
    return Win32SerialPort::open(path);
  };
}

}  // namespace orx
