// The virtual-port hook: ORX_VIRTUAL_PORTS='ID=PATH,ID=PATH' names devices
// (a simulated ESC on a pty, usually) that are looked up before real ones.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orx {

inline constexpr const char* kVirtualPortsVariable = "ORX_VIRTUAL_PORTS";

// Entries in the order written; blanks around ids and paths are dropped, and
// entries without "=" or with an empty side are ignored.
std::vector<std::pair<std::string, std::string>> parseVirtualPorts(const std::string& text);

// The path listed for `search` (ids compared without regard to case) whose
// file exists now; a listed device is present only while its path exists.
std::optional<std::string> findVirtualPort(const std::string& text, const std::string& search);

// Whether a port's path names something now: a file on Unix
// (PortPresence.cpp); on Windows (PortPresenceWin32.cpp) a file, or any
// device path, which only the open can tell.
bool PortPathPresent(const std::string& path);

}  // namespace orx
