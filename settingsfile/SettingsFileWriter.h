// Builds the text of a .cfg file from the main window's controls.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "base/DialogState.h"

namespace orx::cfg {

// The whole file: CRLF lines, Windows-1252 bytes as the controls hold them.
// `savedAt` is the local time written on the DATE line.
std::string FormatSettingsFile(const DialogState& controls, const std::tm& savedAt);

// Lists that must show a text before a save, in the order they are checked;
// returns the ids of those that show none. ACCELERATION RATE is not required
// while MOTOR EDITION shows "CUSTOM MOTOR": that edition has no acceleration
// rate and the list is cleared for it, so a CUSTOM MOTOR setup could not be
// saved at all otherwise.
std::vector<int> EmptyRequiredFields(const DialogState& controls);

// The firmware version text is expected to be at most this long.
inline constexpr std::size_t kMaxFirmwareTextLength = 10;

}  // namespace orx::cfg
