// The integer an edit control holds, read the way the window reads its number
// edits: leading blanks, an optional sign, the digits up to the first other
// character; 0 when there are none.
#pragma once

#include <string_view>

namespace orx {

// Saturates at +-999999999 so that a long row of digits cannot overflow.
int editInteger(std::string_view text);

}  // namespace orx
