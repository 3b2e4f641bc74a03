// How a link gets its port for a search text. The default looks the adapter up
// (virtual ports first, then sysfs on Linux or SetupAPI on Windows) and opens
// the port; tests hand a link their own opener to point it at a pty directly.
// PortOpener.cpp is the POSIX variant, Win32PortOpener.cpp the Windows one.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "base/Messages.h"
#include "link/PortDiscovery.h"
#include "link/SerialPort.h"

namespace orx {

using PortOpener = std::function<std::unique_ptr<SerialPort>(const std::string& search)>;

// Told when an adapter was found but its port could not be opened (no
// permission, held by another program), with the path and the errno.
using OpenFailureListener = std::function<void(const std::string& path, int error)>;

// Told each box the lookup itself shows (Windows: a device set that cannot be
// walked); the sysfs walk shows none.
using DiscoveryMessageListener = std::function<void(const Message&)>;

PortOpener systemPortOpener(DiscoveryRoots roots = {}, OpenFailureListener onOpenFailure = {},
                            DiscoveryMessageListener onMessage = {});

// Always opens `path`, whatever is searched for.
PortOpener fixedPathOpener(std::string path);

}  // namespace orx
