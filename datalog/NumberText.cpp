#include "datalog/NumberText.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace orx::datalog {
namespace {

using number_text::isDigit;
using number_text::shortDecimal;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

const char* skipBlanks(const char* p, const char* last) {
  while (p < last && isBlank(*p)) ++p;
  return p;
}

}  // namespace

const char* number_text::readLeadingIntLong(const char* first, const char* last, int& value) {
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

const char* number_text::readLeadingDoubleLong(const char* first, const char* last, double& value) {
  value = 0;
  const char* p = skipBlanks(first, last);
  bool negative = false;
  if (p < last && (*p == '+' || *p == '-')) negative = *p++ == '-';
  // Only a plain decimal: from_chars would also take "inf" and "nan".
  if (p == last || !(isDigit(*p) || *p == '.')) return p;
  const char* end = p;
  if (shortDecimal(p, last, end, value)) {
    if (negative) value = -value;
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
