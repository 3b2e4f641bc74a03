// What the fuzz targets share: a round-trip check that ends the run as a
// finding, and the fixed moment every saved file carries.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace orx::fuzz {

// A broken property is a finding like a crash: libFuzzer keeps the input.
inline void check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "round trip broken: %s\n", property);
  std::abort();
}

inline std::tm savedAt() {
  std::tm t{};
  t.tm_year = 124;
  t.tm_mon = 4;
  t.tm_mday = 17;
  t.tm_hour = 9;
  t.tm_min = 30;
  return t;
}

}  // namespace orx::fuzz
