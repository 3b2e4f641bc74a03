// orx-esc-sim: a simulated ESC for running the device manager without one.
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/SimOptions.h"
#include "tools/SimulatedEsc.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  orx::sim::SimOptions options;
  std::string error;
  if (!orx::sim::parseOptions(args, options, error)) {
    std::fprintf(stderr, "orx-esc-sim: %s\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(orx::sim::helpText().c_str(), stdout);
    return 0;
  }

  // Block the stop signals before any thread starts, so that only sigwait
  // below sees them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  // A reader of our output that went away must not kill us before cleanup.
  std::signal(SIGPIPE, SIG_IGN);

  auto sim = orx::sim::makeSimulatedEsc(options);
  if (!options.statePath.empty() && !sim->useStateFile(options.statePath)) {
    std::fprintf(stderr, "orx-esc-sim: %s\n", sim->error().c_str());
    return 1;
  }
  if (!orx::sim::startSimulatedEsc(*sim, options)) {
    std::fprintf(stderr, "orx-esc-sim: %s\n", sim->error().c_str());
    return 1;
  }
  std::printf("%s\n", sim->exportLine().c_str());
  if (!sim->dfuExportLine().empty()) std::printf("%s\n", sim->dfuExportLine().c_str());
  std::fflush(stdout);

  int signal = 0;
  sigwait(&stopSignals, &signal);
  sim->stop();
  const std::string last = sim->error();
  if (!last.empty()) std::fprintf(stderr, "orx-esc-sim: %s\n", last.c_str());
  return 0;
}
