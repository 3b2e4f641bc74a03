#include "FileFilter.h"

#include <algorithm>

namespace orx {
namespace {

std::vector<std::string> splitBars(std::string_view text) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t bar = text.find('|', start);
    if (bar == std::string_view::npos) {
      parts.emplace_back(text.substr(start));
      break;
    }
    parts.emplace_back(text.substr(start, bar - start));
    start = bar + 1;
  }
  return parts;
}

}  // namespace

std::vector<std::string> QtNameFilters(std::string_view windowsFilter) {
  const std::vector<std::string> parts = splitBars(windowsFilter);
  std::vector<std::string> filters;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    const std::string& description = parts[i];
    std::string patterns = parts[i + 1];
    if (description.empty() && patterns.empty()) break;  // the "||" that ends the list
    if (patterns.empty()) continue;
    std::replace(patterns.begin(), patterns.end(), ';', ' ');
    const std::string suffix = "(" + patterns + ")";
    const bool hasPatterns = description.size() >= suffix.size() &&
                             description.compare(description.size() - suffix.size(), suffix.size(), suffix) == 0;
    if (hasPatterns) {
      filters.push_back(description);
    } else if (description.empty()) {
      filters.push_back(suffix);
    } else {
      filters.push_back(description + " " + suffix);
    }
  }
  return filters;
}

std::string FilterExtension(std::string_view windowsFilter, std::size_t index, const std::string& fallback) {
  const std::vector<std::string> parts = splitBars(windowsFilter);
  std::size_t seen = 0;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty() && parts[i + 1].empty()) break;
    if (parts[i + 1].empty()) continue;  // dropped by QtNameFilters too
    if (seen++ != index) continue;
    const std::string first = parts[i + 1].substr(0, parts[i + 1].find(';'));
    if (first.rfind("*.", 0) != 0 || first.find_first_of("*?", 2) != std::string::npos) return fallback;
    return first.substr(2);
  }
  return fallback;
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
  if (extension.empty() || path.empty()) return path;
  const size_t slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) return path;
  // A leading dot names a hidden file, not an extension.
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot != 0 && dot + 1 < name.size()) return path;
  if (dot != std::string::npos && dot + 1 == name.size()) return path + extension;
  return path + "." + extension;
}

}  // namespace orx
