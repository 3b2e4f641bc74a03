// Which .orx files fit which ESC, and the filter of the open dialog.
#pragma once

#include <string>
#include <string_view>

namespace orx {

// The file name without its folder.
std::string_view FileNameOf(std::string_view path);

// True when the first character of the file's name (folder stripped) names a
// firmware family that the ESC with this hardware code accepts. Unknown codes
// accept nothing.
bool FirmwareFileFits(int hardwareCode, std::string_view path);

// Filter of the open dialog: families "A", "B" and "C" (first letter of the
// firmware version text, control 1004) get the .orx entry first.
std::string FirmwareFileFilter(std::string_view firmwareVersionText);

}  // namespace orx
