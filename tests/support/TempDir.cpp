#include "tests/support/TempDir.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace orx::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orx-test-XXXXXX").string();
  const char* made = ::mkdtemp(pattern.data());
  path_ = made != nullptr ? made : "";
}

TempDir::~TempDir() {
  // A test may have taken the rights away to make writes fail.
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
  std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> TempDir::entries() const {
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(path_)) out.push_back(e.path().filename().string());
  return out;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace orx::test
