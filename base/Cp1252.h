// Windows-1252 <-> UTF-8. The core keeps every text as Windows-1252 bytes (the
// degree sign is 0xB0); only the widgets see UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace orx {

std::string cp1252ToUtf8(std::string_view bytes);
// Characters without a Windows-1252 byte become '?'.
std::string utf8ToCp1252(std::string_view utf8);

}  // namespace orx
