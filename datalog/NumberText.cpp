#include "datalog/NumberText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <optional>

namespace orx::datalog {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

const char* skipBlanks(const char* p, const char* last) {
  while (p < last && isBlank(*p)) ++p;
  return p;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The value of "ddd.ddd" (what the CSV files hold) when it has at most 15
// digits and is followed by no exponent: the digits are then an exact
// double, and so is the power of ten, so one division rounds correctly and
// gives what from_chars would. Anything else is left to from_chars. Sets
// `end` past the number when it returns a value.
std::optional<double> shortDecimal(const char* p, const char* last, const char*& end) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8,
                                       1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  // Digits beyond what the count allows may wrap `digits` around: the
  // count sends those numbers to from_chars.
  std::uint64_t digits = 0;
  const char* first = p;
  for (; p < last && isDigit(*p); ++p) digits = digits * 10 + static_cast<unsigned>(*p - '0');
  std::ptrdiff_t count = p - first, decimals = 0;
  if (p < last && *p == '.') {
    const char* fraction = ++p;
    for (; p < last && isDigit(*p); ++p) digits = digits * 10 + static_cast<unsigned>(*p - '0');
    decimals = p - fraction;
    count += decimals;
  }
  if (count == 0 || count > 15) return std::nullopt;
  if (p < last && (*p == 'e' || *p == 'E')) return std::nullopt;
  end = p;
  return decimals == 0 ? static_cast<double>(digits) : static_cast<double>(digits) / kPowers[decimals];
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

const char* readLeadingInt(const char* first, const char* last, int& value) {
  const char* p = skipBlanks(first, last);
  bool negative = false;
  if (p < last && (*p == '+' || *p == '-')) negative = *p++ == '-';
  long long v = 0;
  for (; p < last && isDigit(*p); ++p) {
    v = v * 10 + (*p - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) v = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) v = -v;
  value = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
  return p;
}

const char* readLeadingDouble(const char* first, const char* last, double& value) {
  value = 0;
  const char* p = skipBlanks(first, last);
  bool negative = false;
  if (p < last && (*p == '+' || *p == '-')) negative = *p++ == '-';
  // Only a plain decimal: from_chars would also take "inf" and "nan".
  if (p == last || !(isDigit(*p) || *p == '.')) return p;
  const char* end = p;
  if (const auto quick = shortDecimal(p, last, end)) {
    value = negative ? -*quick : *quick;
    return end;
  }
  double v = 0;
  const auto r = std::from_chars(p, last, v, std::chars_format::general);
  if (r.ec == std::errc() && std::isfinite(v)) value = negative ? -v : v;
  return r.ec == std::errc::invalid_argument ? p : r.ptr;
}

int leadingInt(std::string_view text) {
  int value = 0;
  readLeadingInt(text.data(), text.data() + text.size(), value);
  return value;
}

double leadingDouble(std::string_view text) {
  double value = 0;
  readLeadingDouble(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace orx::datalog
