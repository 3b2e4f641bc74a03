#include "protocol/EditInteger.h"

namespace orx {

int editInteger(std::string_view text) {
  constexpr long long kLimit = 999999999;
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    v = v * 10 + (text[i] - '0');
    if (v > kLimit) v = kLimit;
  }
  return static_cast<int>(negative ? -v : v);
}

}  // namespace orx
