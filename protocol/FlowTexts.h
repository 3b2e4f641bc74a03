// The status texts and message boxes of the read, send, default and repair
// mode flows, word for word as the user sees them.
#pragma once

#include "base/Messages.h"

namespace orx::flowtext {

inline constexpr const char* kReadCompleted = "READ SETTINGS COMPLETED";
inline constexpr const char* kDefaultsUpdated = "DEFAULT SETTINGS UPDATED";
inline constexpr const char* kDefaultsFailed = "DEFAULT SETTINGS FAILED";
inline constexpr const char* kSettingsUpdated = "SETTINGS UPDATED";
inline constexpr const char* kSendFailed = "SEND SETTINGS FAILED";
inline constexpr const char* kReadFailed = "READ SETTINGS FAILED";
inline constexpr const char* kEscNotAnswering = "ESC DOES NOT ANSWER - PLEASE RECONNECT AND POWER CYCLE DEVICE";
inline constexpr const char* kEnteringRepair = "Entering Repair Mode...";
inline constexpr const char* kRepairEnabled = "Repair Mode Enabled";
// The search for the boot loader ran out: the ESC did not show up in DFU mode.
inline constexpr const char* kRepairNotFound = "Repair Mode Failed - Boot Loader Not Found";
// REPAIR MODE unticked while a CP210x ESC sits in its boot loader: only
// switching it off and on again brings its application back.
inline constexpr const char* kPowerCycleToLeaveRepair = "Power Cycle the ESC to Leave Repair Mode";

inline Message repairCheckedRead() {
  return errorBox("ERROR Repair Mode is Checked - \nUncheck Repair Mode to Read Settings");
}
inline Message repairCheckedSend() {
  return errorBox("ERROR Repair Mode is Checked - \nUncheck Repair Mode to Send Settings");
}
inline Message adapterConnectionError() { return errorBox("ADAPTER Connection Error - \nPlease Reconnect to PC."); }
inline Message deviceConnectionError() {
  return errorBox("DEVICE Connection Error - \nPlease Reconnect and Power Cycle Device.");
}

}  // namespace orx::flowtext
