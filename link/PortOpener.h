// How a link gets its port for a search text. The default looks the adapter up
// (virtual ports first, then sysfs) and opens the tty; tests hand a link their
// own opener to point it at a pty directly.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "link/PortDiscovery.h"
#include "link/SerialPort.h"

namespace orx {

using PortOpener = std::function<std::unique_ptr<SerialPort>(const std::string& search)>;

PortOpener systemPortOpener(DiscoveryRoots roots = {});

// Always opens `path`, whatever is searched for.
PortOpener fixedPathOpener(std::string path);

}  // namespace orx
