// The NVQ series settings block <-> the main window's controls, and the
// WriteBlock frame that carries the block back to the ESC.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/DialogState.h"
#include "base/Messages.h"
#include "protocol/AdcText.h"
#include "protocol/EscSettings.h"

namespace orx {

inline constexpr const char* kRangeIncorrectStatus = "CALIBRATION RANGE INCORRECT";
inline constexpr int kRangeMinLow = 800, kRangeMinHigh = 1250;
inline constexpr int kRangeMaxLow = 1750, kRangeMaxHigh = 2200;
// What a range reset writes: 1100 and 1940 microseconds.
inline constexpr int kRangeResetMin = 1100, kRangeResetMax = 1940;

// MOTOR EDITION and STARTUP POWER as the NVQ series knows them (done at the
// start of every NVQ read, and again by the decoding).
void refillNvqLists(DialogState& s);

// Writes the block's settings into the controls. Returns false for an invalid
// block; the controls stay as far as they were written. Never runs the
// user-change handlers (a decoded RANGE leaves RangeResetPending alone).
bool decodeSettingsBlock(DialogState& s, const EscSettings& kept);

enum class BlockEncodeStatus { Ok, RangeIncorrect, AdcGainFormat, AdcOffsetFormat, AdcGainNotPositive };

struct BlockEncoding {
  BlockEncodeStatus status = BlockEncodeStatus::Ok;
  EscSettings settings;  // the kept block with the controls written in (valid on Ok)
};

// Encodes the controls into a copy of the kept block. Like the window's send it
// also enables/disables the THROTTLE RESPONSE edits and ACCELERATION RATE for
// the chosen motor edition. RangeResetPending is cleared only when the encoding
// succeeds and carried the reset.
BlockEncoding encodeSettingsBlock(DialogState& s, const EscSettings& kept);

// What the user is told for a failed encoding: the status line text for
// RangeIncorrect (nullopt message), a box for the CURRENT ADC errors.
std::optional<Message> blockEncodeMessage(BlockEncodeStatus status);

// The WriteBlock frame of the block: 0xD1, the count's low byte, the data, the
// 8-bit sum of every byte from frame byte 2 up to the byte before the sum
// (BlockFrame.h builds it).
// Short layout: count + 2 bytes; extended: count bytes. Empty when the block is
// too short to frame.
std::vector<uint8_t> settingsWriteFrame(const EscSettings& settings);

}  // namespace orx
