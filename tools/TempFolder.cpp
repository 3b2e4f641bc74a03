#include "tools/TempFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace orx::sim {

std::string makeTempFolder(const std::string& prefix, std::string& error) {
  const std::string pattern = "/tmp/" + prefix + "XXXXXX";
  std::vector<char> path(pattern.begin(), pattern.end());
  path.push_back('\0');
  if (::mkdtemp(path.data()) == nullptr) {
    error = std::string("mkdtemp: ") + std::strerror(errno);
    return {};
  }
  return path.data();
}

}  // namespace orx::sim
