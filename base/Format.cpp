#include "Format.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace orx {

std::string vstrprintf(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n) + 1, '\0');
  std::vsnprintf(out.data(), out.size(), format, args);
  out.resize(static_cast<size_t>(n));
  return out;
}

std::string strprintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string out = vstrprintf(format, args);
  va_end(args);
  return out;
}

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

}  // namespace orx
