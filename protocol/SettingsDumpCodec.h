// The settings dump of an ESC behind the CP210x adapter -> the main window's
// controls. The dump replays the settings as the command bytes that set them;
// a position the dump does not reach leaves its control as it was.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/DialogState.h"

namespace orx {

// Before the dump is requested: status emptied, the CP210x MOTOR EDITION and
// STARTUP POWER lists, THROTTLE RESPONSE edits off, ACCELERATION RATE on.
void prepareCp210xRead(DialogState& s);

// "READING PARAMETERS...%d%%" with twice the index of the byte just collected.
std::string dumpProgressText(size_t index);
int dumpProgressValue(size_t index);

// The positions the decoding reads end with ADAPTER at 30. A read whose dump
// is shorter has failed: its controls would stay as they were.
inline constexpr size_t kCp210xDumpLength = 31;

// Writes the dump into the controls: progress 100, the controls the CP210x
// ESCs lack disabled, overload/data-log rules, every position, the DEFAULT
// adapter and the fixed CAN entries. Any dump is decoded, including an empty one;
// the read refuses one shorter than kCp210xDumpLength before it gets here.
void decodeSettingsDump(DialogState& s, std::span<const uint8_t> dump);

}  // namespace orx
