#include "link/VirtualPorts.h"

#include <algorithm>
#include <cctype>

namespace orx {

namespace {

std::string trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n");
  return s.substr(first, last - first + 1);
}

bool sameId(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::vector<std::pair<std::string, std::string>> parseVirtualPorts(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> entries;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    const std::string entry = text.substr(start, end - start);
    const auto eq = entry.find('=');
    if (eq != std::string::npos) {
      std::string id = trim(entry.substr(0, eq));
      std::string path = trim(entry.substr(eq + 1));
      if (!id.empty() && !path.empty()) entries.emplace_back(std::move(id), std::move(path));
    }
    start = end + 1;
  }
  return entries;
}

std::optional<std::string> findVirtualPort(const std::string& text, const std::string& search) {
  for (const auto& [id, path] : parseVirtualPorts(text)) {
    if (sameId(id, search) && PortPathPresent(path)) return path;
  }
  return std::nullopt;
}

}  // namespace orx
