// Puts the values of a .cfg file into the main window's controls.
//
// Values are matched by exact, case-sensitive text; a text that matches none
// takes the rule's last entry, as the file format has always done. Nothing here
// talks to the ESC: the user sends the loaded settings afterwards.
#pragma once

#include <string>
#include <vector>

#include "base/DialogState.h"
#include "settingsfile/SettingsFileParser.h"

namespace orx::cfg {

// What the loader needs to know about the links, taken when the load starts.
struct LoadContext {
  bool escDetected = false;            // an ESC answers on either link
  bool stm32EscActive = false;         // the active link is the STM32 one and its ESC answers
  bool stm32AdapterConnected = false;  // the STM32 link's port is open
};

// Range texts gathered from the THROTTLE CALIBRATION RANGE line.
struct RangeTexts {
  std::string min;
  std::string max;
};

// Applies one value by its key index (1..24; others are ignored).
void ApplySettingsValue(DialogState& controls, const SettingsValue& value, const LoadContext& context,
                        RangeTexts& range);

// A value the file gave that its control does not take (the edit stays empty).
struct RefusedValue {
  std::string what;   // the control, as the window labels it
  std::string value;  // the file's text
  bool operator==(const RefusedValue&) const = default;
};

// After all values: fills and enables the range edits, then disables them and
// marks the range as not in use (DialogFlags::RangeResetPending) unless the
// mode is "RANGE"; enables the DRONECAN lists only for "DRONECAN". A range
// text that the edits' input rule forbids is left out and returned.
std::vector<RefusedValue> FinishSettingsLoad(DialogState& controls, const RangeTexts& range);

// All values, then FinishSettingsLoad. Progress, status and telling the user
// about refused values are the caller's.
std::vector<RefusedValue> ApplySettingsFile(DialogState& controls, const std::vector<SettingsValue>& values,
                                            const LoadContext& context);

}  // namespace orx::cfg
