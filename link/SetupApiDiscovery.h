// Finding an adapter's COM port the Windows way: SetupAPI lists the present
// devices, the registry below "Enum\USB\" gives the found device's "PortName".
// The rules that turn ids and names into a port live in WindowsPortRules.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/PortOpener.h"

namespace orx {

// The instance ids of all present devices, in enumeration order, up to and
// including the first that matches `search` (the walk stops there). A set
// that cannot be built shows "INVALID_HANDLE_VALUE" and an id that cannot be
// read "Error could not read device information set", each followed by the
// system's text for the error; the walk ends with what it has.
std::vector<std::string> PresentInstanceIds(const std::string& search, const DiscoveryMessageListener& onMessage);

// "PortName" under HKEY_LOCAL_MACHINE "SYSTEM\CurrentControlSet\Enum\USB\<key>";
// nullopt when a key or the value is missing, or longer than its 100-byte buffer.
std::optional<std::string> ReadUsbPortName(const std::string& key);

// The COM port number of the first present device matching `search`, or -1.
int FindComPortNumber(const std::string& search, const DiscoveryMessageListener& onMessage);

// The boxes of a failed walk: the fixed text, then the system's text for `error`.
std::vector<Message> EnumerationFailureBoxes(const char* what, unsigned long error);

}  // namespace orx
