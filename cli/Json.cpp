#include "cli/Json.h"

#include <cstdio>

namespace orx::cli {

std::string jsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string jsonObject(const std::vector<std::pair<std::string, std::string>>& members) {
  std::string out = "{";
  for (const auto& [name, value] : members) out += (out.size() > 1 ? "," : "") + jsonString(name) + ":" + value;
  return out + "}";
}

std::string jsonArray(const std::vector<std::string>& values) {
  std::string out = "[";
  for (const auto& value : values) out += (out.size() > 1 ? "," : "") + value;
  return out + "]";
}

}  // namespace orx::cli
