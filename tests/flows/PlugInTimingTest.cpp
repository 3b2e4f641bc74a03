// The monitor on the real link worker, paced by timer 1: how long a user
// waits from starting (plugging in) the simulated NVQ series ESC to "READ
// SETTINGS COMPLETED". The time is printed for the record; the test guards
// that the read happens by itself and within a few ticks.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "FlowRig.h"
#include "device/LinkWorker.h"
#include "link/PlugWatcher.h"
#include "link/PosixSerialPort.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"
#include "tools/SimulatedEsc.h"

namespace orx::test {
namespace {

using Clock = std::chrono::steady_clock;

class WorkerHost : public TestHost {
 public:
  LinkWorker* worker = nullptr;
  DeviceSession* session = nullptr;
  void restartMonitor(int ms) override { worker->restartMonitor(ms); }
  void postSettingsRead() override {
    worker->post([this] { runSettingsRead(*session, *this); });
  }
};

TEST(PlugInTiming, NvqEscReadCompletesWithinAFewTicksOfPlugging) {
  sim::SimulatedEsc esc{sim::NvqConfig{}};
  // Present only once started, like a device that is plugged in later.
  auto stm32Opener = [&esc](const std::string& search) -> std::unique_ptr<SerialPort> {
    if (search != kStm32Id || !esc.present()) return nullptr;
    return PosixSerialPort::open(esc.path());
  };
  DeviceSession session(onlyFor(kCp210xId, ""), stm32Opener);
  WorkerHost host;
  Monitor monitor(session, host);
  LinkWorker worker([&] { monitor.tick(); });
  host.worker = &worker;
  host.session = &session;
  worker.start();
  std::this_thread::sleep_for(std::chrono::milliseconds(700));  // a tick or two with nothing there

  const auto plugged = Clock::now();
  ASSERT_TRUE(esc.start()) << esc.error();
  bool completed = false;
  while (!completed && Clock::now() - plugged < std::chrono::seconds(10)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    completed = host.status() == "READ SETTINGS COMPLETED";
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - plugged).count();
  worker.stop();
  ASSERT_TRUE(completed);
  std::printf("plug-in to READ SETTINGS COMPLETED: %lld ms\n", static_cast<long long>(ms));
  RecordProperty("plug_in_to_read_completed_ms", static_cast<int>(ms));
  // Worst case: an STM32 turn just missed (3 ticks), then open and probe.
  EXPECT_LT(ms, 5 * LinkWorker::kDefaultPeriodMs);
  EXPECT_EQ(host.text(ctl::FirmwareVersion), "D.01.03.05");
}

// The ESC plugged in at several offsets into the monitor's three-tick cycle,
// found through ORX_VIRTUAL_PORTS as the program finds it. Without the plug
// watcher an unlucky offset waits for the NVQ link's turn (up to a cycle)
// and the read completes after 1.5-2 s; with it, about 0.6 s at any offset.
TEST(PlugInTiming, PluggingInAnywhereInTheCycleIsReadWithinASecondOrSo) {
  sim::SimulatedEsc esc{sim::NvqConfig{}};
  ASSERT_TRUE(esc.start()) << esc.error();
  esc.vanish();
  TempDir empty;
  DiscoveryRoots roots{empty.path(), empty.path(), esc.virtualPort()};
  DeviceSession session(noPort(), systemPortOpener(roots));
  WorkerHost host;
  Monitor monitor(session, host);
  LinkWorker worker([&] { monitor.tick(); });
  PlugWatcher watcher({kCp210xId, kStm32Id}, [&](size_t index) {
    monitor.deviceAppeared(index == 0 ? EscLinks::kCp210x : EscLinks::kStm32);
    worker.tickNow();
  }, roots);
  host.worker = &worker;
  host.session = &session;
  worker.start();
  ASSERT_TRUE(watcher.start());
  for (int offsetMs : {0, 400, 800, 1200}) {
    std::this_thread::sleep_for(std::chrono::milliseconds(offsetMs));
    const auto plugged = Clock::now();
    ASSERT_TRUE(esc.plugBack());
    const bool read = waitFor([&] { return host.status() == "READ SETTINGS COMPLETED"; }, std::chrono::seconds(5));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - plugged).count();
    EXPECT_TRUE(read) << "offset " << offsetMs;
    // Generous: the figure itself is orx-bench's.
    EXPECT_LT(ms, 1400) << "offset " << offsetMs;
    esc.vanish();
    EXPECT_TRUE(waitFor([&] { return host.text(ctl::FirmwareVersion).empty(); }, std::chrono::seconds(5)));
    host.shared.update([](DialogState& s) { s.setText(ctl::StatusLine, ""); });
  }
  watcher.stop();
  worker.stop();
}

}  // namespace
}  // namespace orx::test
