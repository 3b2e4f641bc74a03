// orx-esc: the device manager from a terminal.
#include <csignal>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Interrupt.h"

int main(int argc, char** argv) {
  // A reader of our output that went away must not kill us before the ports close.
  std::signal(SIGPIPE, SIG_IGN);
  orx::cli::installInterruptHandling();
  return orx::cli::run(std::vector<std::string>(argv + 1, argv + argc));
}
