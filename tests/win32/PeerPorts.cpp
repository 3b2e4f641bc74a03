#include "PeerPorts.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace orx::test {

std::string peerPort(const char* name) {
  const char* port = std::getenv(name);
  if (port == nullptr || *port == '\0') {
    ADD_FAILURE() << name << " is not set: run these tests through scripts/ci-windows.sh";
    return {};
  }
  return std::string("\\\\.\\") + port;
}

}  // namespace orx::test
