#include "datalog/NumberText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <optional>

namespace orx::datalog {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view skipBlanks(std::string_view t) {
  size_t i = 0;
  while (i < t.size() && isBlank(t[i])) ++i;
  return t.substr(i);
}

// The value of "ddd.ddd" (what the CSV files hold) when it has at most 15
// digits and is followed by no exponent: the digits are then an exact
// double, and so is the power of ten, so one division rounds correctly and
// gives what from_chars would. Anything else is left to from_chars.
std::optional<double> shortDecimal(std::string_view t) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8,
                                       1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  std::uint64_t digits = 0;
  int count = 0, decimals = 0;
  bool point = false, any = false;
  size_t i = 0;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') break;
    any = true;
    if (digits == 0 && c == '0') {  // leading zeros carry no digit
      decimals += point;
      continue;
    }
    if (++count > 15) return std::nullopt;
    digits = digits * 10 + static_cast<unsigned>(c - '0');
    decimals += point;
  }
  if (!any || decimals > 15) return std::nullopt;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) return std::nullopt;
  return static_cast<double>(digits) / kPowers[decimals];
}

}  // namespace

void appendFixed(std::string& out, double value, int decimals) {
  char buf[400];  // enough for any double in fixed notation
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (r.ec == std::errc()) out.append(buf, r.ptr);
}

std::string fixed(double value, int decimals) {
  std::string out;
  appendFixed(out, value, decimals);
  return out;
}

int leadingInt(std::string_view text) {
  std::string_view t = skipBlanks(text);
  bool negative = false;
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
    negative = t[0] == '-';
    t.remove_prefix(1);
  }
  long long value = 0;
  for (char c : t) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

double leadingDouble(std::string_view text) {
  std::string_view t = skipBlanks(text);
  bool negative = false;
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
    negative = t[0] == '-';
    t.remove_prefix(1);
  }
  // Only a plain decimal: from_chars would also take "inf" and "nan".
  if (t.empty() || !((t[0] >= '0' && t[0] <= '9') || t[0] == '.')) return 0;
  if (const auto quick = shortDecimal(t)) return negative ? -*quick : *quick;
  double value = 0;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), value, std::chars_format::general);
  if (r.ec != std::errc() || !std::isfinite(value)) return 0;
  return negative ? -value : value;
}

}  // namespace orx::datalog
