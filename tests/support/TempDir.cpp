#include "tests/support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace orx::test {

TempDir::TempDir() {
  // A new folder of a random name; create_directory says whether it was ours.
  static thread_local std::mt19937 rng{std::random_device{}()};
  std::error_code ec;
  const auto base = std::filesystem::temp_directory_path(ec);
  for (int attempt = 0; attempt < 16 && !ec; ++attempt) {
    const auto candidate = base / ("orx-test-" + std::to_string(rng()));
    if (std::filesystem::create_directory(candidate, ec)) {
      path_ = candidate.string();
      return;
    }
  }
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
