// The CURRENT ADC gain and offset edits: their texts from the block's half
// values, and the parse of what the user typed back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/Messages.h"

namespace orx {

// Shown when the block carries no CURRENT ADC values.
inline constexpr const char* kDefaultAdcGainText = "18.7";
inline constexpr const char* kDefaultAdcOffsetText = "-20.1";

// "%.1f" of the value, independent of the process locale.
std::string adcGainText(uint16_t half);
// "+%.1f" when the sign bit is clear, "%.1f" when set.
std::string adcOffsetText(uint16_t half);

// One decimal number (optional sign, digits, optional fraction), optionally
// surrounded by blanks, nothing else. nullopt when the text is anything else.
std::optional<double> parseAdcNumber(std::string_view text);

enum class AdcError { GainFormat, OffsetFormat, GainNotPositive };

struct AdcValues {
  uint16_t gain = 0;  // half precision, as stored in the block
  uint16_t offset = 0;
};

struct AdcParse {
  std::optional<AdcValues> values;  // set on success
  AdcError error = AdcError::GainFormat;
};

// Parses both edit texts; the gain must be above 0.
AdcParse parseAdcTexts(std::string_view gainText, std::string_view offsetText);

// The box shown for an error (the system's default caption, no icon).
Message adcErrorMessage(AdcError error);

}  // namespace orx
