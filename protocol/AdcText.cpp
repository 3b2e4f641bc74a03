#include "protocol/AdcText.h"

#include <charconv>
#include <cmath>

#include "protocol/HalfFloat.h"

namespace orx {
namespace {

// to_chars formats like printf in the "C" locale: the Qt application sets the
// user's locale, which would turn the decimal point into a comma.
std::string fixed1(double v) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 1);
  if (ec != std::errc()) return {};
  return std::string(buf, end);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string adcGainText(uint16_t half) { return fixed1(fromHalf(half)); }

std::string adcOffsetText(uint16_t half) {
  const std::string t = fixed1(fromHalf(half));
  return (half & 0x8000) ? t : "+" + t;
}

std::optional<double> parseAdcNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  const size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const size_t digitsStart = i;
  while (i < text.size() && isDigit(text[i])) ++i;
  size_t digits = i - digitsStart;
  if (i < text.size() && text[i] == '.') {
    ++i;
    const size_t fracStart = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    digits += i - fracStart;
  }
  if (digits == 0) return std::nullopt;
  const size_t end = i;
  while (i < text.size() && isBlank(text[i])) ++i;
  if (i != text.size()) return std::nullopt;

  // from_chars takes no leading '+'.
  size_t from = start;
  if (text[from] == '+') ++from;
  double value = 0.0;
  auto [ptr, ec] = std::from_chars(text.data() + from, text.data() + end, value);
  if (ptr != text.data() + end) return std::nullopt;
  if (ec == std::errc::result_out_of_range) {
    // Too many digits for a double: far beyond anything a half can hold anyway.
    value = (text[from] == '-') ? -HUGE_VAL : HUGE_VAL;
  } else if (ec != std::errc()) {
    return std::nullopt;
  }
  return value;
}

AdcParse parseAdcTexts(std::string_view gainText, std::string_view offsetText) {
  AdcParse out;
  const auto gain = parseAdcNumber(gainText);
  if (!gain) {
    out.error = AdcError::GainFormat;
    return out;
  }
  const auto offset = parseAdcNumber(offsetText);
  if (!offset) {
    out.error = AdcError::OffsetFormat;
    return out;
  }
  if (*gain <= 0.0) {
    out.error = AdcError::GainNotPositive;
    return out;
  }
  out.values = AdcValues{toHalf(*gain), toHalf(*offset)};
  return out;
}

Message adcErrorMessage(AdcError error) {
  Message m;
  m.caption = kSystemCaption;
  m.icon = MsgIcon::None;
  m.buttons = MsgButtons::Ok;
  switch (error) {
    case AdcError::GainFormat:
      m.text = "Current ADC gain error, expecting format (gain: 17.5 offset: +21.6)";
      break;
    case AdcError::OffsetFormat:
      m.text = "Current ADC offset error, expecting format (gain: 17.5 offset: +21.6)";
      break;
    case AdcError::GainNotPositive:
      m.text = "Current ADC gain error, gain cannot be <= 0, expecting format (gain: 17.5 offset: +21.6)";
      break;
  }
  return m;
}

}  // namespace orx
