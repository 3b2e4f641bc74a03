#include "link/PortOpener.h"

#include "link/PosixSerialPort.h"

namespace orx {

PortOpener systemPortOpener(DiscoveryRoots roots, OpenFailureListener onOpenFailure, DiscoveryMessageListener) {
  return [roots = std::move(roots), onOpenFailure = std::move(onOpenFailure)](
             const std::string& search) -> std::unique_ptr<SerialPort> {
    const auto path = FindPortPath(search, roots);
    if (!path) return nullptr;
    int error = 0;
    auto port = PosixSerialPort::open(*path, &error);
    if (!port && onOpenFailure) onOpenFailure(*path, error);
    return port;
  };
}

PortOpener fixedPathOpener(std::string path) {
  return [path = std::move(path)](const std::string&) -> std::unique_ptr<SerialPort> {
    return PosixSerialPort::open(path);
  };
}

}  // namespace orx
