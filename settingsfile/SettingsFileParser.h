// Splits the text of a .cfg file into settings values by key index.
//
// Works by colons, not by key texts: the first three colons (the date and the
// time of day) are skipped; the first colon after them closes the firmware
// version line when the eight bytes ending there are "VERSION:"; every later
// colon starts the value of the next key. Takes any bytes; never reads past
// the text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orx::cfg {

struct SettingsValue {
  int key = 0;        // 1..24
  std::string value;  // Windows-1252, without the line end

  bool operator==(const SettingsValue&) const = default;
};

// The values found, in key order; at most 24, keys beyond 24 are dropped.
std::vector<SettingsValue> ParseSettingsFile(std::string_view text);

}  // namespace orx::cfg
