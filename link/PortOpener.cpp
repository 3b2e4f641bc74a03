#include "link/PortOpener.h"

#include "link/PosixSerialPort.h"

namespace orx {

PortOpener systemPortOpener(DiscoveryRoots roots) {
  return [roots = std::move(roots)](const std::string& search) -> std::unique_ptr<SerialPort> {
    const auto path = FindPortPath(search, roots);
    if (!path) return nullptr;
    return PosixSerialPort::open(*path);
  };
}

PortOpener fixedPathOpener(std::string path) {
  return [path = std::move(path)](const std::string&) -> std::unique_ptr<SerialPort> {
    return PosixSerialPort::open(path);
  };
}

}  // namespace orx
