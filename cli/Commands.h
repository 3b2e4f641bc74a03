// The orx-esc commands: each drives the device manager's flows and turns
// their outcome into an exit status.
#pragma once

#include <string>
#include <vector>

namespace orx::cli {

// The whole program: arguments without the program name; the exit status.
int run(const std::vector<std::string>& args);

}  // namespace orx::cli
