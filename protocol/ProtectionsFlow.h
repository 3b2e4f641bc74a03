// Reading and clearing the protection records of an older ESC (firmware
// families A and B, behind the CP210x adapter), for the protections window.
// Each run is one job on the link worker.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Messages.h"
#include "protocol/DeviceSession.h"
#include "protocol/FlowHost.h"

namespace orx {

inline constexpr size_t kProtectionCount = 5;

// Reply byte order: over voltage, stall, low voltage cutoff, overload, over temperature.
enum class ProtectionState {
  NotRead,    // grey: never read, or the ESC sent fewer bytes
  Clear,      // blue: never tripped
  Activated,  // orange: the ESC sent 0xAA
};
using ProtectionStates = std::array<ProtectionState, kProtectionCount>;
// Their names, in the same order.
inline constexpr std::array<const char*, kProtectionCount> kProtectionLabels{
    "Over Voltage",
    "Stall Protection",
    "Low Voltage Cutoff",
    "Overload Protection (applies to one ESC series only)",
    "Over Temperature",
};

// One state per protection from the collected bytes; bytes past the fifth are ignored.
ProtectionStates ProtectionStatesFrom(const std::vector<uint8_t>& bytes);

// Options > Protections opens its window only for firmware families A and B.
bool ProtectionsWindowAllowed(const std::string& firmwareVersionText);
inline Message protectionsRefusedBox() {
  return errorBox(
      "Error: This window is for reading the protections off firmware versions A and B. Make sure the device is "
      "connected");
}
inline Message protectionsClearedBox() { return {"ORXDevice", MsgIcon::None, MsgButtons::Ok, "Success"}; }

struct ProtectionsRead {
  bool answered = false;       // the ESC answered the Ping; only then are the states new
  std::vector<uint8_t> bytes;  // as collected (at most cp210x::kMaxCollected)
  ProtectionStates states{};
};

// Ping, 0xD8, bytes until silence; progress to 100 when the ESC answered.
// Restarts the monitor at 500 ms.
ProtectionsRead runReadProtections(DeviceSession& session, FlowHost& host);

// 0xD9 the same way; a first byte 0xFF shows "Success"; then the read above,
// whose result is returned. An ESC silent at the clear's Ping ends it there.
ProtectionsRead runClearProtections(DeviceSession& session, FlowHost& host);

}  // namespace orx
