// Just enough JSON for orx-esc's output: strings, and objects and arrays built
// from them by the caller.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace orx::cli {

// A quoted JSON string of UTF-8 text.
std::string jsonString(const std::string& utf8);
// {"a":<value>,...} with each value already JSON.
std::string jsonObject(const std::vector<std::pair<std::string, std::string>>& members);
// [<value>,...] with each value already JSON.
std::string jsonArray(const std::vector<std::string>& values);

}  // namespace orx::cli
