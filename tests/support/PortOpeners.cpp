#include "tests/support/PortOpeners.h"

#include "link/PosixSerialPort.h"

namespace orx::test {

PortOpener onlyFor(std::string id, std::string path) {
  return [id = std::move(id), path = std::move(path)](const std::string& search) -> std::unique_ptr<SerialPort> {
    if (path.empty() || search != id) return nullptr;
    return PosixSerialPort::open(path);
  };
}

PortOpener noPort() {
  return [](const std::string&) -> std::unique_ptr<SerialPort> { return nullptr; };
}

}  // namespace orx::test
