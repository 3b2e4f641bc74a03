// Numbers to and from text the same way whatever locale the program runs in
// (a decimal comma would break the CSV file's columns).
#pragma once

#include <string>
#include <string_view>

namespace orx::datalog {

// As printf's "%.<decimals>f" gives it in the C locale.
std::string fixed(double value, int decimals);
void appendFixed(std::string& out, double value, int decimals);

// As atoi reads it: leading blanks, a sign, then digits; the rest is ignored.
// No digits give 0; values beyond int are clamped.
int leadingInt(std::string_view text);

// As atof reads a decimal number: leading blanks, a sign, digits, a point,
// digits, an exponent; the rest is ignored. Nothing readable, infinities,
// NaN and out-of-range values give 0.
double leadingDouble(std::string_view text);

// The same readings from `first` on, for a reader walking a line: they return
// where the number ended (never past a character that cannot be part of it,
// such as a comma), so the walk goes on from there.
const char* readLeadingInt(const char* first, const char* last, int& value);
const char* readLeadingDouble(const char* first, const char* last, double& value);

}  // namespace orx::datalog
