// The program's change log as Help > Version shows it: Windows-1252 text,
// lines ended by "\r\n", newest version first.
#pragma once

#include <string>

namespace orx {

const std::string& ChangeLogText();

}  // namespace orx
