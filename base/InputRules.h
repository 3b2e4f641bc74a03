// What the user may type into the main window's edits. The window's validators
// and the settings file loader apply the same rule, so a file cannot put into
// an edit what the keyboard could not.
#pragma once

#include <array>
#include <string_view>

#include "base/ControlIds.h"

namespace orx::rules {

// The number edits: THROTTLE CALIBRATION RANGE and THROTTLE RESPONSE.
inline constexpr std::array<int, 4> kNumberEdits{ctl::RangeMin, ctl::RangeMax, ctl::ResponseRunning,
                                                 ctl::ResponseStarting};
inline constexpr int kNumberEditDigits = 5;

// True when `text` is something the user could have typed into the number edits.
constexpr bool FitsNumberEdit(std::string_view text) {
  if (text.size() > static_cast<size_t>(kNumberEditDigits)) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace orx::rules
