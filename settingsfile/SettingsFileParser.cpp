#include "settingsfile/SettingsFileParser.h"

#include "settingsfile/SettingsFileLayout.h"

namespace orx::cfg {
namespace {

constexpr int kSkippedColons = 3;
constexpr std::string_view kVersionMark = "VERSION:";

// The value after the colon at `colon`: from the third byte after it (past
// the colon and its two blanks) up to the line feed, at most kMaxValueLength bytes, without
// a final carriage return. A line that ends before the two spaces gives an
// empty value instead of borrowing the start of the next line.
std::string valueAfter(std::string_view text, size_t colon) {
  const size_t lineEnd = text.find('\n', colon + 1);
  const size_t end = lineEnd == std::string_view::npos ? text.size() : lineEnd;
  const size_t start = colon + 3;
  if (start >= end) return {};
  std::string_view value = text.substr(start, end - start);
  if (value.size() > kMaxValueLength) value = value.substr(0, kMaxValueLength);
  // Only a carriage return is a line end; files with bare line feeds keep
  // their last character.
  if (!value.empty() && value.back() == '\r') value.remove_suffix(1);
  return std::string(value);
}

}  // namespace

std::vector<SettingsValue> ParseSettingsFile(std::string_view text) {
  std::vector<SettingsValue> out;
  int colons = 0;
  int key = 1;
  bool versionChecked = false;
  for (size_t i = 0; i < text.size() && key <= kKeyCount; ++i) {
    if (text[i] != ':') continue;
    if (++colons <= kSkippedColons) continue;
    if (!versionChecked) {
      versionChecked = true;
      if (i + 1 >= kVersionMark.size() && text.substr(i + 1 - kVersionMark.size(), kVersionMark.size()) == kVersionMark)
        continue;
    }
    out.push_back({key, valueAfter(text, i)});
    ++key;
  }
  return out;
}

}  // namespace orx::cfg
