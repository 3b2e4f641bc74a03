// A private folder for a simulated device's files (its pty link, its socket).
#pragma once

#include <string>

namespace orx::sim {

// Makes /tmp/<prefix>XXXXXX and returns it; "" with `error` set when it cannot.
std::string makeTempFolder(const std::string& prefix, std::string& error);

}  // namespace orx::sim
