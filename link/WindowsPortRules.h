// How the Windows build finds and names a COM port, kept as pure functions so
// that they stay tested on every platform; SetupApiDiscovery feeds them the
// system's device ids and registry values.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orx {

// "\\.\COM7" for 7 ("%01X" up to 9), "\\.\COM12" for 12 ("%02d" above).
std::string ComPortPath(int port);

// The registry's "PortName" to a number: the first three characters become
// "0" and the rest is read as an integer ("COM12" -> "00012" -> 12). Text
// that does not give a number gives 0; values beyond int are clamped.
int PortNumberFromName(const std::string& portName);

// Whether an instance id names the device searched for: the upper-cased id
// must contain the (non-empty) search text at a position above 0.
bool InstanceIdMatches(const std::string& instanceId, const std::string& search);

// Over the instance ids of the present devices, in enumeration order: the
// first matching id (upper-cased); when none matches, every id beginning with
// "USB" seen, each followed by "\r\n".
std::string FindInstanceId(const std::vector<std::string>& instanceIds, const std::string& search);

// The registry key below "Enum\USB\" that holds "PortName" for a found id:
// the id with "\Device Parameters\" appended and its first four characters
// ("USB\") removed.
std::string DeviceParametersKey(const std::string& instanceId);

// Reads the "PortName" value under a key below "Enum\USB\"; nullopt when the
// key or value does not exist or cannot be read.
using PortNameReader = std::function<std::optional<std::string>(const std::string& key)>;
inline constexpr size_t kPortNameBufferSize = 100;

// The whole lookup: instance id, its key, its "PortName", the number. -1 when
// no device matches, the value is missing, or it does not fit the 100-byte
// buffer (with its terminating zero).
int FindComPort(const std::vector<std::string>& instanceIds, const std::string& search,
                const PortNameReader& readPortName);

}  // namespace orx
