// Numbers to and from text the same way whatever locale the program runs in
// (a decimal comma would break the CSV file's columns).
#pragma once

#include <string>
#include <string_view>

#include "base/Format.h"  // fixed, appendFixed

namespace orx::datalog {

// As atoi reads it: leading blanks, a sign, then digits; the rest is ignored.
// No digits give 0; values beyond int are clamped.
int leadingInt(std::string_view text);

// As atof reads a decimal number: leading blanks, a sign, digits, a point,
// digits, an exponent; the rest is ignored. Nothing readable, infinities,
// NaN and out-of-range values give 0.
double leadingDouble(std::string_view text);

namespace number_text {

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// 0 to 9 for a digit, above 9 for anything else: one test serves both.
inline unsigned digitOf(char c) { return static_cast<unsigned char>(c) - unsigned{'0'}; }

const char* readLeadingIntLong(const char* first, const char* last, int& value);
const char* readLeadingDoubleLong(const char* first, const char* last, double& value);

// The value of "ddd.ddd" when it has at most 15 digits and no exponent
// follows: the digits are then an exact double, and so is the power of ten,
// so one division rounds correctly and gives what from_chars would. Anything
// else is left to from_chars (false). Sets `end` past the number.
inline bool shortDecimal(const char* p, const char* last, const char*& end, double& value) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8,
                                       1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  // Digits beyond what the count allows may wrap `digits` around: the count
  // sends those numbers to from_chars.
  unsigned long long digits = 0;
  const char* first = p;
  for (unsigned d; p < last && (d = digitOf(*p)) <= 9; ++p) digits = digits * 10 + d;
  long count = p - first, decimals = 0;
  if (p < last && *p == '.') {
    const char* fraction = ++p;
    for (unsigned d; p < last && (d = digitOf(*p)) <= 9; ++p) digits = digits * 10 + d;
    decimals = p - fraction;
    count += decimals;
  }
  if (count == 0 || count > 15 || (p < last && (*p == 'e' || *p == 'E'))) return false;
  end = p;
  // Below 10^15 here: the signed conversion, a single instruction, is exact.
  const double all = static_cast<double>(static_cast<long long>(digits));
  value = decimals == 0 ? all : all / kPowers[decimals];
  return true;
}

}  // namespace number_text

// The same readings from `first` on, for a reader walking a line: they return
// where the number ended (never past a character that cannot be part of it,
// such as a comma), so the walk goes on from there. A number that starts at
// `first` with its digits, as every field of a saved CSV file does, is read
// here in line (a call to from_chars per field made a whole load half as
// slow again); anything else goes the long way.
inline const char* readLeadingInt(const char* first, const char* last, int& value) {
  // Up to nine digits cannot pass int.
  unsigned v = 0;
  const char* p = first;
  for (unsigned d; p < last && p - first < 9 && (d = number_text::digitOf(*p)) <= 9; ++p) v = v * 10 + d;
  if (p == first || (p < last && number_text::isDigit(*p))) return number_text::readLeadingIntLong(first, last, value);
  value = static_cast<int>(v);
  return p;
}

inline const char* readLeadingDouble(const char* first, const char* last, double& value) {
  const char* end = first;
  if (first < last && number_text::isDigit(*first) && number_text::shortDecimal(first, last, end, value)) return end;
  return number_text::readLeadingDoubleLong(first, last, value);
}

}  // namespace orx::datalog
