// File dialog filters and default extensions, kept apart from the dialog so
// the conversion can be tested without a window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orx {

// "Config Files (*.cfg)|*.cfg|All Files (*.*)|*.*||" -> {"Config Files (*.cfg)", "All Files (*.*)"}.
// The patterns after each '|' decide what is shown: a description that does not
// already end in "(<those patterns>)" gets them appended, so Qt filters by the
// same patterns Windows would. A trailing description without patterns is dropped.
std::vector<std::string> QtNameFilters(std::string_view windowsFilter);

// The extension of the first pattern of filter number `index` ("png" for
// "*.png;*.PNG"); `fallback` for a wildcard pattern ("*.*") or no such filter.
std::string FilterExtension(std::string_view windowsFilter, std::size_t index, const std::string& fallback);

// Appends "." + extension when the file name part of path has no extension.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

}  // namespace orx
