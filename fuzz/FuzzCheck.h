// What the fuzz targets share: a round-trip check that ends the run as a
// finding, and the fixed moment every saved file carries.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace orx::fuzz {

// A broken property is a finding like a crash: libFuzzer keeps the input.
inline void check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "round trip broken: %s\n", property);
  std::abort();
}

// As check(), for two texts that must be equal: shows where they part.
inline void checkSame(const std::string& first, const std::string& second, const char* property) {
  if (first == second) return;
  size_t at = 0;
  while (at < first.size() && at < second.size() && first[at] == second[at]) ++at;
  const size_t from = at > 40 ? at - 40 : 0;
  std::fprintf(stderr, "texts part at byte %zu:\n--- first\n%s\n--- second\n%s\n", at,
               first.substr(from, 120).c_str(), second.substr(from, 120).c_str());
  check(false, property);
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
