#include <sys/stat.h>

#include "link/VirtualPorts.h"

namespace orx {

bool PortPathPresent(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace orx
