// What the status line says when an adapter is plugged in but its port cannot
// be opened: on Linux that is usually a missing permission or another program
// (a modem manager, a terminal) holding the port, and the user can fix both.
#pragma once

#include <optional>
#include <string>

namespace orx {

// Nothing for errors that only mean the device went away meanwhile.
std::optional<std::string> PortAccessText(const std::string& path, int error);

}  // namespace orx
