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

// Told when an adapter was found but its port could not be opened (no
// permission, held by another program), with the path and the errno.
using OpenFailureListener = std::function<void(const std::string& path, int error)>;

PortOpener systemPortOpener(DiscoveryRoots roots = {}, OpenFailureListener onOpenFailure = {});

// Always opens `path`, whatever is searched for.
PortOpener fixedPathOpener(std::string path);

}  // namespace orx
