// Plug-in latency: the simulated NVQ ESC appears behind ORX_VIRTUAL_PORTS at
// times spread over the monitor's cycle, and the clock runs until the program
// (its device side, as the window drives it) shows "READ SETTINGS COMPLETED".
#include <cstdlib>
#include <thread>

#include "Bench.h"
#include "device/DeviceManager.h"
#include "device/LinkWorker.h"
#include "base/ControlIds.h"
#include "link/VirtualPorts.h"
#include "tests/support/FixedChooser.h"
#include "tests/support/RecordingPrompter.h"
#include "tools/SimulatedEsc.h"

namespace orx::bench {
namespace {

bool waitFor(const std::function<bool()>& done, int ms) {
  const auto start = Clock::now();
  while (!done()) {
    if (msSince(start) > ms) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace

bool plugBench(int trials) {
  const int cycle = 3 * LinkWorker::kDefaultPeriodMs;
  std::printf("plug-in: NVQ ESC plugged %d times at offsets spread over the %d ms cycle, to \"READ SETTINGS COMPLETED\"\n",
              trials, cycle);
  sim::SimulatedEsc esc{sim::NvqConfig{}};
  if (!esc.start()) return false;
  esc.vanish();
  ::setenv(kVirtualPortsVariable, esc.virtualPort().c_str(), 1);
  SharedControls controls;
  test::RecordingPrompter prompter;
  test::FixedChooser files;
  DeviceManager device(controls, prompter, files);
  device.setDfuFinder([] { return false; });
  device.start();
  std::this_thread::sleep_for(std::chrono::milliseconds(cycle));
  auto status = [&] { return controls.read([](const DialogState& s) { return s.text(ctl::StatusLine); }); };
  std::vector<double> latencies;
  for (int i = 0; i < trials; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds((i * 7 % trials) * cycle / trials));
    const auto plugged = Clock::now();
    if (!esc.plugBack()) break;
    if (!waitFor([&] { return status() == "READ SETTINGS COMPLETED"; }, 6000)) {
      std::printf("  trial %d: no read within 6 s\n", i);
      latencies.push_back(6000);
    } else {
      latencies.push_back(msSince(plugged));
    }
    esc.vanish();
    waitFor([&] { return !device.snapshot().adapterOpen; }, 6000);
    controls.update([](DialogState& s) { s.setText(ctl::StatusLine, ""); });
  }
  device.stop();
  ::unsetenv(kVirtualPortsVariable);
  std::sort(latencies.begin(), latencies.end());
  std::printf("  latencies ms:");
  for (double ms : latencies) std::printf(" %.0f", ms);
  std::printf("\n");
  return report("plug-in to read, 95th pct", percentile(latencies, 0.95), "ms", 1000,
                fmt("median %.0f ms, monitor cycle %d ms", median(latencies), cycle));
}

}  // namespace orx::bench
